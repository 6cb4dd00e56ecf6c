#include "schematic/picturescale.h"

#include <qcustomplot.h>

#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace schem {

namespace {

const char *const kEm = "schem_em";
const char *const kLineUnits = "schem_lineUnits";
const char *const kDrawing = "schem_drawing";
const char *const kScaled = "schem_scaled";
const char *const kPixelsPerUnit = "schem_pixelsPerUnit";

// A line of text in `font` at `points`, in pixels. Asked at each layout of a few plots with one
// or two fonts: the answers are kept.
double lineHeight(const QFont &font, double points)
{
    static QHash<QString, double> known;
    const QString key = font.key() + QLatin1Char('@') + QString::number(points);
    auto it = known.constFind(key);
    if (it != known.constEnd()) return *it;
    QFont f(font);
    f.setPointSizeF(points);
    return known[key] = QFontMetricsF(f).height();
}

void scaleAtEachLayout(QCustomPlot *plot)
{
    if (plot->property(kScaled).toBool()) return;
    plot->setProperty(kScaled, true);
    QObject::connect(plot, &QCustomPlot::afterLayout, plot, [plot] { scaleToDrawing(plot); });
}

} // namespace

void drawToScale(QCustomPlot *plot, double em)
{
    if (!plot || !(em > 0) || !std::isfinite(em)) return;
    // Scaled as its labels are placed (keepLabelsClear), once the plot is shown: a hidden plot's
    // size is not the one it will have, and the room it asked for would hold its window open.
    plot->setProperty(kEm, em);
}

void showAsPicture(QCustomPlot *plot, const QRectF &drawing, double lineUnits)
{
    if (!plot) return;
    plot->setProperty(kDrawing, drawing);
    plot->setProperty(kLineUnits, lineUnits);
    scaleAtEachLayout(plot);
}

double pixelsPerUnit(const QCustomPlot *plot)
{
    return plot ? plot->property(kPixelsPerUnit).toDouble() : 0;
}

void scaleToDrawing(QCustomPlot *plot)
{
    QCPAxisRect *rect = plot ? plot->axisRect() : nullptr;
    if (!rect || rect->width() < 2 || rect->height() < 2) return;
    const QFont base = plot->font();
    const double basePoints = base.pointSizeF() > 0 ? base.pointSizeF() : 10;
    const double dpi = plot->logicalDpiY() > 0 ? plot->logicalDpiY() : 96;

    // The drawing's extent, and the height its texts take in plot units: their em, or a line of
    // them. What that height is in pixels for a text of `points`:
    QRectF drawing = plot->property(kDrawing).toRectF();
    const bool picture = !drawing.isEmpty();
    const double height = plot->property(picture ? kLineUnits : kEm).toDouble();
    const auto pixelsOf = [&](double points) {
        return picture ? lineHeight(base, points) : points * dpi / 72;
    };
    if (!picture)
        drawing = QRectF(plot->xAxis->range().lower, plot->yAxis->range().lower,
                         plot->xAxis->range().size(), plot->yAxis->range().size());
    if (!(height > 0) || !std::isfinite(height) || drawing.isEmpty()) return;

    // A drawing stretched one way gives its texts room that way: they follow the other.
    const double s = std::min(rect->width() / drawing.width(), rect->height() / drawing.height());
    if (!(s > 0) || !std::isfinite(s)) return;
    plot->setProperty(kPixelsPerUnit, s);
    if (picture) {
        const QPointF c = drawing.center();
        const double halfX = rect->width() / s / 2, halfY = rect->height() / s / 2;
        plot->xAxis->setRange(c.x() - halfX, c.x() + halfX);
        plot->yAxis->setRange(c.y() - halfY, c.y() + halfY);
    }

    // A tenth of a point is finer than any font renders, and keeps a layout at the same size
    // from reading as changed.
    double points = basePoints * height * s / pixelsOf(basePoints);
    if (picture) points = std::min(points, basePoints);
    points = std::round(std::max(kLeastTextPoints, points) * 10) / 10;
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || text->position->type() != QCPItemPosition::ptPlotCoords) continue;
        QFont font = text->font();
        if (font.pointSizeF() != points) {
            font.setPointSizeF(points);
            text->setFont(font);
        }
        font = text->selectedFont();
        if (font.pointSizeF() != points) {
            font.setPointSizeF(points);
            text->setSelectedFont(font);
        }
    }

    // The room that holds the drawing with its texts at the least size they are read at, with
    // what the plot shows about its axis rect (a title) in the layout just made: the viewport's,
    // which a hidden plot's pending resize has not yet changed. A plot smaller than that is resized:
    // not while it draws, which would leave this drawing at the old size.
    const double least = pixelsOf(kLeastTextPoints) / height;
    // Bounded before it becomes pixels: no screen asks for more than a million of them.
    const auto pixels = [](double v) { return int(std::ceil(v >= 0 ? std::min(v, 1e6) : 0.0)); };
    const QSize need =
        QSize(pixels(drawing.width() * least), pixels(drawing.height() * least)) +
        (plot->viewport().size() - rect->size()).expandedTo(QSize(0, 0));
    if (plot->minimumSize() == need) return;
    if (plot->width() >= need.width() && plot->height() >= need.height())
        plot->setMinimumSize(need);
    else
        QMetaObject::invokeMethod(
            plot, [plot, need] { plot->setMinimumSize(need); }, Qt::QueuedConnection);
}

} // namespace schem
