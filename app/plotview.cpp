#include "app/plotview.h"

#include "app/objectrecord.h"
#include "app/plotlegend.h"
#include "app/stepticker.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPointer>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace plotview {

using detail::layOut;

namespace {

// What the title and text fitting keep of a plot between drawings, dropped with the plot.
struct FitMemory
{
    // The full title the page gave the value axis, and what this module left on the axis.
    QString title, shownLabel;
    // The key and value ranges the page set, and the ones keepTextsInside widened them to.
    bool fitted = false;
    QCPRange setKey, setValue, fitKey, fitValue;
};
// The object that keeps a plot's layout.
const char *const kArrangement = "plotview_arrangement";

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
    FitMemory &memory = objectrecord::recordOf<FitMemory>(plot);
    // A label other than the one left here is a new title from the page.
    if (axis->label() != memory.shownLabel) memory.title = axis->label();
    const QString title = memory.title;
    QCPTextElement *line = titleLine(plot);
    // Judged on the axis rect as it is: with the title line shown it is shorter than it would
    // be without, so a title that fits now fits once the line goes, and one that does not fit
    // without the line keeps it; no size flips between the two.
    if (QFontMetrics(axis->labelFont()).horizontalAdvance(title) <= rect->height()) {
        axis->setLabel(title);
        memory.shownLabel = title;
        if (line) {
            rect->setAutoMargins(rect->autoMargins() | QCP::msTop);
            layout->remove(line);
            layout->simplify();
        }
        return;
    }
    const QString unit = unitOf(title);
    axis->setLabel(unit);
    memory.shownLabel = unit;
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

// Widens the axes so that each text item clipped to the axis rect stands whole inside it.
void fitTextsInside(QCustomPlot *plot, int margin)
{
    QCPAxis *x = plot->xAxis;
    QCPAxis *y = plot->yAxis;
    FitMemory &memory = objectrecord::recordOf<FitMemory>(plot);
    // Ranges still as this widened them were set by the page as the stored ones: start from
    // those, so that a larger plot gives the room back.
    if (memory.fitted && x->range() == memory.fitKey && y->range() == memory.fitValue) {
        x->setRange(memory.setKey);
        y->setRange(memory.setValue);
    }
    memory.setKey = x->range();
    memory.setValue = y->range();
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
    memory.fitted = true;
    memory.fitKey = x->range();
    memory.fitValue = y->range();
}

// The ticks the axis's ticker gives `range` at the axis's present length.
int labelCount(QCPAxis *axis, const QCPRange &range, QVector<double> *ticks)
{
    const QString format = axis->numberFormat();
    axis->ticker()->generate(range, axis->parentPlot()->locale(),
                             format.isEmpty() ? QLatin1Char('g') : format.at(0),
                             axis->numberPrecision(), *ticks, nullptr, nullptr);
    return ticks->size();
}

// The value axis widened from `set` until its ticker numbers it at least twice: its ends moved
// out to the multiples of a round step (1, 2, 2.5 or 5 times a power of ten), the least step
// that gives two labels. `set` as it is where it has two, or where no step gives them.
QCPRange twoLabelRange(QCPAxis *axis, const QCPRange &set)
{
    QVector<double> ticks;
    const double span = set.size();
    if (labelCount(axis, set, &ticks) >= 2 || !(span > 0) || !std::isfinite(span)) return set;
    double decade = std::pow(10.0, std::floor(std::log10(span / 20)));
    for (int round = 0; round < 6; ++round, decade *= 10) {
        for (const double m : {1.0, 2.0, 2.5, 5.0}) {
            const double step = m * decade;
            // A hair beyond the multiples, so that rounding does not drop the end labels.
            const double hair = 1e-9 * step;
            const QCPRange snapped(std::floor(set.lower / step) * step - hair,
                                   std::ceil(set.upper / step) * step + hair);
            if (labelCount(axis, snapped, &ticks) >= 2) return snapped;
        }
    }
    return set;
}

// What the module keeps up for one plot, all done in one pass before each drawing, in the
// order each step needs: the ranges first (the tick labels follow them), then the value
// axis's title (it sets the axis rect's top), then the legend on the layout these make, and
// last the layout the ticks are spaced on. Each step owns its side of the axis rect's margins:
// the title the top, a legend the right.
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
    bool stepTicks = false;
    bool twoValueLabels = false;
    QList<QPointer<QCustomPlot>> legendGroup;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Shown at last: the legend and the ticks learn the room they have.
        if (watched == plot && event->type() == QEvent::Show && (stepTicks || !legendGroup.isEmpty()))
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
        // The title is judged on the axis rect of the widget's present size: after a resize the
        // last layout's rect is another height.
        if (valueTitle) {
            if (plot->isVisible()) layOut(plot);
            fitValueTitle(plot);
        }
        // The plot lays itself out only after this signal: the legend is fitted to, and the
        // ticks spaced on, the layout this drawing will have (the widget's size, the new
        // ranges' tick labels), not the last one, which at the first showing or after a
        // resize is another size.
        // A plot not shown is fitted as it shows.
        if (legendGroup.size() == 1) keepKeyLabelClear();
        if (!legendGroup.isEmpty()) detail::fitLegends(legendGroup, plot);
        if ((stepTicks || !legendGroup.isEmpty() || twoValueLabels) && plot->isVisible())
            layOut(plot);
        // Last, on the height this drawing gives the axis: a wider range changes only the
        // width of the tick labels.
        if (twoValueLabels && plot->isVisible()) widenToTwoLabels();
        tickedSize = plot->axisRect()->size();
    }

    // The key axis's last tick label reaches half its width past the axis rect: a legend beside
    // the axes stands clear of it, two pixels at least. What the legend's column leaves between
    // them falls short of that by a few pixels, if at all (more would take the axes' room from
    // under the legend's rule, and move it inside); the spacing between the axis rect's column
    // and the legend's makes up the rest. It is set before the legend is placed, so that the
    // legend's rule counts it, and kept while the legend stands elsewhere, so that the rule
    // judges beside the same way each time. Measured on the labels and the layout last drawn:
    // the last label ends where the axis does, whatever its width. Plots in a group line their
    // key axes up by the legends' width alone.
    void keepKeyLabelClear()
    {
        QCPAxis *key = plot->xAxis;
        const QCPLegend *legend = plot->legend;
        QCPLayoutGrid *layout = plot->plotLayout();
        const int right = key->axisRect()->right();
        if (!legend || !legend->visible() || legend->outerRect().left() < right ||
            !key->visible() || !key->tickLabels())
            return;
        const QVector<double> ticks = key->tickVector();
        const QVector<QString> labels = key->tickVectorLabels();
        const QFontMetricsF metrics(key->tickLabelFont());
        double reach = 0;
        for (int i = 0; i < ticks.size() && i < labels.size(); ++i) {
            if (!key->range().contains(ticks[i])) continue;
            const double end = key->coordToPixel(ticks[i]) + metrics.horizontalAdvance(labels[i]) / 2;
            reach = std::max(reach, end - right);
        }
        const int columnGap = legend->outerRect().left() - right - layout->columnSpacing();
        const double short_ = reach + 2 - columnGap;
        const int spacing = short_ > 0 && std::isfinite(short_) ? int(std::ceil(short_)) : 0;
        // Only where the axes keep the legend rule's share of the width beside it: the legend is
        // not moved off the axes for a label's sake.
        const int axes = key->axisRect()->width() - (spacing - layout->columnSpacing());
        if (axes >= detail::kWidthShare * plot->viewport().width()) layout->setColumnSpacing(spacing);
    }

    void widenToTwoLabels()
    {
        QCPAxis *axis = plot->yAxis;
        // A range still as this widened it was set by the page as the stored one: start from
        // that, so that a taller plot gives the room back.
        if (axis->range() == widenedRange) axis->setRange(setRange);
        setRange = axis->range();
        axis->setRange(twoLabelRange(axis, setRange));
        widenedRange = axis->range();
    }

    void afterDrawing()
    {
        // Tickers that space their ticks by the axis rect's size chose them for the layout
        // before the drawing; when the drawing's own layout gave it another size, one more
        // drawing spaces them anew.
        if ((valueTitle || stepTicks) && plot->axisRect()->size() != tickedSize)
            plot->replot(QCustomPlot::rpQueuedReplot);
    }

    QCustomPlot *plot;
    QSize tickedSize;
    // The value range the page set, and the one widenToTwoLabels made of it.
    QCPRange setRange, widenedRange;
};

} // namespace

void keepLegendFitted(QCustomPlot *plot)
{
    keepLegendsFitted({plot});
}

void keepLegendsFitted(const QList<QCustomPlot *> &plots)
{
    QList<QPointer<QCustomPlot>> group;
    for (QCustomPlot *plot : plots)
        group << plot;
    for (QCustomPlot *plot : plots)
        Arrangement::of(plot)->legendGroup = group;
}

void fitLegendsNow(const QList<QCustomPlot *> &plots)
{
    QList<QPointer<QCustomPlot>> group;
    for (QCustomPlot *plot : plots)
        group << plot;
    detail::fitLegends(group, nullptr);
}

void setTickSteps(QCPAxis *axis, const QVector<double> &steps, int subTicks)
{
    axis->setTicker(QSharedPointer<QCPAxisTicker>(new StepTicker(axis, steps, subTicks)));
    Arrangement::of(axis->parentPlot())->stepTicks = true;
}

void keepTwoValueLabels(QCustomPlot *plot)
{
    Arrangement::of(plot)->twoValueLabels = true;
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
