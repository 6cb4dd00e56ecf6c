#include "app/plotview.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPointer>
#include <QPolygonF>
#include <QRectF>

#include <algorithm>
#include <array>
#include <cmath>

namespace plotview {
namespace {

// Marks on a legend that placeLegendClear moved beside the axis rect, with what it changed:
// whether the right margin was automatic, and how wide it was.
const char *const kBeside = "plotview_beside";
const char *const kRightWasAuto = "plotview_rightWasAuto";
const char *const kAutoRight = "plotview_autoRight";
// The full title the page gave the value axis, and what this module left on the axis.
const char *const kTitle = "plotview_title";
const char *const kShownLabel = "plotview_shownLabel";
// The ranges the page set, and the ones keepTextsInside widened them to.
const char *const kSetRanges = "plotview_setRanges";
const char *const kFitRanges = "plotview_fitRanges";
// The column beside the axis rect that holds a legend, how its legend was last fitted (beside,
// width, wrap), and the object that keeps a plot's layout.
const char *const kSide = "plotview_legendSide";
const char *const kFit = "plotview_legendFit";
const char *const kArrangement = "plotview_arrangement";
// A legend beside the axes leaves them at least this share of the plot's width.
constexpr double kAxisShare = 0.6;

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

} // namespace

QString unitOf(const QString &title)
{
    const QString text = title.trimmed();
    // Walked from the end, each closing bracket waits for its own opening one; the group ends
    // where the last closing bracket finds its partner.
    QString awaited;
    for (int i = text.size() - 1; i >= 0; --i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char(']') || c == QLatin1Char(')')) {
            awaited.append(c == QLatin1Char(']') ? QLatin1Char('[') : QLatin1Char('('));
        } else if (c == QLatin1Char('[') || c == QLatin1Char('(')) {
            if (awaited.isEmpty() || awaited.back() != c) return QString();
            awaited.chop(1);
            if (awaited.isEmpty()) return text.mid(i);
        } else if (awaited.isEmpty()) {
            return QString(); // the title does not end in a bracket
        }
    }
    return QString();
}

namespace {

// The inner corner of the main axis rect where a legend box of `size` covers the least of the
// drawn curves, and how much it covers there; the legend's current corner (it is the inset's
// element `index`) wins a tie. `extra` widens the axis rect by what a legend beside it takes
// from it now, so the corners are judged as they will be once the legend is inside.
Qt::Alignment clearestCorner(QCustomPlot *plot, int index, QSize size, int extra, double *cover)
{
    QCPAxisRect *rect = plot->axisRect();
    QCPLayoutInset *inset = rect->insetLayout();
    const QRect area = rect->rect();
    const QRect insetArea = inset->rect();
    const double stretch = double(area.width() + extra) / std::max(1, area.width());
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

    std::array<double, 4> covered{};
    for (int i = 0; i < plot->plottableCount(); ++i) {
        QCPAbstractPlottable *p = plot->plottable(i);
        if (!p->visible() || !p->keyAxis() || p->keyAxis()->axisRect() != rect) continue;
        QPolygonF path = pixelPath(p);
        for (QPointF &point : path)
            point.setX(area.left() + (point.x() - area.left()) * stretch);
        countCover(path, boxes, covered);
    }

    const Qt::Alignment current = inset->insetAlignment(index);
    int best = -1;
    for (int c = 0; c < 4; ++c)
        if (corners[c] == current) best = c;
    for (int c = 0; c < 4; ++c)
        if (best < 0 || covered[c] < covered[best]) best = c;
    *cover = covered[best];
    return corners[best];
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
            rect->setAutoMargins(rect->autoMargins() | QCP::msTop);
            layout->remove(line);
            layout->simplify();
        }
        return;
    }
    const QString unit = unitOf(title);
    axis->setLabel(unit);
    plot->setProperty(kShownLabel, unit);
    // The title line gives the top tick label its room; the axis rect needs no margin for it.
    // Only the top is this function's: a legend beside the axes holds the right margin.
    rect->setAutoMargins(rect->autoMargins() & ~QCP::msTop);
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
        if (legend->property(kRightWasAuto).toBool())
            rect->setAutoMargins(rect->autoMargins() | QCP::msRight);
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
    double cover = 0;
    const Qt::Alignment best = clearestCorner(plot, index, size, extra, &cover);

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
    if (cover > 0 && fitsBeside) {
        if (!beside) {
            legend->setProperty(kBeside, true);
            legend->setProperty(kRightWasAuto, bool(rect->autoMargins() & QCP::msRight));
            legend->setProperty(kAutoRight, rect->margins().right());
        }
        QMargins margins = rect->margins();
        margins.setRight(legend->property(kAutoRight).toInt() + room);
        rect->setAutoMargins(rect->autoMargins() & ~QCP::msRight);
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
    inset->setInsetAlignment(index, best);
}

