#include "app/plotlegend.h"

#include "app/objectrecord.h"

#include <QPointer>
#include <QPolygonF>
#include <QRectF>

#include <algorithm>
#include <array>
#include <cmath>

namespace plotview {
namespace detail {
namespace {

// What the rule keeps of a plot between fittings, dropped with the plot.
struct LegendState
{
    static LegendState &of(QCustomPlot *plot) { return objectrecord::recordOf<LegendState>(plot); }

    // How a legend stands: where, how large it may be, its wrap and its text size. A change
    // moves the widget's minimum size and the other plots of the group.
    struct Fit
    {
        const QCPLayout *holder = nullptr;
        QSize least, most;
        int wrap = 0;
        double points = 0;
        bool operator==(const Fit &o) const
        {
            return holder == o.holder && least == o.least && most == o.most && wrap == o.wrap &&
                   points == o.points;
        }
    };

    // The column beside the axis rect that holds a legend beside the axes, once made.
    QPointer<QCPLayoutGrid> side;
    // The font and icon size the page gave the legend, kept before the rule first changes them.
    bool pageLookKept = false;
    QFont pageFont;
    QSize pageIcon;
    Fit fit;
};

// A legend inside the axis rect covers at most this share of it; a legend never leaves the axis
// rect less than this share of the plot's height (the share beside is in the header).
constexpr double kCoverShare = 0.25;
constexpr double kHeightShare = 0.4;
// Where no place keeps those bounds, the legend's text gets smaller, down to this size, before
// any bound gives way: every entry stays.
constexpr double kFloorPoints = 7;
// The stretch of a row or column that holds a legend in the plot's grid: it takes the room its
// wrapped entries need before the axes take the rest, and asks for no more than its largest
// entry (see leastSize).
constexpr double kGreedy = 1000;

// The curve as pixel points, in drawing order; points off the axes' range still count for
// the segments that cross into view.
QPolygonF pixelPath(QCPAbstractPlottable *plottable)
{
    QPolygonF path;
    const QCPAxis *key = plottable->keyAxis();
    const QCPAxis *value = plottable->valueAxis();
    if (!key || !value) return path;
    auto add = [&](double k, double v) {
        if (!std::isfinite(k) || !std::isfinite(v)) return;
        const double x = key->coordToPixel(k);
        const double y = value->coordToPixel(v);
        if (std::isfinite(x) && std::isfinite(y))
            path << (key->orientation() == Qt::Horizontal ? QPointF(x, y) : QPointF(y, x));
    };
    if (auto *graph = qobject_cast<QCPGraph *>(plottable)) {
        for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
            add(it->key, it->value);
    } else if (auto *curve = qobject_cast<QCPCurve *>(plottable)) {
        for (auto it = curve->data()->constBegin(); it != curve->data()->constEnd(); ++it)
            add(it->key, it->value);
    }
    return path;
}

// How much of the path lies in each box: samples every few pixels along each segment, so a
// straight line with only two points weighs as much as a densely sampled one.
void countCover(const QPolygonF &path, const std::array<QRectF, 4> &boxes,
                std::array<double, 4> &cover)
{
    constexpr double step = 3.0;
    for (int i = 0; i < path.size(); ++i) {
        const QPointF a = path[i];
        const QPointF b = i + 1 < path.size() ? path[i + 1] : a;
        const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
        // A curve far off scale has pixel coordinates without bound: the count is taken in
        // double, where an infinite or undefined length is only many samples or one.
        const double wanted = length / step;
        const int samples = wanted >= 2000 ? 2000 : (wanted >= 1 ? int(wanted) : 1);
        for (int s = 0; s < samples; ++s) {
            const QPointF p = a + (b - a) * (double(s) / samples);
            for (int c = 0; c < 4; ++c)
                if (boxes[c].contains(p)) cover[c] += 1;
        }
    }
}

// The inner corner of the main axis rect where a legend box of `size` covers the least of the
// drawn curves; the legend's current corner (it is the inset's element `index`) wins a tie.
Qt::Alignment clearestCorner(QCustomPlot *plot, int index, QSize size)
{
    QCPAxisRect *rect = plot->axisRect();
    QCPLayoutInset *inset = rect->insetLayout();
    const QRectF corner = inset->rect();
    const std::array<Qt::Alignment, 4> corners = {
        Qt::AlignRight | Qt::AlignTop, Qt::AlignLeft | Qt::AlignTop,
        Qt::AlignRight | Qt::AlignBottom, Qt::AlignLeft | Qt::AlignBottom};
    std::array<QRectF, 4> boxes;
    for (int c = 0; c < 4; ++c) {
        const double x =
            (corners[c] & Qt::AlignLeft) ? corner.left() : corner.right() - size.width();
        const double y =
            (corners[c] & Qt::AlignTop) ? corner.top() : corner.bottom() - size.height();
        boxes[c] = QRectF(x, y, size.width(), size.height());
    }
    std::array<double, 4> covered{};
    for (int i = 0; i < plot->plottableCount(); ++i) {
        QCPAbstractPlottable *p = plot->plottable(i);
        if (!p->visible() || !p->keyAxis() || p->keyAxis()->axisRect() != rect) continue;
        countCover(pixelPath(p), boxes, covered);
    }
    const Qt::Alignment current = inset->insetAlignment(index);
    int best = -1;
    for (int c = 0; c < 4; ++c)
        if (corners[c] == current) best = c;
    for (int c = 0; c < 4; ++c)
        if (best < 0 || covered[c] < covered[best]) best = c;
    return corners[best];
}

// The cell of the grid that holds `element`; false when none does. Only filled cells are
// asked, for asking an empty one is an error to the library.
bool cellOf(QCPLayoutGrid *grid, QCPLayoutElement *element, int *row, int *column)
{
    for (int i = 0; i < grid->elementCount(); ++i)
        if (grid->elementAt(i) == element) {
            grid->indexToRowCol(i, *row, *column);
            return true;
        }
    return false;
}

// The column beside the axis rect that holds a legend beside the axes: made at the first
// need, level with the top of the axes, the spare height below the legend.
QCPLayoutGrid *sideColumn(QCustomPlot *plot)
{
    LegendState *state = &LegendState::of(plot);
    if (state->side) return state->side;
    QCPLayoutGrid *layout = plot->plotLayout();
    QCPAxisRect *rect = plot->axisRect();
    int row = 0, column = 0;
    cellOf(layout, rect, &row, &column);
    auto *side = new QCPLayoutGrid;
    state->side = side;
    layout->addElement(row, column + 1, side);
    side->addElement(1, 0, new QCPLayoutElement(plot));
    side->setRowSpacing(0);
    side->setRowStretchFactor(0, kGreedy);
    side->setRowStretchFactor(1, 1);
    auto *top = new QCPMarginGroup(plot);
    rect->setMarginGroup(QCP::msTop, top);
    side->setMarginGroup(QCP::msTop, top);
    side->setMargins(QMargins(0, 0, 6, 3)); // the legend's frame clear of the widget's edges
    side->setAutoMargins(QCP::msTop);
    side->setMaximumSize(0, QWIDGETSIZE_MAX);
    layout->setColumnStretchFactor(column + 1, kGreedy);
    return side;
}

void setWidth(QCPLayoutElement *element, int minimum, int maximum)
{
    element->setMinimumSize(minimum, element->minimumSize().height());
    element->setMaximumSize(maximum, element->maximumSize().height());
}

// The least room a legend in the plot's grid asks for, and so what it adds to the widget's
// minimum size: its largest entry in the legend's frame. Wrapped, it needs more, and gets it
// by its stretch where the widget has the room; were the wrapped size the minimum, the size
// the legend was last wrapped to would hold the widget at that size for good.
QSize leastSize(QCPLegend *legend)
{
    QSize entry(0, 0);
    for (int k = 0; k < legend->elementCount(); ++k)
        if (auto *item = qobject_cast<QCPAbstractLegendItem *>(legend->elementAt(k)))
            entry = entry.expandedTo(item->minimumOuterSizeHint());
    const QMargins frame = legend->margins();
    return entry + QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

// The legend's outer size between `least` and `most`.
void bound(QCPLegend *legend, QSize least, QSize most)
{
    legend->setSizeConstraintRect(QCPLayoutElement::scrOuterRect);
    legend->setMinimumSize(least);
    legend->setMaximumSize(most);
}

// Lays the legend's entries out in `order`, wrapped at the largest count (from all its entries
// down to one) for which `fits` holds of its size.
template <typename Fits>
void wrapLargest(QCPLegend *legend, QCPLayoutGrid::FillOrder order, Fits fits)
{
    int entries = 0;
    for (int k = 0; k < legend->elementCount(); ++k)
        if (qobject_cast<QCPAbstractLegendItem *>(legend->elementAt(k))) ++entries;
    legend->setFillOrder(order, false);
    int wrap = std::max(1, entries);
    for (; wrap > 1; --wrap) {
        legend->setWrap(wrap);
        legend->setFillOrder(order, true);
        if (fits(legend->minimumOuterSizeHint())) break;
    }
    legend->setWrap(wrap);
    legend->setFillOrder(order, true);
}

// Wraps the legend into the fewest columns that let it stand within `height` pixels, or into
// one row where even that is too high. An entry is clipped to its box, and at larger fonts the
// underscore of "C_LOAD" lies below the font's descent, hence the margin below each entry.
void wrapTo(QCPLegend *legend, int height)
{
    for (int k = 0; k < legend->elementCount(); ++k)
        if (auto *item = qobject_cast<QCPAbstractLegendItem *>(legend->elementAt(k)))
            item->setMargins(QMargins(0, 0, 0, 2));
    wrapLargest(legend, QCPLayoutGrid::foRowsFirst,
                [height](QSize size) { return size.height() <= height; });
}

// Takes the legend out of whichever layout holds it (a row of the plot's own layout goes with
// it) and gives back the width the column beside the axes held for it.
void release(QCustomPlot *plot)
{
    QCPLegend *legend = plot->legend;
    bound(legend, QSize(0, 0), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QCPLayoutGrid *side = sideColumn(plot);
    setWidth(side, 0, 0);
    QCPLayout *holder = legend->layout();
    if (!holder) return;
    holder->take(legend);
    if (holder == plot->plotLayout()) plot->plotLayout()->simplify();
}

// Beside the axes, wrapped to the height from the top of the axes to the foot of the widget;
// the width it needs.
int putBeside(QCustomPlot *plot)
{
    QCPLegend *legend = plot->legend;
    QCPLayoutGrid *side = sideColumn(plot);
    if (legend->layout() != side) {
        release(plot);
        side->addElement(0, 0, legend);
    }
    bound(legend, leastSize(legend), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    setWidth(side, 0, QWIDGETSIZE_MAX);
    legend->setBrush(Qt::white);
    layOut(plot);
    wrapTo(legend, side->rect().height());
    return legend->minimumOuterSizeHint().width();
}

// Beside the axes, `width` wide: true when the axes keep their share of the width and the
// legend stands whole in its column.
bool besideKeepsRoom(QCustomPlot *plot, int width)
{
    QCPLegend *legend = plot->legend;
    QCPLayoutGrid *side = sideColumn(plot);
    const QSize least = leastSize(legend);
    const QSize wrapped = legend->minimumOuterSizeHint();
    bound(legend, least, QSize(width, wrapped.height()));
    setWidth(side, least.width(), width);
    layOut(plot);
    return plot->axisRect()->width() >= kWidthShare * plot->viewport().width() &&
           wrapped.height() <= side->rect().height();
}

// Inside the axis rect, wrapped to its height, in the corner with the least of the curves, on
// a brush the curves show through. `bound` is the largest share of the axis rect it may cover;
// false when it covers more or does not fit.
bool putInside(QCustomPlot *plot, double bound)
{
    QCPLegend *legend = plot->legend;
    QCPLayoutInset *inset = plot->axisRect()->insetLayout();
    if (legend->layout() != inset) {
        release(plot);
        inset->addElement(legend, Qt::AlignRight | Qt::AlignTop);
    }
    layOut(plot);
    wrapTo(legend, inset->rect().height());
    int index = 0;
    while (index < inset->elementCount() && inset->elementAt(index) != legend)
        ++index;
    const QSize size = legend->minimumOuterSizeHint();
    const QRect area = inset->rect();
    inset->setInsetPlacement(index, QCPLayoutInset::ipBorderAligned);
    inset->setInsetAlignment(index, clearestCorner(plot, index, size));
    legend->setBrush(QColor(255, 255, 255, 200));
    return size.width() <= area.width() && size.height() <= area.height() &&
           double(size.width()) * size.height() <= bound * area.width() * area.height();
}

// In rows above the axis rect, in as many columns as its width holds: true when the axes keep
// their share of the plot's height.
bool putAbove(QCustomPlot *plot)
{
    QCPLegend *legend = plot->legend;
    QCPLayoutGrid *layout = plot->plotLayout();
    release(plot);
    int row = 0, column = 0;
    if (cellOf(layout, plot->axisRect(), &row, &column)) {
        layout->insertRow(row);
        layout->addElement(row, column, legend);
        layout->setRowStretchFactor(row, kGreedy);
    }
    legend->setBrush(Qt::white);
    const int room = plot->viewport().width();
    wrapLargest(legend, QCPLayoutGrid::foColumnsFirst,
                [room](QSize size) { return size.width() <= room; });
    const QSize wrapped = legend->minimumOuterSizeHint();
    bound(legend, leastSize(legend), QSize(QWIDGETSIZE_MAX, wrapped.height()));
    layOut(plot);
    return plot->axisRect()->height() >= kHeightShare * plot->viewport().height() &&
           wrapped.width() <= room;
}

// The state of the plot, with the font and icon size its page gave the legend kept.
LegendState *withPageLook(QCustomPlot *plot)
{
    LegendState *state = &LegendState::of(plot);
    if (!state->pageLookKept) {
        state->pageLookKept = true;
        state->pageFont = plot->legend->font();
        state->pageIcon = plot->legend->iconSize();
    }
    return state;
}

// The font the page gave the legend at `points`, its icons scaled alike.
void setPoints(QCustomPlot *plot, double points)
{
    QCPLegend *legend = plot->legend;
    const LegendState *state = withPageLook(plot);
    QFont font = state->pageFont;
    const QSize icon = state->pageIcon;
    if (font.pointSizeF() <= 0) return;
    const double scale = points / font.pointSizeF();
    font.setPointSizeF(points);
    if (legend->font() != font) legend->setFont(font);
    legend->setIconSize(QSize(qRound(icon.width() * scale), qRound(icon.height() * scale)));
}

// The sizes the legend's text is tried at: the page's own, then a point smaller each time down
// to the floor.
QVector<double> pointSizes(QCustomPlot *plot)
{
    const double base = withPageLook(plot)->pageFont.pointSizeF();
    QVector<double> sizes{base};
    for (double p = std::floor(base - 0.5); base > 0 && p >= kFloorPoints; p -= 1)
        sizes << p;
    return sizes;
}

} // namespace

void layOut(QCustomPlot *plot)
{
    QCPLayoutGrid *layout = plot->plotLayout();
    layout->setOuterRect(plot->viewport());
    layout->update(QCPLayoutElement::upPreparation);
    layout->update(QCPLayoutElement::upMargins);
    layout->update(QCPLayoutElement::upLayout);
}

void fitLegends(const QList<QPointer<QCustomPlot>> &group, QCustomPlot *drawing)
{
    QVector<QCustomPlot *> live;
    QVector<QCustomPlot *> settled;
    for (const QPointer<QCustomPlot> &plot : group) {
        // A plot not shown has no size to fit to yet; it is fitted as it shows.
        if (!plot || !plot->isVisible() || !plot->legend || !plot->axisRect()) continue;
        settled << plot;
        QCPLegend *legend = plot->legend;
        if (legend->visible() && legend->itemCount() > 0) {
            live << plot;
        } else if (legend->layout() != plot->axisRect()->insetLayout()) {
            release(plot); // a hidden legend takes no room
            plot->axisRect()->insetLayout()->addElement(legend, Qt::AlignRight | Qt::AlignTop);
        }
    }

    // Beside the axes all together, as wide as the widest so that plots drawn one above the
    // other keep their key axes in line; else each inside its axis rect or above it. A smaller
    // text comes before any bound is given up.
    QVector<bool> placed(live.size(), false);
    const auto allPlaced = [&] {
        return std::find(placed.cbegin(), placed.cend(), false) == placed.cend();
    };
    bool besideTogether = true;
    const QVector<double> sizes = live.isEmpty() ? QVector<double>() : pointSizes(live.first());
    for (double points : sizes) {
        for (int i = 0; i < live.size(); ++i)
            if (!placed[i]) setPoints(live[i], points);
        if (besideTogether) {
            int width = 0;
            for (QCustomPlot *plot : qAsConst(live))
                width = std::max(width, putBeside(plot));
            bool fits = true;
            for (QCustomPlot *plot : qAsConst(live))
                fits = besideKeepsRoom(plot, width) && fits;
            if (fits) {
                placed.fill(true);
                break;
            }
        }
        for (int i = 0; i < live.size(); ++i) {
            if (placed[i]) continue;
            placed[i] = putInside(live[i], kCoverShare) || putAbove(live[i]);
            if (placed[i]) besideTogether = false;
        }
        if (allPlaced()) break;
    }
    // Nowhere within the bounds even at the smallest text: inside the axis rect where it fits
    // there, else above where the axes keep their height, else beside on its own.
    for (int i = 0; i < live.size(); ++i) {
        if (placed[i]) continue;
        QCustomPlot *plot = live[i];
        if (!putInside(plot, 1.0) && !putAbove(plot)) {
            const int width = putBeside(plot);
            besideKeepsRoom(plot, width);
        }
    }

    for (QCustomPlot *plot : qAsConst(settled)) {
        QCPLegend *legend = plot->legend;
        LegendState *state = &LegendState::of(plot);
        const LegendState::Fit now{legend->layout(), legend->minimumSize(), legend->maximumSize(),
                                   legend->wrap(), legend->font().pointSizeF()};
        if (now == state->fit) continue;
        state->fit = now;
        plot->updateGeometry(); // the widget's minimum size follows its legend's
        if (plot != drawing) plot->replot(QCustomPlot::rpQueuedReplot);
    }
}

} // namespace detail
} // namespace plotview
