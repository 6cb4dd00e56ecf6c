#include "canvas.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>

#include <cstdio>
#include <cstdlib>

QString Output::folder;
QStringList Output::written;

QFont sansFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

Canvas::Canvas(const QString &fileName, int width, int height, bool opaque) : name(fileName)
{
    const bool jpeg = fileName.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive);
    image = QImage(width, height,
                   jpeg || opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(jpeg || opaque ? ink::paper : QColor(Qt::transparent));
    painter.begin(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
}

Canvas::~Canvas()
{
    if (!saved) std::fprintf(stderr, "imagegen: %s was drawn but never saved\n", qPrintable(name));
}

void Canvas::save()
{
    painter.end();
    const QString path = QDir(Output::folder).filePath(name);
    const bool jpeg = name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive);
    const bool ok = jpeg ? image.save(path, "JPG", 90) : image.save(path, "PNG");
    if (!ok) {
        std::fprintf(stderr, "imagegen: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    saved = true;
    if (!Output::written.contains(name)) Output::written << name;
}

void drawCentredText(QPainter &p, const QPointF &centre, const QString &text, const QFont &font,
                     const QColor &colour)
{
    const QFontMetricsF fm(font);
    p.save();
    p.setFont(font);
    p.setPen(colour);
    const double w = fm.horizontalAdvance(text);
    p.drawText(QPointF(centre.x() - w / 2, centre.y() + (fm.ascent() - fm.descent()) / 2), text);
    p.restore();
}

void drawIndexedText(QPainter &p, const QPointF &centre, const QString &base, const QString &index,
                     const QFont &font, const QColor &colour)
{
    QFont small = font;
    small.setPixelSize(qMax(6, font.pixelSize() * 2 / 3));
    const QFontMetricsF fm(font), fs(small);
    const double w = fm.horizontalAdvance(base) + fs.horizontalAdvance(index);
    const double baseline = centre.y() + (fm.ascent() - fm.descent()) / 2;
    const double x = centre.x() - w / 2;
    p.save();
    p.setPen(colour);
    p.setFont(font);
    p.drawText(QPointF(x, baseline), base);
    p.setFont(small);
    p.drawText(QPointF(x + fm.horizontalAdvance(base), baseline + fm.ascent() * 0.3), index);
    p.restore();
}
