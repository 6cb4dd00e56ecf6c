#include "app/plotview.h"

#include <QFontMetrics>
#include <QPolygonF>
#include <QRegularExpression>
#include <QRectF>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace plotview {
namespace {

// Marks on a legend that placeLegendClear moved beside the axis rect, with what it changed.
const char *const kBeside = "plotview_beside";
const char *const kAutoMargins = "plotview_autoMargins";
const char *const kAutoRight = "plotview_autoRight";
const char *const kKept = "plotview_kept";
// The full title the page gave the value axis, what this module left on the axis, and the
// mark of a plot already watched.
const char *const kTitle = "plotview_title";
const char *const kShownLabel = "plotview_shownLabel";
const char *const kTitleKept = "plotview_titleKept";
// The ranges the page set, and the ones keepTextsInside widened them to.
const char *const kTextsKept = "plotview_textsKept";
const char *const kSetRanges = "plotview_setRanges";
const char *const kFitRanges = "plotview_fitRanges";

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
        const int samples = std::min(2000, std::max(1, int(length / step)));
        for (int s = 0; s < samples; ++s) {
            const QPointF p = a + (b - a) * (double(s) / samples);
            for (int c = 0; c < 4; ++c)
                if (boxes[c].contains(p)) cover[c] += 1;
        }
    }
}

// The unit at the end of a title: "[A]" of "A Line Current [A]"; empty when it has none.
QString unitOf(const QString &title)
{
    static const QRegularExpression unit(QStringLiteral("\\s*([\\[(][^\\[(]*[\\])])$"));
    const QRegularExpressionMatch m = unit.match(title);
    return m.hasMatch() ? m.captured(1) : QString();
}

QCPTextElement *titleLine(QCustomPlot *plot)
{
    QCPLayoutGrid *layout = plot->plotLayout();
    for (int i = 0; i < layout->elementCount(); ++i)
        if (auto *line = qobject_cast<QCPTextElement *>(layout->elementAt(i)))
            if (line->objectName() == QLatin1String(valueTitleLineName())) return line;
    return nullptr;
}

void fitValueTitle(QCustomPlot *plot)
{
    QCPAxis *axis = plot->yAxis;
    QCPAxisRect *rect = axis->axisRect();
    QCPLayoutGrid *layout = plot->plotLayout();
    // A label other than the one left here is a new title from the page.
    if (axis->label() != plot->property(kShownLabel).toString())
        plot->setProperty(kTitle, axis->label());
    const QString title = plot->property(kTitle).toString();
    QCPTextElement *line = titleLine(plot);
    // Judged on the axis rect as it is: with the title line shown it is shorter than it would
    // be without, so a title that fits now fits once the line goes, and one that does not fit
    // without the line keeps it; no size flips between the two.
    if (QFontMetrics(axis->labelFont()).horizontalAdvance(title) <= rect->height()) {
        axis->setLabel(title);
        plot->setProperty(kShownLabel, title);
        if (line) {
            rect->setAutoMargins(QCP::msAll);
            layout->remove(line);
            layout->simplify();
        }
        return;
    }
    const QString unit = unitOf(title);
    axis->setLabel(unit);
    plot->setProperty(kShownLabel, unit);
    // The title line gives the top tick label its room; the axis rect needs no margin for it.
    rect->setAutoMargins(QCP::msLeft | QCP::msRight | QCP::msBottom);
    QMargins margins = rect->margins();
    margins.setTop(2);
    rect->setMargins(margins);
    if (!line) {
        layout->insertRow(0);
        layout->setRowSpacing(0);
        line = new QCPTextElement(plot);
        line->setObjectName(QLatin1String(valueTitleLineName()));
        line->setMargins(QMargins(0, 1, 0, 0));
        layout->addElement(0, 0, line);
    }
    line->setFont(axis->tickLabelFont());
    line->setText(title);
}

void layOut(QCustomPlot *plot)
{
    QCPLayoutGrid *layout = plot->plotLayout();
    layout->setOuterRect(plot->viewport());
    layout->update(QCPLayoutElement::upPreparation);
    layout->update(QCPLayoutElement::upMargins);
    layout->update(QCPLayoutElement::upLayout);
}

} // namespace

