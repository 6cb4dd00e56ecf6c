#include "schematic/component2.h"

#include "schematic/editorgeometry.h"

namespace {

QPen schematicPen(const QColor &colour)
{
    return QPen(QBrush(colour), 3.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

component2::component2(QCustomPlot *parentPlot)
    : QCPAbstractItem(parentPlot), start(createPosition(QStringLiteral("start"))),
      end(createPosition(QStringLiteral("end"))), center(createPosition(QStringLiteral("center"))),
      pen(schematicPen(Qt::black)), selectedPen(schematicPen(Qt::blue))
{
    component2::moveCenterTo(0, 0);
    showValue(true);
    showLabel(false);
}

QPen component2::mainPen() const
{
    return selected() ? selectedPen : pen;
}

double component2::selectTest(const QPointF &pos, bool onlySelectable, QVariant *) const
{
    if (onlySelectable && !selectable()) return -1;
    return schem::distanceToSegment(pos, start->pixelPosition(), end->pixelPosition());
}

void component2::moveCenterTo(double x, double y)
{
    const double half = length / 2;
    center->setCoords(x, y);
    if (horizontal) {
        start->setCoords(x - half, y);
        end->setCoords(x + half, y);
    } else {
        start->setCoords(x, y + half);
        end->setCoords(x, y - half);
    }
}

void component2::moveStartTo(double x, double y)
{
    if (horizontal)
        moveCenterTo(x + length / 2, y);
    else
        moveCenterTo(x, y - length / 2);
}

void component2::moveEndTo(double x, double y)
{
    if (horizontal)
        moveCenterTo(x - length / 2, y);
    else
        moveCenterTo(x, y + length / 2);
}

void component2::showValue(bool show)
{
    if (show == valueVisible) return;
    if (show) {
        valueText = new QCPItemText(parentPlot());
        valueText->setText(value);
        valueText->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        valueVisible = true;
        const QPointF c = center->coords();
        moveCenterTo(c.x(), c.y());
    } else {
        if (valueText) parentPlot()->removeItem(valueText);
        valueText = nullptr;
        valueVisible = false;
    }
}

void component2::showLabel(bool show)
{
    if (show == labelVisible) return;
    if (show) {
        labelText = new QCPItemText(parentPlot());
        labelText->setText(label);
        labelText->setPositionAlignment(Qt::AlignRight | Qt::AlignTop);
        labelVisible = true;
        const QPointF c = center->coords();
        moveCenterTo(c.x(), c.y());
    } else {
        if (labelText) parentPlot()->removeItem(labelText);
        labelText = nullptr;
        labelVisible = false;
    }
}

void component2::setValue(const QString &text)
{
    value = text;
    if (valueText) valueText->setText(text);
}

void component2::setLabel(const QString &text)
{
    label = text;
    if (labelText) labelText->setText(text);
}

void component2::placeTexts(const QPointF &valuePos, const QPointF &labelPos)
{
    if (valueVisible && valueText) valueText->position->setCoords(valuePos);
    if (labelVisible && labelText) labelText->position->setCoords(labelPos);
}

void component2::removeComponent()
{
    showValue(false);
    showLabel(false);
    parentPlot()->removeItem(this);
}

void component2::drawClippedLine(QCPPainter *painter, const QPointF &a, const QPointF &b) const
{
    const int w = schem::clampToInt(mainPen().widthF());
    const QRect clip = clipRect().adjusted(-w, -w, w, w);
    const QLineF line = schem::clipLineToRect(a, b, clip);
    if (!line.isNull()) painter->drawLine(line);
}

void component2::draw(QCPPainter *painter)
{
    const QPointF a = start->pixelPosition();
    const QPointF b = end->pixelPosition();
    if (schem::roundedPixel(a) == schem::roundedPixel(b)) return;
    painter->setPen(mainPen());
    drawClippedLine(painter, a, b);
}

cornerComponent::cornerComponent(QCustomPlot *parentPlot, const Layout &layout)
    : component2(parentPlot), C1(createPosition(QStringLiteral("C1"))),
      C2(createPosition(QStringLiteral("C2"))), C3(createPosition(QStringLiteral("C3"))),
      C4(createPosition(QStringLiteral("C4"))), C5(createPosition(QStringLiteral("C5"))),
      C6(createPosition(QStringLiteral("C6"))), layout(layout)
{
}

void cornerComponent::moveCenterTo(double x, double y)
{
    component2::moveCenterTo(x, y);
    const auto at = [this, x, y](const Offset &o) {
        const double dx = length * o.dx / o.over;
        const double dy = length * o.dy / o.over;
        return horizontal ? QPointF(x + dx, y + dy) : QPointF(x + dy, y - dx);
    };
    QCPItemPosition *const corners[] = {C1, C2, C3, C4, C5, C6};
    for (int i = 0; i < 6; ++i)
        corners[i]->setCoords(at(layout[i]));
    placeTexts(at(layout[6]), at(layout[7]));
}