namespace {

// Widens the axes so that each text item clipped to the axis rect stands whole inside it.
void fitTextsInside(QCustomPlot *plot, int margin)
{
    QCPAxis *x = plot->xAxis;
    QCPAxis *y = plot->yAxis;
    const auto ranges = [&] {
        return QVariantList{x->range().lower, x->range().upper, y->range().lower, y->range().upper};
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
            const QRectF box =
                QRectF(text->topLeft->pixelPosition(), text->bottomRight->pixelPosition())
                    .normalized();
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
}

// The column beside the axis rect that legendBesideAxes made for the legend.
QCPLayoutGrid *sideOf(QCustomPlot *plot)
{
    QCPLayoutGrid *layout = plot->plotLayout();
    for (int i = 0; i < layout->elementCount(); ++i)
        if (auto *side = qobject_cast<QCPLayoutGrid *>(layout->elementAt(i)))
            if (side->objectName() == QLatin1String(kSide)) return side;
    return nullptr;
}

// The height of one row of the legend. An entry is clipped to its box, and at larger fonts the
// underscore of "C_LOAD" lies below the font's descent.
int legendRowHeight(QCPLegend *legend)
{
    int height = 0;
    for (int k = 0; k < legend->itemCount(); ++k)
        if (QCPAbstractLegendItem *item = legend->item(k)) { // wrapped: cells may be empty
            item->setMargins(QMargins(0, 0, 0, 2));
            height = std::max(height, item->minimumOuterSizeHint().height());
        }
    return height > 0 ? height + legend->rowSpacing() : 0;
}

// Wraps the legend into as many columns as it needs to stand within `height` pixels.
void wrapTo(QCPLegend *legend, int height)
{
    const int row = legendRowHeight(legend);
    const QMargins frame = legend->margins();
    const int room = height - frame.top() - frame.bottom() + legend->rowSpacing();
    legend->setWrap(row > 0 ? std::max(1, room / row) : 0);
    legend->setFillOrder(QCPLayoutGrid::foRowsFirst, true);
}

void setWidth(QCPLayoutElement *element, int minimum, int maximum)
{
    element->setMinimumSize(minimum, element->minimumSize().height());
    element->setMaximumSize(maximum, element->maximumSize().height());
}

// Takes the legend out of whichever layout holds it: the column beside the axes, the axis
// rect's inset (undoing what placeLegendClear did to the margins), or a row of the plot's own
// layout, which goes with it.
void detachLegend(QCustomPlot *plot)
{
    QCPLegend *legend = plot->legend;
    QCPLayout *holder = legend->layout();
    if (!holder) return;
    QCPAxisRect *rect = plot->axisRect();
    if (holder == rect->insetLayout() && legend->property(kBeside).toBool()) {
        if (legend->property(kRightWasAuto).toBool())
            rect->setAutoMargins(rect->autoMargins() | QCP::msRight);
        legend->setProperty(kBeside, false);
    }
    holder->take(legend);
    if (holder == plot->plotLayout()) plot->plotLayout()->simplify();
}

void putBeside(QCustomPlot *plot, QCPLayoutGrid *side)
{
    QCPLegend *legend = plot->legend;
    if (legend->layout() == side) return;
    detachLegend(plot);
    side->addElement(0, 0, legend);
    legend->setSizeConstraintRect(QCPLayoutElement::scrOuterRect);
}

// Puts the legend inside the axis rect, wrapped to its height, in the corner where it hides
// no curve; false, with the legend left there, when every corner hides one.
bool putInClearCorner(QCustomPlot *plot)
{
    QCPLegend *legend = plot->legend;
    QCPLayoutInset *inset = plot->axisRect()->insetLayout();
    if (legend->layout() != inset) {
        detachLegend(plot);
        inset->addElement(legend, Qt::AlignRight | Qt::AlignTop);
    }
    layOut(plot);
    wrapTo(legend, inset->rect().height());
    layOut(plot);
    int index = 0;
    while (index < inset->elementCount() && inset->elementAt(index) != legend)
        ++index;
    double cover = 0;
    const Qt::Alignment corner =
        clearestCorner(plot, index, legend->minimumOuterSizeHint(), 0, &cover);
    inset->setInsetPlacement(index, QCPLayoutInset::ipBorderAligned);
    inset->setInsetAlignment(index, corner);
    return cover == 0;
}

// Puts the legend in a row of its own above the axis rect, in as many columns as its width
// holds: it takes some of the plot's height, none of its width, and hides no curve.
void putAbove(QCustomPlot *plot)
{
    QCPLegend *legend = plot->legend;
    QCPLayoutGrid *layout = plot->plotLayout();
    detachLegend(plot);
    for (int r = 0; r < layout->rowCount(); ++r)
        for (int c = 0; c < layout->columnCount(); ++c)
            if (layout->element(r, c) == plot->axisRect()) {
                layout->insertRow(r);
                layout->addElement(r, c, legend);
                layout->setRowStretchFactor(r, 0.001);
                r = layout->rowCount();
                break;
            }
    const int room = plot->axisRect()->outerRect().width();
    int columns = std::max(1, legend->itemCount());
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst, true);
    for (; columns > 1; --columns) {
        legend->setWrap(columns);
        if (legend->minimumOuterSizeHint().width() <= room) break;
    }
    legend->setWrap(columns);
}

// Sizes the legends of plots drawn one above the other (see keepLegendsBesideAxes) from the
// room each plot has now, while it is shown. `drawing` is the plot about to be drawn; the
// others are drawn again when their legends change.
void fitBesideGroup(const QList<QPointer<QCustomPlot>> &group, QCustomPlot *drawing)
{
    struct Member
    {
        QCustomPlot *plot;
        QCPLayoutGrid *side;
        bool fitted; // shown, with a legend to show
    };
    QVector<Member> members;
    int width = 0;
    for (const QPointer<QCustomPlot> &plot : group) {
        QCPLayoutGrid *side = plot ? sideOf(plot) : nullptr;
        if (!side) continue;
        QCPLegend *legend = plot->legend;
        legend->setMinimumSize(0, 0);
        legend->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        side->setMinimumSize(0, 0);
        side->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        // A plot on a hidden tab has the size it last had, or none if it was never shown: the
        // room it will have is known only once it shows, and then it is drawn again.
        const bool fitted = plot->isVisible() && legend->visible() && legend->itemCount() > 0;
        members.push_back({plot, side, fitted});
        if (!fitted) continue;
        putBeside(plot, side);
        layOut(plot);
        wrapTo(legend, side->rect().height());
        width = std::max(width, legend->minimumOuterSizeHint().width());
    }
    // Beside the axes, all as wide as the widest so that the key axes line up, while every axis
    // rect keeps its share of its plot; else inside each axis rect, in its clearest corner.
    bool beside = true;
    for (const Member &m : qAsConst(members)) {
        if (!m.fitted) continue;
        setWidth(m.plot->legend, width, width);
        setWidth(m.side, width, width);
        layOut(m.plot);
        if (m.plot->axisRect()->width() < kAxisShare * m.plot->viewport().width()) beside = false;
    }
    for (const Member &m : qAsConst(members)) {
        QCPLegend *legend = m.plot->legend;
        const QVariantList before = m.plot->property(kFit).toList();
        if (m.fitted && !beside) {
            setWidth(legend, 0, QWIDGETSIZE_MAX);
            setWidth(m.side, 0, 0);
            if (!putInClearCorner(m.plot)) putAbove(m.plot);
        } else if (!m.fitted) {
            // A legend that is hidden, or whose room is not known yet, waits beside the axes
            // and takes no room from them nor from the window.
            putBeside(m.plot, m.side);
            setWidth(legend, 1, 1);
            setWidth(m.side, 0, 0);
            legend->setMinimumSize(1, 1);
        }
        const QVariantList after{QVariant::fromValue<void *>(legend->layout()),
                                 legend->minimumSize().width(), legend->wrap()};
        if (after == before) continue;
        m.plot->setProperty(kFit, after);
        m.plot->updateGeometry(); // the widget's minimum size follows its legend's
        if (m.plot != drawing) m.plot->replot(QCustomPlot::rpQueuedReplot);
    }
}

// What the module keeps up for one plot, all done in one pass before each drawing, in the
// order each step needs: the ranges first (the tick labels follow them), then the value
// axis's title (it sets the axis rect's top), then the legend on the layout these make.
// Each step owns its side of the axis rect's margins: the title the top, a legend the right.
class Arrangement : public QObject
{
public:
    static Arrangement *of(QCustomPlot *plot)
    {
        for (QObject *child : plot->children())
            if (child->objectName() == QLatin1String(kArrangement))
                if (auto *found = dynamic_cast<Arrangement *>(child)) return found;
        return new Arrangement(plot);
    }