void placeLegendClear(QCustomPlot *plot)
{
    QCPAxisRect *rect = plot->axisRect();
    QCPLegend *legend = plot->legend;
    if (!rect || !legend) return;
    QCPLayoutInset *inset = rect->insetLayout();
    int index = -1;
    for (int i = 0; i < inset->elementCount(); ++i)
        if (inset->elementAt(i) == legend) index = i;
    if (index < 0) return;
    // A legend a page placed freely is the page's business; one this function put beside the
    // axis rect is marked so.
    const bool beside = legend->property(kBeside).toBool();
    const auto moveInside = [&] {
        if (!beside) return;
        rect->setAutoMargins(QCP::MarginSides(legend->property(kAutoMargins).toInt()));
        legend->setProperty(kBeside, false);
        inset->setInsetPlacement(index, QCPLayoutInset::ipBorderAligned);
    };
    if (!legend->visible()) {
        moveInside(); // a hidden legend takes no room
        return;
    }
    if (!beside && inset->insetPlacement(index) != QCPLayoutInset::ipBorderAligned) return;

    const QRect area = rect->rect();
    const QRect insetArea = inset->rect();
    const QSize size = legend->minimumOuterSizeHint();
    if (area.isEmpty() || insetArea.isEmpty() || size.isEmpty()) return;
    // Judge the corners on the axis rect as wide as it is with the legend inside it: `extra` is
    // what the legend beside it takes from it now.
    const int extra =
        beside ? std::max(0, rect->margins().right() - legend->property(kAutoRight).toInt()) : 0;
    const double stretch = double(area.width() + extra) / area.width();
    const QRectF corner(insetArea.left(), insetArea.top(), insetArea.width() + extra,
                        insetArea.height());

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

    std::array<double, 4> cover{};
    for (int i = 0; i < plot->plottableCount(); ++i) {
        QCPAbstractPlottable *p = plot->plottable(i);
        if (!p->visible() || !p->keyAxis() || p->keyAxis()->axisRect() != rect) continue;
        QPolygonF path = pixelPath(p);
        for (QPointF &point : path)
            point.setX(area.left() + (point.x() - area.left()) * stretch);
        countCover(path, boxes, cover);
    }

    const Qt::Alignment current = inset->insetAlignment(index);
    int best = -1;
    for (int c = 0; c < 4; ++c)
        if (corners[c] == current) best = c;
    for (int c = 0; c < 4; ++c)
        if (best < 0 || cover[c] < cover[best]) best = c;

    // Every inner corner hides some curve: the legend goes beside the axis rect, on its right,
    // where the plot is wide enough to spare the room. The gap keeps it clear of the last
    // tick label, which stands half outside the axis rect.
    const QCPAxis *keyAxis = rect->axis(QCPAxis::atBottom);
    const QFontMetrics tickFont(keyAxis->tickLabelFont());
    int lastTick = 0;
    for (const QString &label : keyAxis->tickVectorLabels())
        lastTick = std::max(lastTick, tickFont.horizontalAdvance(label));
    const int gap = lastTick / 2 + 6;
    const int room = size.width() + gap + 4;
    const bool fitsBeside = room <= (area.width() + extra) / 3 &&
                            size.height() <= area.height() + rect->margins().bottom();
    if (cover[best] > 0 && fitsBeside) {
        if (!beside) {
            legend->setProperty(kBeside, true);
            legend->setProperty(kAutoMargins, int(rect->autoMargins()));
            legend->setProperty(kAutoRight, rect->margins().right());
        }
        QMargins margins = rect->margins();
        margins.setRight(legend->property(kAutoRight).toInt() + room);
        rect->setAutoMargins(QCP::MarginSides(legend->property(kAutoMargins).toInt()) &
                             ~QCP::msRight);
        rect->setMargins(margins);
        // The inset's fractions refer to its own area as the coming layout will make it: the
        // axis rect narrowed by the room, less the inset's margins.
        const QMargins im = inset->margins();
        const double axisWidth = area.width() + extra - room;
        const double width = axisWidth - im.left() - im.right();
        const double height = insetArea.height();
        inset->setInsetPlacement(index, QCPLayoutInset::ipFree);
        inset->setInsetRect(index, QRectF((axisWidth + gap - im.left()) / width, -im.top() / height,
                                          size.width() / width, size.height() / height));
        return;
    }
    moveInside();
    inset->setInsetAlignment(index, corners[best]);
}

