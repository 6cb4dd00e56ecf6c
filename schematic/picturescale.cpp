#include "schematic/picturescale.h"

#include "app/objectrecord.h"

#include <qcustomplot.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QHash>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace schem {

using objectrecord::findRecord;
using objectrecord::recordOf;

namespace {

enum class View { None, Page, Picture };

// What a plot drawn to scale keeps from one layout to the next.
struct PlotScale
{
    View view = View::None;
    double textUnits = 0;     // plot units: an em of text (Page) or a line of it (Picture)
    QRectF picture;           // the box the view is fitted to (Picture)
    double pixelsPerUnit = 0; // as last laid out
    void (*place)(QCustomPlot *) = nullptr;
    bool hooked = false;
    bool waitsToBeShown = false; // laid out while hidden, with work left for when it is shown
};

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

// The pixels a text at `points` takes in the height its plot units are counted in.
double textPixels(const PlotScale &s, const QCustomPlot *plot, double points)
{
    if (s.view == View::Picture) return lineHeight(plot->font(), points);
    const double dpi = plot->logicalDpiY() > 0 ? plot->logicalDpiY() : 96;
    return points * dpi / 72;
}

// The box, in plot units, whose fit in the axis rect sets the scale.
QRectF scaledBox(const PlotScale &s, const QCustomPlot *plot)
{
    if (s.view == View::Picture) return s.picture;
    const QCPRange x = plot->xAxis->range(), y = plot->yAxis->range();
    return QRectF(x.lower, y.lower, x.size(), y.size());
}

void setTextPoints(QCustomPlot *plot, double points)
{
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
}

// The room that holds the drawing with its texts at the least size they are read at, with
// what the plot shows about its axis rect (a title) in the layout just made: the viewport's,
// which a hidden plot's pending resize has not yet changed. A plot smaller than that is resized:
// not while it draws, which would leave this drawing at the old size.
void askForRoom(QCustomPlot *plot, const PlotScale &s, const QRectF &box)
{
    const double least = textPixels(s, plot, kLeastTextPoints) / s.textUnits;
    // Bounded before it becomes pixels: no screen asks for more than a million of them.
    const auto pixels = [](double v) { return int(std::ceil(v >= 0 ? std::min(v, 1e6) : 0.0)); };
    const QSize need =
        QSize(pixels(box.width() * least), pixels(box.height() * least)) +
        (plot->viewport().size() - plot->axisRect()->rect().size()).expandedTo(QSize(0, 0));
    if (plot->minimumSize() == need) return;
    if (plot->width() >= need.width() && plot->height() >= need.height())
        plot->setMinimumSize(need);
    else
        QMetaObject::invokeMethod(
            plot, [plot, need] { plot->setMinimumSize(need); }, Qt::QueuedConnection);
}

// Scales a plot whose layout is current.
void applyScale(QCustomPlot *plot, PlotScale &s)
{
    QCPAxisRect *rect = plot->axisRect();
    if (!rect || rect->width() < 2 || rect->height() < 2) return;
    const QRectF box = scaledBox(s, plot);
    if (!(s.textUnits > 0) || !std::isfinite(s.textUnits) || box.isEmpty()) return;

    // A drawing stretched one way gives its texts room that way: they follow the other.
    const double perUnit = std::min(rect->width() / box.width(), rect->height() / box.height());
    if (!(perUnit > 0) || !std::isfinite(perUnit)) return;
    s.pixelsPerUnit = perUnit;
    const double basePoints = plot->font().pointSizeF() > 0 ? plot->font().pointSizeF() : 10;
    double points = basePoints * s.textUnits * perUnit / textPixels(s, plot, basePoints);
    if (s.view == View::Picture) {
        const QPointF c = box.center();
        const double halfX = rect->width() / perUnit / 2, halfY = rect->height() / perUnit / 2;
        plot->xAxis->setRange(c.x() - halfX, c.x() + halfX);
        plot->yAxis->setRange(c.y() - halfY, c.y() + halfY);
        points = std::min(points, basePoints);
    }
    // A tenth of a point is finer than any font renders, and keeps a layout at the same size
    // from reading as changed.
    setTextPoints(plot, std::round(std::max(kLeastTextPoints, points) * 10) / 10);
    askForRoom(plot, s, box);
}

// The plot's one layout hook: its texts take the size the scale gives them, then its labels are
// placed at that size.
void atEachLayout(QCustomPlot *plot)
{
    PlotScale &s = recordOf<PlotScale>(plot);
    const bool hidden = plot->parentWidget() && !plot->isVisible();
    s.waitsToBeShown = hidden && (s.view == View::Page || s.place);
    if (!hidden || s.view == View::Picture) applyScale(plot, s);
    if (!hidden && s.place) s.place(plot);
}

// Lays out again, as it is shown, a plot whose layout waited while it was hidden.
class ShownPlotWatcher : public QObject
{
public:
    using QObject::QObject;