    bool textsInside = false;
    int textMargin = 3;
    bool valueTitle = false;
    bool legendClear = false;
    QList<QPointer<QCustomPlot>> besideGroup;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Shown at last: the legends beside the axes learn the room they have.
        if (watched == plot && event->type() == QEvent::Show && !besideGroup.isEmpty())
            plot->replot(QCustomPlot::rpQueuedReplot);
        return false;
    }

private:
    explicit Arrangement(QCustomPlot *owner) : QObject(owner), plot(owner)
    {
        setObjectName(QLatin1String(kArrangement));
        connect(plot, &QCustomPlot::beforeReplot, this, &Arrangement::beforeDrawing);
        connect(plot, &QCustomPlot::afterReplot, this, &Arrangement::afterDrawing);
        plot->installEventFilter(this);
    }

    void beforeDrawing()
    {
        if (textsInside) fitTextsInside(plot, textMargin);
        if (valueTitle) fitValueTitle(plot);
        tickedHeight = plot->axisRect()->height();
        if (legendClear) {
            // The plot lays itself out only after this signal: judge the corners on the layout
            // this drawing will have (the widget's size, the new ranges' tick labels), not on
            // the last one, which at the first showing or after a resize is another size.
            layOut(plot);
            placeLegendClear(plot);
        }
        if (!besideGroup.isEmpty()) fitBesideGroup(besideGroup, plot);
    }