void keepLegendClear(QCustomPlot *plot)
{
    // Pages set their plots up again on a change of mode; one watcher is enough.
    if (plot->property(kKept).toBool()) return;
    plot->setProperty(kKept, true);
    QObject::connect(plot, &QCustomPlot::beforeReplot, plot, [plot] {
        // The plot lays itself out only after this signal: judge the corners on the layout
        // this drawing will have (the widget's size, the new ranges' tick labels), not on the
        // last one, which at the first showing or after a resize is another size altogether.
        layOut(plot);
        placeLegendClear(plot);
    });
}

void legendBesideAxes(QCustomPlot *plot)
{
    QCPLegend *legend = plot->legend;
    QCPAxisRect *rect = plot->axisRect();
    if (!legend || !rect) return;
    QCPLayoutGrid *layout = plot->plotLayout();
    int row = -1, column = -1;
    for (int r = 0; r < layout->rowCount(); ++r)
        for (int c = 0; c < layout->columnCount(); ++c)
            if (layout->element(r, c) == rect) {
                row = r;
                column = c;
            }
    if (row < 0) return;
    if (!rect->insetLayout()->take(legend)) return;
    rect->insetLayout()->simplify();

    // The legend at the top of its column, the spare height below it.
    auto *side = new QCPLayoutGrid;
    layout->addElement(row, column + 1, side);
    side->addElement(0, 0, legend);
    side->addElement(1, 0, new QCPLayoutElement(plot));
    side->setRowSpacing(0);
    side->setRowStretchFactor(0, 0.001);
    side->setRowStretchFactor(1, 1);
    // Level with the top of the axes, whatever the axis rect's top margin becomes.
    auto *top = new QCPMarginGroup(plot);
    rect->setMarginGroup(QCP::msTop, top);
    side->setMarginGroup(QCP::msTop, top);
    side->setMargins(QMargins(0, 0, 6, 0)); // the legend's frame clear of the widget's edge
    side->setAutoMargins(QCP::msTop);
    legend->setSizeConstraintRect(QCPLayoutElement::scrOuterRect);
    layout->setColumnStretchFactor(column + 1, 0.001);
}

void fitLegendsBesideAxes(const QList<QCustomPlot *> &plots)
{
    int width = 0;
    for (QCustomPlot *plot : plots) {
        QCPLegend *legend = plot->legend;
        legend->setMinimumSize(0, 0);
        legend->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (!legend->visible() || legend->itemCount() == 0) continue;
        // An entry is clipped to its box, and at larger fonts the underscore of "C_LOAD" lies
        // below the font's descent.
        int itemHeight = 0;
        for (int k = 0; k < legend->itemCount(); ++k)
            if (QCPAbstractLegendItem *item = legend->item(k)) { // wrapped: cells may be empty
                item->setMargins(QMargins(0, 0, 0, 2));
                itemHeight = std::max(itemHeight, item->minimumOuterSizeHint().height());
            }
        itemHeight += legend->rowSpacing();
        // As many rows as the legend's place held at the last replot, then another column.
        const QCPLayoutElement *place = legend->layout();
        const int height = place ? place->rect().height() : plot->axisRect()->rect().height();
        const QMargins frame = legend->margins();
        const int room = height - frame.top() - frame.bottom() + legend->rowSpacing();
        legend->setWrap(itemHeight > 0 ? std::max(1, room / itemHeight) : 0);
        legend->setFillOrder(QCPLayoutGrid::foRowsFirst, true);
        width = std::max(width, legend->minimumOuterSizeHint().width());
    }
    for (QCustomPlot *plot : plots) {
        // A hidden legend keeps its size in the layout unless it is given none.
        const int own = plot->legend->visible() ? width : 1;
        plot->legend->setMinimumSize(own, 0);
        plot->legend->setMaximumSize(own, QWIDGETSIZE_MAX);
        if (QCPLayoutElement *side = plot->legend->layout()) {
            side->setMinimumSize(width, 0);
            side->setMaximumSize(std::max(width, 1), QWIDGETSIZE_MAX);
        }
    }
}