    static ShownPlotWatcher *instance()
    {
        static QPointer<ShownPlotWatcher> watcher;
        if (!watcher) watcher = new ShownPlotWatcher(QCoreApplication::instance());
        return watcher;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show) return false;
        const PlotScale *s = findRecord<PlotScale>(watched);
        if (s && s->waitsToBeShown)
            if (auto *plot = qobject_cast<QCustomPlot *>(watched)) plot->replot();
        return false;
    }
};

PlotScale &hooked(QCustomPlot *plot)
{
    PlotScale &s = recordOf<PlotScale>(plot);
    if (!s.hooked) {
        s.hooked = true;
        QObject::connect(plot, &QCustomPlot::afterLayout, plot, [plot] { atEachLayout(plot); });
        plot->installEventFilter(ShownPlotWatcher::instance());
    }
    return s;
}

} // namespace

void scaleTextsToPageView(QCustomPlot *plot, double em)
{
    if (!plot || !(em > 0) || !std::isfinite(em)) return;
    PlotScale &s = hooked(plot);
    s.view = View::Page;
    s.textUnits = em;
}

void fitViewToPicture(QCustomPlot *plot, const QRectF &drawing, double lineUnits)
{
    if (!plot || drawing.isEmpty() || !(lineUnits > 0) || !std::isfinite(lineUnits)) return;
    PlotScale &s = hooked(plot);
    s.view = View::Picture;
    s.picture = drawing;
    s.textUnits = lineUnits;
}

QRectF textBoxInUnits(const QCPItemText *text, double lineUnits)
{
    const QFontMetricsF metrics(text->parentPlot()->font());
    // Small sizes round glyphs up to whole pixels: a text at 7 pt is a little wider, for its
    // height, than at the plot's own size.
    const double perPixel = metrics.height() > 0 ? lineUnits / metrics.height() * 1.1 : 0;
    const QRectF r =
        metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), int(text->textAlignment()), text->text());
    const double w = r.width() * perPixel, h = r.height() * perPixel;
    const QPointF at = text->position->coords();
    const Qt::Alignment a = text->positionAlignment();
    const double x0 = at.x() - ((a & Qt::AlignLeft) ? 0 : (a & Qt::AlignRight) ? w : w / 2);
    const double y0 = at.y() - ((a & Qt::AlignTop) ? h : (a & Qt::AlignBottom) ? 0 : h / 2);
    return QRectF(x0, y0, w, h);
}

QRectF drawnBox(const QCustomPlot *plot, double lineUnits)
{
    if (!plot) return QRectF();
    // QRectF's union leaves out a rectangle of no size: a point is one.
    double left = qInf(), right = -qInf(), bottom = qInf(), top = -qInf();
    const auto add = [&](double x0, double y0, double x1, double y1) {
        if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
            return;
        left = std::min(left, x0);
        right = std::max(right, x1);
        bottom = std::min(bottom, y0);
        top = std::max(top, y1);
    };
    for (int g = 0; g < plot->graphCount(); ++g) {
        const QCPGraph *graph = plot->graph(g);
        for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
            add(it->key, it->value, it->key, it->value);
    }
    for (int i = 0; i < plot->itemCount(); ++i) {
        const auto *text = qobject_cast<const QCPItemText *>(plot->item(i));
        if (!text || !text->visible() || text->position->type() != QCPItemPosition::ptPlotCoords)
            continue;
        const QRectF r = textBoxInUnits(text, lineUnits);
        add(r.left(), r.top(), r.right(), r.bottom());
    }
    return left <= right && bottom <= top ? QRectF(left, bottom, right - left, top - bottom)
                                          : QRectF();
}

void placeAfterScaling(QCustomPlot *plot, void (*place)(QCustomPlot *))
{
    if (plot) hooked(plot).place = place;
}

double pixelsPerUnit(const QCustomPlot *plot)
{
    const PlotScale *s = plot ? findRecord<PlotScale>(plot) : nullptr;
    return s ? s->pixelsPerUnit : 0;
}

} // namespace schem
