#include "schematic/picturescale.h"

#include <qcustomplot.h>

#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace schem {

namespace {

const char *const kDrawing = "schem_pictureDrawing";
const char *const kLineUnits = "schem_pictureLineUnits";
const char *const kFitting = "schem_pictureFitting";

// A line of text in the plot's font scaled to `points`, in pixels. Asked at each layout of a
// few plots with one or two fonts: the answers are kept.
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

// Fits the ranges and text sizes to the axis rect as just laid out.
void fitPicture(QCustomPlot *plot)
{
    const QRectF drawing = plot->property(kDrawing).toRectF();
    const double lineUnits = plot->property(kLineUnits).toDouble();
    const QRect area = plot->axisRect()->rect();
    if (drawing.isEmpty() || lineUnits <= 0 || area.width() < 2 || area.height() < 2) return;

    const double perUnit =
        std::min(area.width() / drawing.width(), area.height() / drawing.height());

    // The room the texts need at their smallest size, with what the plot shows about its axis
    // rect (a title) in the layout just made. Asked for once this drawing is done: a size change
    // now would lay the plot out again while it draws.
    const double smallest = lineHeight(plot->font(), kSmallestTextPoints) / lineUnits;
    const QSize room = QSize(int(std::ceil(drawing.width() * smallest)),
                             int(std::ceil(drawing.height() * smallest))) +
                       (plot->viewport().size() - area.size()).expandedTo(QSize(0, 0));
    if (room != plot->minimumSize())
        QMetaObject::invokeMethod(
            plot, [plot, room] { plot->setMinimumSize(room); }, Qt::QueuedConnection);

    const QPointF c = drawing.center();
    const double halfX = area.width() / perUnit / 2, halfY = area.height() / perUnit / 2;
    plot->xAxis->setRange(c.x() - halfX, c.x() + halfX);
    plot->yAxis->setRange(c.y() - halfY, c.y() + halfY);

    // The plot's own font is the largest a text takes; the drawing's line the tallest.
    const QFont base = plot->font();
    const double basePoints = base.pointSizeF() > 0 ? base.pointSizeF() : 10;
    const double fits = basePoints * lineUnits * perUnit / lineHeight(base, basePoints);
    const double points = std::max(kSmallestTextPoints, std::min(basePoints, fits));
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || std::abs(text->font().pointSizeF() - points) < 0.01) continue;
        QFont f = text->font();
        f.setPointSizeF(points);
        text->setFont(f);
        text->setSelectedFont(f);
    }
}

} // namespace

void showAsPicture(QCustomPlot *plot, const QRectF &drawing, double lineUnits)
{
    if (!plot) return;
    plot->setProperty(kDrawing, drawing);
    plot->setProperty(kLineUnits, lineUnits);
    if (!plot->property(kFitting).toBool()) {
        plot->setProperty(kFitting, true);
        QObject::connect(plot, &QCustomPlot::afterLayout, plot, [plot] { fitPicture(plot); });
    }
}

} // namespace schem