    void afterDrawing()
    {
        // Tickers that space their ticks by the axis rect's height chose them for the last
        // layout; when this drawing's layout gave it another height, one more drawing spaces
        // them anew.
        if (valueTitle && plot->axisRect()->height() != tickedHeight)
            plot->replot(QCustomPlot::rpQueuedReplot);
    }

    QCustomPlot *plot;
    int tickedHeight = -1;
};

} // namespace

void keepLegendClear(QCustomPlot *plot)
{
    Arrangement::of(plot)->legendClear = true;
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
    if (row < 0 || sideOf(plot)) return;
    if (!rect->insetLayout()->take(legend)) return;
    rect->insetLayout()->simplify();

    // The legend at the top of its column, the spare height below it.
    auto *side = new QCPLayoutGrid;
    side->setObjectName(QLatin1String(kSide));
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

void keepLegendsBesideAxes(const QList<QCustomPlot *> &plots)
{
    QList<QPointer<QCustomPlot>> group;
    for (QCustomPlot *plot : plots)
        group << plot;
    for (QCustomPlot *plot : plots)
        Arrangement::of(plot)->besideGroup = group;
}

void keepValueTitleReadable(QCustomPlot *plot)
{
    Arrangement::of(plot)->valueTitle = true;
}

void keepTextsInside(QCustomPlot *plot, int margin)
{
    Arrangement *arrangement = Arrangement::of(plot);
    arrangement->textsInside = true;
    arrangement->textMargin = margin;
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
