#include "schematic/schematicstroke.h"

#include "schematic/editorgeometry.h"

#include <cmath>

SchematicStroke::SchematicStroke(QCPAxis *keyAxis, QCPAxis *valueAxis)
    : QCPGraph(keyAxis, valueAxis)
{
    setSelectable(QCP::stNone);
    // Thinning assumes ascending keys; strokes are short anyway.
    setAdaptiveSampling(false);
}

double SchematicStroke::selectTest(const QPointF &, bool, QVariant *) const
{
    return -1;
}

namespace {

bool inDomain(double v, QCP::SignDomain domain)
{
    return domain == QCP::sdBoth || (domain == QCP::sdPositive && v > 0) ||
           (domain == QCP::sdNegative && v < 0);
}

} // namespace

// The base class reads the key range off the first and last point, which holds only for sorted
// data; a stroke's extent has to be found by looking at every point.
QCPRange SchematicStroke::getKeyRange(bool &foundRange, QCP::SignDomain inSignDomain) const
{
    QCPRange range;
    foundRange = false;
    for (auto it = mDataContainer->constBegin(); it != mDataContainer->constEnd(); ++it) {
        if (!std::isfinite(it->key) || !inDomain(it->key, inSignDomain)) continue;
        if (!foundRange) {
            range = QCPRange(it->key, it->key);
            foundRange = true;
        } else {
            range.expand(it->key);
        }
    }
    return range;
}

QCPRange SchematicStroke::getValueRange(bool &foundRange, QCP::SignDomain inSignDomain,
                                        const QCPRange &inKeyRange) const
{
    const bool restrictKeys = inKeyRange != QCPRange();
    QCPRange range;
    foundRange = false;
    for (auto it = mDataContainer->constBegin(); it != mDataContainer->constEnd(); ++it) {
        if (restrictKeys && !inKeyRange.contains(it->key)) continue;
        if (!std::isfinite(it->value) || !inDomain(it->value, inSignDomain)) continue;
        if (!foundRange) {
            range = QCPRange(it->value, it->value);
            foundRange = true;
        } else {
            range.expand(it->value);
        }
    }
    return range;
}

void SchematicStroke::draw(QCPPainter *painter)
{
    if (!mKeyAxis || !mValueAxis || mDataContainer->isEmpty() || lineStyle() == lsNone) return;
    if (mPen.style() == Qt::NoPen || mPen.color().alpha() == 0) return;

    QVector<QPointF> points;
    points.reserve(mDataContainer->size());
    for (auto it = mDataContainer->constBegin(); it != mDataContainer->constEnd(); ++it)
        points.append(coordsToPixels(it->key, it->value));

    // Far outside the canvas (deep zoom) the painter's fixed-point rasteriser overflows, so such
    // strokes are cut to the canvas segment by segment; the rest keep their joins.
    const QRect canvas = clipRect();
    const int margin = 10000;
    const QRectF safe = QRectF(canvas).adjusted(-margin, -margin, margin, margin);
    bool farOut = false;
    for (const QPointF &p : points) {
        if (!safe.contains(p)) {
            farOut = true;
            break;
        }
    }

    painter->setPen(mPen);
    painter->setBrush(Qt::NoBrush);
    applyDefaultAntialiasingHint(painter);
    if (!farOut) {
        if (points.size() == 1)
            painter->drawPoint(points.first());
        else
            painter->drawPolyline(points.constData(), points.size());
        return;
    }
    const int w = schem::clampToInt(mPen.widthF()) + 1;
    const QRect widened = canvas.adjusted(-w, -w, w, w);
    for (int i = 1; i < points.size(); ++i) {
        if (!std::isfinite(points[i - 1].x()) || !std::isfinite(points[i - 1].y()) ||
            !std::isfinite(points[i].x()) || !std::isfinite(points[i].y()))
            continue;
        const QLineF part = schem::clipLineToRect(points[i - 1], points[i], widened);
        if (!part.isNull()) painter->drawLine(part);
    }
}

namespace schem {

QCPGraph *addStroke(QCustomPlot *plot, const QPen &pen, const Stroke &stroke)
{
    if (!plot || !plot->xAxis || !plot->yAxis) return nullptr;
    auto *graph = new SchematicStroke(plot->xAxis, plot->yAxis);
    graph->setPen(pen);
    QVector<double> keys, values;
    keys.reserve(stroke.size());
    values.reserve(stroke.size());
    for (const QPointF &p : stroke) {
        keys.append(p.x());
        values.append(p.y());
    }
    // Already sorted, as far as the container is concerned: the drawing order is the point order.
    graph->setData(keys, values, true);
    return graph;
}

void addFigure(QCustomPlot *plot, const QPen &pen, const Figure &figure)
{
    if (!plot) return;
    const int number = plot->property(kFigureNumber).toInt() + 1;
    plot->setProperty(kFigureNumber, number);
    for (const Stroke &s : figure)
        if (QCPGraph *graph = addStroke(plot, pen, s)) graph->setProperty(kFigureNumber, number);
}

} // namespace schem