void keepValueTitleReadable(QCustomPlot *plot)
{
    if (plot->property(kTitleKept).toBool()) return;
    plot->setProperty(kTitleKept, true);
    // Tickers that space their ticks by the axis rect's height chose them for the last layout;
    // when this drawing's layout gave it another height, one more drawing spaces them anew.
    const auto tickedHeight = std::make_shared<int>(-1);
    QObject::connect(plot, &QCustomPlot::beforeReplot, plot, [plot, tickedHeight] {
        fitValueTitle(plot);
        *tickedHeight = plot->axisRect()->height();
    });
    QObject::connect(plot, &QCustomPlot::afterReplot, plot, [plot, tickedHeight] {
        if (plot->axisRect()->height() != *tickedHeight) plot->replot(QCustomPlot::rpQueuedReplot);
    });
}

void keepTextsInside(QCustomPlot *plot, int margin)
{
    if (plot->property(kTextsKept).toBool()) return;
    plot->setProperty(kTextsKept, true);
    QObject::connect(plot, &QCustomPlot::beforeReplot, plot, [plot, margin] {
        QCPAxis *x = plot->xAxis;
        QCPAxis *y = plot->yAxis;
        const auto ranges = [&] {
            return QVariantList{x->range().lower, x->range().upper, y->range().lower,
                                y->range().upper};
        };
        // Ranges still as this widened them were set by the page as the stored ones: start from
        // those, so that a larger plot gives the room back.
        const QVariantList set = plot->property(kSetRanges).toList();
        if (set.size() == 4 && ranges() == plot->property(kFitRanges).toList()) {
            x->setRange(set[0].toDouble(), set[1].toDouble());
            y->setRange(set[2].toDouble(), set[3].toDouble());
        }
        plot->setProperty(kSetRanges, ranges());
        layOut(plot);
        const QRectF area = QRectF(plot->axisRect()->rect()).adjusted(margin, margin, -margin, -margin);
        // A text keeps its size in pixels while the range grows around it, so a few rounds
        // close in on the range where all fit.
        for (int round = 0; round < 4 && area.width() > 0 && area.height() > 0; ++round) {
            double left = 0, right = 0, top = 0, bottom = 0;
            for (int i = 0; i < plot->itemCount(); ++i) {
                auto *text = qobject_cast<QCPItemText *>(plot->item(i));
                if (!text || !text->visible() || !text->clipToAxisRect() || text->text().isEmpty())
                    continue;
                const QRectF box = QRectF(text->topLeft->pixelPosition(),
                                          text->bottomRight->pixelPosition()).normalized();
                left = std::max(left, area.left() - box.left());
                right = std::max(right, box.right() - area.right());
                top = std::max(top, area.top() - box.top());
                bottom = std::max(bottom, box.bottom() - area.bottom());
            }
            if (left + right + top + bottom < 0.5) break;
            const double perX = x->range().size() / area.width();
            const double perY = y->range().size() / area.height();
            const bool xUp = !x->rangeReversed(), yUp = y->rangeReversed();
            x->setRange(x->range().lower - (xUp ? left : right) * perX,
                        x->range().upper + (xUp ? right : left) * perX);
            y->setRange(y->range().lower - (yUp ? top : bottom) * perY,
                        y->range().upper + (yUp ? bottom : top) * perY);
        }
        plot->setProperty(kFitRanges, ranges());
    });
}

void padRange(QCPAxis *axis, double share)
{
    const QCPRange r = axis->range();
    if (axis->scaleType() == QCPAxis::stLogarithmic) {
        if (r.lower <= 0 || r.upper <= 0) return;
        const double pad = std::pow(r.upper / r.lower, share);
        axis->setRange(r.lower / pad, r.upper * pad);
        return;
    }
    const double pad = r.size() * share;
    if (pad > 0 && std::isfinite(pad)) axis->setRange(r.lower - pad, r.upper + pad);
}

} // namespace plotview
