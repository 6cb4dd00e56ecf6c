#pragma once

#include <qcustomplot.h>

#include <QPen>
#include <QPointer>
#include <QString>

#include <array>

// A two-terminal component of the schematic editor: a straight lead from start to end, 400
// units long, horizontal or vertical, with its value (and on request its label) shown as text
// items of the same plot beside it. resistor and capacitor draw their symbols over the same
// terminals. The item registers itself with its plot, which owns it; removeComponent() is the
// one way to take it off again together with its texts.
class component2 : public QCPAbstractItem
{
    Q_OBJECT
    Q_PROPERTY(QPen pen READ getPen WRITE setPen)
    Q_PROPERTY(QPen selectedPen READ getSelectedPen WRITE setSelectedPen)

public:
    explicit component2(QCustomPlot *parentPlot);

    QCPItemPosition *const start;
    QCPItemPosition *const end;
    QCPItemPosition *const center;

    // Guarded: the plot may destroy the texts first when it is cleared or torn down.
    QPointer<QCPItemText> labelText;
    QPointer<QCPItemText> valueText;
    QString value = QStringLiteral("1");
    QString label = QStringLiteral("X");
    bool valueVisible = false;
    bool labelVisible = false;
    bool horizontal = true;
    double length = 400.0;

    QPen getPen() const { return pen; }
    QPen getSelectedPen() const { return selectedPen; }
    void setPen(const QPen &p) { pen = p; }
    void setSelectedPen(const QPen &p) { selectedPen = p; }
    QPen mainPen() const;

    double selectTest(const QPointF &pos, bool onlySelectable,
                      QVariant *details = nullptr) const override;

    // A subclass that draws more than the lead overrides moveCenterTo only: the ends are placed
    // through it.
    virtual void moveCenterTo(double x, double y);
    virtual void moveStartTo(double x, double y);
    virtual void moveEndTo(double x, double y);

    void showValue(bool show);
    void showLabel(bool show);
    void setValue(const QString &text);
    void setLabel(const QString &text);

    // The "Change Value & Label" dialog. When the user deletes the component from it, the
    // component is gone when this returns: the caller must not use its pointer afterwards (hold
    // it in a QPointer to find out).
    void editComponentDialog();

public slots:
    void removeComponent();

protected:
    void draw(QCPPainter *painter) override;

    // Paints the segment a-b in the current pen, cut to the canvas widened by the pen width;
    // nothing when no part of it is visible.
    void drawClippedLine(QCPPainter *painter, const QPointF &a, const QPointF &b) const;
    // Places the shown texts at their offsets from the centre (same for every component).
    void placeTexts(const QPointF &valuePos, const QPointF &labelPos);

    QPen pen;
    QPen selectedPen;
};

// A component whose symbol is drawn through six corner points between its terminals: the
// zigzag of a resistor, the leads and plates of a capacitor. A subclass gives the corners' and
// texts' places and draws the symbol.
class cornerComponent : public component2
{
    Q_OBJECT

public:
    QCPItemPosition *const C1;
    QCPItemPosition *const C2;
    QCPItemPosition *const C3;
    QCPItemPosition *const C4;
    QCPItemPosition *const C5;
    QCPItemPosition *const C6;

    void moveCenterTo(double x, double y) override;

protected:
    // An offset from the centre of the horizontal symbol, (dx, dy) / over times its length;
    // the upright symbol is the horizontal one turned, (dx, dy) becoming (dy, -dx).
    struct Offset
    {
        int dx, dy, over;
    };
    // The six corners in order, then the value text and the label text.
    using Layout = std::array<Offset, 8>;

    cornerComponent(QCustomPlot *parentPlot, const Layout &layout);

private:
    Layout layout;
};
