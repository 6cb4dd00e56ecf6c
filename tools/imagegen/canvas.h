#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

// One palette for every picture, so the set reads as one family: white paper, dark-grey line
// work and shades of one blue. Amber is kept for the warning sign alone.
namespace ink {
const QColor paper(0xff, 0xff, 0xff);
const QColor line(0x33, 0x3a, 0x42);
const QColor grey(0x6b, 0x74, 0x7e);
const QColor faint(0xc9, 0xcf, 0xd6);
const QColor accent(0x1f, 0x5f, 0xae);
const QColor accentDark(0x14, 0x3e, 0x72);
const QColor accentLight(0x6f, 0xa4, 0xde);
const QColor accentPale(0xe3, 0xee, 0xfa);
const QColor warn(0xf2, 0xa9, 0x00);
} // namespace ink

QFont sansFont(int pixelSize, bool bold = false);

// A picture being drawn. JPEG pictures get an opaque white ground; PNG pictures start transparent
// unless asked otherwise. save() writes the file named by the resource path and records it.
class Canvas
{
public:
    Canvas(const QString &fileName, int width, int height, bool opaque = false);
    ~Canvas();
    QPainter &p() { return painter; }
    int width() const { return image.width(); }
    int height() const { return image.height(); }
    void save();

private:
    QString name;
    QImage image;
    QPainter painter;
    bool saved = false;
};

// Where pictures are written, and what has been written so far (for the resource file).
struct Output
{
    static QString folder;
    static QStringList written;
};

// Text helpers: a line of text centred on a point, and text with a lowered index ("R" + "1L").
void drawCentredText(QPainter &p, const QPointF &centre, const QString &text, const QFont &font,
                     const QColor &colour);
void drawIndexedText(QPainter &p, const QPointF &centre, const QString &base, const QString &index,
                     const QFont &font, const QColor &colour);
