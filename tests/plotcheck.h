#pragma once
// What a chart shows of its curves: the places where its legend box hides one, and whether it
// keeps its room and its captions whole. Used by the window tests of the pages whose charts
// carry a legend, and by the layout test on every page.

#include "app/plotview.h"
#include "schematic/editorgeometry.h"
#include "schematic/labelplacement.h"

#include <qcustomplot.h>

#include <QFontMetrics>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <memory>

namespace plotcheck {

namespace detail {

// The first point of the line through `data` (in drawing order) that lies in `box` and inside
// the axis rect, followed pixel by pixel between data points; false when there is none.
template <typename Container>
bool firstHidden(const QCPAbstractPlottable *p, const Container &data, const QRectF &box,
                 QPointF *where)
{
    const QRectF area = p->keyAxis()->axisRect()->rect();
    const auto pixel = [&](double key, double value) {
        return QPointF(p->keyAxis()->coordToPixel(key), p->valueAxis()->coordToPixel(value));
    };
    const auto finite = [](QPointF q) { return std::isfinite(q.x()) && std::isfinite(q.y()); };
    for (auto it = data.constBegin(); it != data.constEnd(); ++it) {
        const QPointF a = pixel(it->key, it->value);
        const QPointF b = it + 1 != data.constEnd() ? pixel((it + 1)->key, (it + 1)->value) : a;
        if (!finite(a) || !finite(b)) continue;
        const int steps =
            std::min(4000, std::max(1, int(std::hypot(b.x() - a.x(), b.y() - a.y()))));
        for (int s = 0; s <= steps; ++s) {
            const QPointF q = a + (b - a) * (double(s) / steps);
            if (area.contains(q) && box.contains(q)) {
                *where =
                    QPointF(p->keyAxis()->pixelToCoord(q.x()), p->valueAxis()->pixelToCoord(q.y()));
                return true;
            }
        }
    }
    return false;
}

} // namespace detail

// The curves the legend hides, one line per curve: its name and the first hidden point as
// (key, value). Lines drawn between data points count too. Draw the plot first (replot), so
// that the legend stands where the user sees it.
inline QStringList curvesUnderLegend(QCustomPlot *plot)
{
    QStringList hidden;
    const QCPLegend *legend = plot->legend;
    if (!legend || !legend->visible()) return hidden;
    const QRectF box = legend->outerRect();
    for (int i = 0; i < plot->plottableCount(); ++i) {
        QCPAbstractPlottable *p = plot->plottable(i);
        if (!p->visible() || !p->keyAxis() || p->keyAxis()->axisRect() != plot->axisRect())
            continue;
        QPointF where;
        bool found = false;
        if (auto *g = qobject_cast<QCPGraph *>(p))
            found = detail::firstHidden(p, *g->data(), box, &where);
        else if (auto *c = qobject_cast<QCPCurve *>(p))
            found = detail::firstHidden(p, *c->data(), box, &where);
        if (found)
            hidden << QStringLiteral("%1 (%2, %3)").arg(p->name()).arg(where.x()).arg(where.y());
    }
    return hidden;
}

// The value axis's title as the user reads it: along the axis, or in the line above the axis
// rect where the plot is too short for it.
inline QString shownTitle(QCustomPlot *plot)
{
    QCPLayoutGrid *layout = plot->plotLayout();
    for (int i = 0; i < layout->elementCount(); ++i)
        if (auto *line = qobject_cast<QCPTextElement *>(layout->elementAt(i)))
            if (line->objectName() == QLatin1String(plotview::valueTitleLineName()))
                return line->text();
    return plot->yAxis->label();
}

// A text item's box in pixels as last drawn, padding included.
inline QRectF textBox(const QCPItemText *text)
{
    return QRectF(text->topLeft->pixelPosition(), text->bottomRight->pixelPosition()).normalized();
}

// The texts of the plot (schematic labels) that its axis rect cuts: a visible text item clipped
// to the axis rect whose box reaches past it. One line each: the text and its box in pixels.
inline QStringList textsCut(QCustomPlot *plot)
{
    QStringList cut;
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || !text->visible() || !text->clipToAxisRect() || text->text().isEmpty())
            continue;
        const QRectF area = text->clipAxisRect()->rect();
        const QRectF box = textBox(text);
        // Half a pixel of rounding either way.
        if (!area.adjusted(-0.5, -0.5, 0.5, 0.5).contains(box))
            cut << QStringLiteral("\"%1\" at (%2, %3)-(%4, %5) in (%6, %7)-(%8, %9)")
                       .arg(text->text().simplified())
                       .arg(box.left())
                       .arg(box.top())
                       .arg(box.right())
                       .arg(box.bottom())
                       .arg(area.left())
                       .arg(area.top())
                       .arg(area.right())
                       .arg(area.bottom());
    }
    return cut;
}

// True when every bracket of `text` has its partner, in order: "[W (or VA) rms]" does,
// "(or VA) rms]" does not.
inline bool bracketsMatch(const QString &text)
{
    QString awaited;
    for (const QChar c : text) {
        if (c == QLatin1Char('['))
            awaited.append(QLatin1Char(']'));
        else if (c == QLatin1Char('('))
            awaited.append(QLatin1Char(')'));
        else if (c == QLatin1Char(']') || c == QLatin1Char(')')) {
            if (awaited.isEmpty() || awaited.back() != c) return false;
            awaited.chop(1);
        }
    }
    return awaited.isEmpty();
}

// The tick labels of an axis that run into their neighbour: on a horizontal axis labels less than
// a pixel apart ("100k1M"), on a vertical one labels whose lines (the font's line spacing high)
// overlap by more than a pixel of rounding. One line for each pair, with the pixels between them.
// Labels are centred on their ticks, as drawn.
inline QStringList tickLabelsRunTogether(QCPAxis *axis)
{
    QStringList crowded;
    if (!axis->visible() || !axis->tickLabels()) return crowded;
    const bool horizontal = axis->orientation() == Qt::Horizontal;
    const QVector<double> ticks = axis->tickVector();
    const QVector<QString> labels = axis->tickVectorLabels();
    const QFontMetrics metrics(axis->tickLabelFont());
    struct Shown
    {
        double from, to;
        QString text;
    };
    QVector<Shown> shown;
    for (int i = 0; i < ticks.size() && i < labels.size(); ++i) {
        if (!axis->range().contains(ticks[i]) || labels[i].isEmpty()) continue;
        const double centre = axis->coordToPixel(ticks[i]);
        const double half =
            horizontal ? metrics.horizontalAdvance(labels[i]) / 2.0 : metrics.height() / 2.0;
        shown.append({centre - half, centre + half, labels[i]});
    }
    std::sort(shown.begin(), shown.end(),
              [](const Shown &a, const Shown &b) { return a.from < b.from; });
    // Horizontal labels need a pixel between their boxes; vertical boxes, a line of text high,
    // carry their own room above and below the digits and may share a pixel of rounding.
    const double least = horizontal ? 1 : -1;
    for (int i = 1; i < shown.size(); ++i) {
        const double apart = shown[i].from - shown[i - 1].to;
        if (apart < least - 1e-6)
            crowded << QStringLiteral("%1 axis \"%2\": tick labels \"%3\" and \"%4\" run together "
                                      "(boxes %5 px apart)")
                           .arg(horizontal ? QStringLiteral("horizontal")
                                           : QStringLiteral("vertical"),
                                axis->label(), shown[i - 1].text, shown[i].text)
                           .arg(apart, 0, 'f', 1);
    }
    return crowded;
}

// The tick labels below the axis rect that meet the legend's frame or touch it (less than a
// pixel apart). One line each.
inline QStringList tickLabelsOnLegend(QCustomPlot *plot)
{
    QStringList found;
    const QCPLegend *legend = plot->legend;
    if (!legend || !legend->visible() || !plot->axisRect()) return found;
    const QRectF frame = QRectF(legend->outerRect()).adjusted(-1, -1, 1, 1);
    for (QCPAxis *axis : plot->axisRect()->axes(QCPAxis::atBottom)) {
        if (!axis->visible() || !axis->tickLabels()) continue;
        const QFontMetricsF metrics(axis->tickLabelFont());
        const double top = axis->axisRect()->bottom() + axis->offset();
        const double height = axis->tickLengthOut() + axis->tickLabelPadding() + metrics.height();
        const QVector<double> ticks = axis->tickVector();
        const QVector<QString> labels = axis->tickVectorLabels();
        for (int i = 0; i < ticks.size() && i < labels.size(); ++i) {
            if (!axis->range().contains(ticks[i]) || labels[i].isEmpty()) continue;
            const double width = metrics.horizontalAdvance(labels[i]);
            const QRectF box(axis->coordToPixel(ticks[i]) - width / 2, top, width, height);
            if (box.intersects(frame))
                found << QStringLiteral("tick label \"%1\" at x %2-%3 px touches the legend's frame "
                                        "at x %4-%5 px")
                             .arg(labels[i])
                             .arg(box.left(), 0, 'f', 0)
                             .arg(box.right(), 0, 'f', 0)
                             .arg(legend->outerRect().left())
                             .arg(legend->outerRect().right());
        }
    }
    return found;
}

// The value axis's title where it reads along the axis but is longer than the axis rect is high:
// its ends are cut off. One line, or none.
inline QStringList valueTitleCut(QCustomPlot *plot)
{
    QCPAxis *axis = plot->yAxis;
    if (!axis || !axis->visible() || axis->label().isEmpty()) return {};
    const int length = QFontMetrics(axis->labelFont()).horizontalAdvance(axis->label());
    if (length <= axis->axisRect()->height()) return {};
    return {QStringLiteral("value title \"%1\" %2 px long along a %3 px axis")
                .arg(axis->label())
                .arg(length)
                .arg(axis->axisRect()->height())};
}

// A chart whose axis rect keeps less than `share` of the widget's height or fewer than `least`
// pixels: one line each (roomFaults weighs the width).
inline QStringList axisRectTooLow(QCustomPlot *plot, double share, int least)
{
    QStringList faults;
    for (QCPAxisRect *rect : plot->axisRects()) {
        const QString size = QStringLiteral("axis rect %1 x %2 px in a %3 x %4 px plot")
                                 .arg(rect->width())
                                 .arg(rect->height())
                                 .arg(plot->width())
                                 .arg(plot->height());
        if (rect->height() < share * plot->height())
            faults << QStringLiteral("%1: %2 % of the height, under %3 %")
                          .arg(size)
                          .arg(qRound(100.0 * rect->height() / std::max(1, plot->height())))
                          .arg(qRound(100 * share));
        if (rect->height() < least)
            faults << QStringLiteral("%1: under %2 px high").arg(size).arg(least);
    }
    return faults;
}

// True for a chart with axes, false for a schematic drawn in a plot (no axis shown).
inline bool hasShownAxes(QCustomPlot *plot)
{
    for (QCPAxisRect *rect : plot->axisRects())
        for (QCPAxis *axis : rect->axes())
            if (axis->visible()) return true;
    return false;
}

// What a shown chart with axes loses of its room and captions, one line each: an axis rect
// narrower than `share` of the widget, a visible legend that leaves the widget, an axis title
// whose brackets do not pair up or that is cut along its axis, and tick labels that run
// together or into the legend. Schematics drawn in a plot (no visible axes) have no such room to
// keep.
inline QStringList roomFaults(QCustomPlot *plot, double share = 0.6)
{
    QStringList faults;
    QCPAxisRect *rect = plot->axisRect();
    if (!rect) return faults;
    const QList<QCPAxis *> axes = rect->axes();
    if (std::none_of(axes.cbegin(), axes.cend(), [](QCPAxis *a) { return a->visible(); }))
        return faults;
    if (rect->width() < share * plot->width())
        faults << QStringLiteral("axis rect %1 px of a %2 px plot (%3 %)")
                      .arg(rect->width())
                      .arg(plot->width())
                      .arg(qRound(100.0 * rect->width() / std::max(1, plot->width())));
    if (plot->legend && plot->legend->visible() &&
        !plot->rect().contains(plot->legend->outerRect())) {
        const QRect box = plot->legend->outerRect();
        faults << QStringLiteral("legend at (%1, %2)-(%3, %4) leaves the %5 x %6 plot")
                      .arg(box.left())
                      .arg(box.top())
                      .arg(box.right())
                      .arg(box.bottom())
                      .arg(plot->width())
                      .arg(plot->height());
    }
    QStringList titles{shownTitle(plot)};
    for (QCPAxis *axis : axes)
        if (axis->visible()) titles << axis->label();
    for (const QString &title : titles)
        if (!bracketsMatch(title))
            faults << QStringLiteral("caption \"%1\" has unmatched brackets").arg(title);
    for (QCPAxis *axis : axes)
        faults << tickLabelsRunTogether(axis);
    faults << tickLabelsOnLegend(plot);
    faults << valueTitleCut(plot);
    return faults;
}

namespace detail {

inline QString boxText(const QRectF &r)
{
    return QStringLiteral("(%1, %2)-(%3, %4)")
        .arg(r.left(), 0, 'f', 0)
        .arg(r.top(), 0, 'f', 0)
        .arg(r.right(), 0, 'f', 0)
        .arg(r.bottom(), 0, 'f', 0);
}

// The texts of a schematic the user sees: visible and not blank.
inline QVector<QCPItemText *> shownTexts(QCustomPlot *plot)
{
    QVector<QCPItemText *> texts;
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (text && text->visible() && !text->text().trimmed().isEmpty()) texts << text;
    }
    return texts;
}

inline QString strokeText(const schem::PixelSegment &s)
{
    return QStringLiteral("from (%1, %2) to (%3, %4)")
        .arg(s.a.x(), 0, 'f', 0)
        .arg(s.a.y(), 0, 'f', 0)
        .arg(s.b.x(), 0, 'f', 0)
        .arg(s.b.y(), 0, 'f', 0);
}

} // namespace detail

// The texts of a schematic that stand on its drawing: a visible text whose glyph box meets a
// stroke of a visible graph (symbols, wires and block frames alike, widened by half the pen),
// unless the text has an opaque backdrop that covers it, or the glyph box of another text. One line
// each, naming both. Draw the plot first (replot).
inline QStringList textsOverDrawing(QCustomPlot *plot)
{
    QStringList found;
    const QVector<QCPItemText *> texts = detail::shownTexts(plot);
    const QVector<schem::PixelSegment> strokes = schem::strokeSegments(plot);
    for (int i = 0; i < texts.size(); ++i) {
        const QRectF box = schem::glyphBox(texts[i]);
        const QString name =
            QStringLiteral("\"%1\" %2").arg(texts[i]->text().simplified(), detail::boxText(box));
        // A text on a backdrop of the plot's own colour covers what runs under it.
        const bool covers = schem::hasBackdrop(texts[i]);
        for (const schem::PixelSegment &s : strokes) {
            if (covers) break;
            const QRectF near = box.adjusted(-s.halfPen, -s.halfPen, s.halfPen, s.halfPen);
            if (schem::segmentMeetsRect(s.a, s.b, near))
                found << QStringLiteral("%1 on the stroke %2").arg(name, detail::strokeText(s));
        }
        for (int k = i + 1; k < texts.size(); ++k)
            if (box.intersects(schem::glyphBox(texts[k])))
                found << QStringLiteral("%1 on \"%2\"").arg(name, texts[k]->text().simplified());
    }
    return found;
}

namespace detail {

inline QPointF centreOf(const schem::PixelSymbol &symbol)
{
    QRectF bounds;
    for (const schem::PixelSegment &s : symbol.segments)
        bounds = bounds.united(QRectF(s.a, s.b).normalized().adjusted(0, 0, 1e-9, 1e-9));
    return bounds.center();
}

} // namespace detail

// The texts of a schematic that stand by another symbol of the kind they name: nearer it than
// their own. And twins (two texts alike and no third, naming two symbols of a kind, as the values
// of a matched pair) that both stand between their symbols, on the line joining the symbols'
// centres: then neither says which is which. A text names the symbol nearest its anchor; see
// schem::symbolsOf. Draw the plot first (replot).
inline QStringList textsByAnotherSymbol(QCustomPlot *plot)
{
    const QVector<schem::PixelSymbol> symbols = schem::symbolsOf(plot);
    struct Named
    {
        QCPItemText *text;
        int own;
        QRectF box;
    };
    QVector<Named> named;
    QStringList found;
    for (QCPItemText *text : detail::shownTexts(plot)) {
        const int own = schem::nearestSymbol(symbols, text->position->pixelPosition());
        if (own < 0) continue;
        const QRectF box = schem::glyphBox(text);
        if (schem::nearerAnother(symbols, own, box))
            found << QStringLiteral("\"%1\" %2 stands nearer another symbol of its kind")
                         .arg(text->text().simplified(), detail::boxText(box));
        named.append({text, own, box});
    }
    QHash<QString, int> alike;
    for (const Named &n : named)
        ++alike[n.text->text()];
    for (int i = 0; i < named.size(); ++i) {
        for (int k = i + 1; k < named.size(); ++k) {
            const Named &x = named[i], &y = named[k];
            if (x.text->text() != y.text->text() || alike.value(x.text->text()) != 2 ||
                x.own == y.own || symbols[x.own].shape != symbols[y.own].shape)
                continue;
            const QPointF from = detail::centreOf(symbols[x.own]);
            const QPointF to = detail::centreOf(symbols[y.own]);
            if (schem::segmentMeetsRect(from, to, x.box) &&
                schem::segmentMeetsRect(from, to, y.box))
                found << QStringLiteral("the two \"%1\" %2 and %3 both stand between their symbols")
                             .arg(x.text->text().simplified(), detail::boxText(x.box),
                                  detail::boxText(y.box));
        }
    }
    return found;
}

namespace detail {

inline QRectF boundsOf(const QVector<schem::PixelSegment> &segments)
{
    QRectF bounds;
    for (const schem::PixelSegment &s : segments)
        bounds = bounds.united(
            QRectF(s.a, s.b).normalized().adjusted(-s.halfPen, -s.halfPen, s.halfPen, s.halfPen));
    return bounds;
}

inline bool sameSegment(const schem::PixelSegment &x, const schem::PixelSegment &y)
{
    const auto near = [](QPointF p, QPointF q) { return (p - q).manhattanLength() < 0.01; };
    return (near(x.a, y.a) && near(x.b, y.b)) || (near(x.a, y.b) && near(x.b, y.a));
}

} // namespace detail

struct ItemStroke
{
    schem::PixelSegment segment;
    const QCPAbstractItem *item;
};

// The line, curve and ellipse items of a plot as pixel segments (curves and ellipses sampled).
inline QVector<ItemStroke> itemStrokes(QCustomPlot *plot)
{
    QVector<ItemStroke> strokes;
    const auto add = [&](const QVector<QPointF> &points, const QCPAbstractItem *item,
                         const QPen &pen) {
        for (int k = 1; k < points.size(); ++k)
            strokes.append({{points[k - 1], points[k], pen.widthF() / 2}, item});
    };
    for (int i = 0; i < plot->itemCount(); ++i) {
        QCPAbstractItem *item = plot->item(i);
        if (!item->visible()) continue;
        if (auto *line = qobject_cast<QCPItemLine *>(item)) {
            add({line->start->pixelPosition(), line->end->pixelPosition()}, item, line->pen());
        } else if (auto *curve = qobject_cast<QCPItemCurve *>(item)) {
            const QPointF p0 = curve->start->pixelPosition(), p1 = curve->startDir->pixelPosition(),
                          p2 = curve->endDir->pixelPosition(), p3 = curve->end->pixelPosition();
            QVector<QPointF> points;
            for (int s = 0; s <= 32; ++s) {
                const double t = s / 32.0, u = 1 - t;
                points << u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
            }
            add(points, item, curve->pen());
        } else if (auto *ellipse = qobject_cast<QCPItemEllipse *>(item)) {
            const QRectF r =
                QRectF(ellipse->topLeft->pixelPosition(), ellipse->bottomRight->pixelPosition())
                    .normalized();
            QVector<QPointF> points;
            for (int s = 0; s <= 72; ++s) {
                const double t = s * M_PI / 36;
                points << r.center() +
                              QPointF(r.width() / 2 * std::cos(t), r.height() / 2 * std::sin(t));
            }
            add(points, item, ellipse->pen());
        }
    }
    return strokes;
}

// The texts that a line, curve or ellipse item runs through, one line each.
inline QStringList textsOnItems(QCustomPlot *plot)
{
    QStringList found;
    const QVector<ItemStroke> strokes = itemStrokes(plot);
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || !text->visible() || text->text().trimmed().isEmpty()) continue;
        const QRectF box = schem::glyphBox(text);
        for (const ItemStroke &stroke : strokes) {
            const schem::PixelSegment &s = stroke.segment;
            const QRectF near = box.adjusted(-s.halfPen, -s.halfPen, s.halfPen, s.halfPen);
            if (schem::segmentMeetsRect(s.a, s.b, near)) {
                found << QStringLiteral("\"%1\" on a %2 at (%3, %4)")
                             .arg(text->text().simplified(),
                                  QLatin1String(stroke.item->metaObject()->className()))
                             .arg(s.a.x(), 0, 'f', 0)
                             .arg(s.a.y(), 0, 'f', 0);
                break;
            }
        }
    }
    return found;
}

// Framed texts (a text with a pen) whose frame does not lie wholly inside the axis rect, with
// room for the frame's pen: such a frame loses an edge.
inline QStringList framesCut(QCustomPlot *plot)
{
    QStringList cut;
    const QRectF area = plot->axisRect()->rect();
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || !text->visible() || text->pen().style() == Qt::NoPen) continue;
        const double pen = std::max(1.0, text->pen().widthF());
        const QRectF box =
            QRectF(text->topLeft->pixelPosition(), text->bottomRight->pixelPosition()).normalized();
        if (!area.adjusted(pen, pen, -pen, -pen).contains(box))
            cut << QStringLiteral("\"%1\" framed at (%2, %3)-(%4, %5)")
                       .arg(text->text().simplified())
                       .arg(box.left())
                       .arg(box.top())
                       .arg(box.right())
                       .arg(box.bottom());
    }
    return cut;
}

// The smallest text size on the plot, in points.
inline double smallestPoints(QCustomPlot *plot)
{
    double smallest = 1e9;
    for (int i = 0; i < plot->itemCount(); ++i)
        if (auto *text = qobject_cast<QCPItemText *>(plot->item(i)))
            if (text->visible()) smallest = std::min(smallest, text->font().pointSizeF());
    return smallest;
}

// The texts of a schematic that stand on something else, as the user sees them. One line for
// each pair of texts whose glyphs overlap or that share a line less than two word spaces apart
// (they read as one text), and one for each text that crosses strokes other than
// those of the symbol it names (the symbol nearest its anchor): wires and other symbols, drawn as
// graphs or as line, curve and ellipse items. A text
// drawn inside its own symbol (the amplifier's name in its triangle) may cross that symbol's
// strokes; one that stands partly outside it may not, for then it covers its own part. A backdrop
// excuses nothing: what it covers is hidden. Half a pixel of rounding is allowed. Draw the plot
// first (replot).
inline QStringList textsOnOthers(QCustomPlot *plot)
{
    QStringList found;
    const QVector<QCPItemText *> texts = detail::shownTexts(plot);
    const QVector<schem::PixelSegment> strokes = schem::strokeSegments(plot);
    const QVector<schem::PixelSymbol> symbols = schem::symbolsOf(plot);
    const QVector<ItemStroke> items = itemStrokes(plot);
    const auto ofSymbol = [&](const schem::PixelSegment &s, int k) {
        const QVector<schem::PixelSegment> &own = symbols[k].segments;
        return std::any_of(own.cbegin(), own.cend(),
                           [&](const schem::PixelSegment &o) { return detail::sameSegment(s, o); });
    };
    for (int i = 0; i < texts.size(); ++i) {
        const QRectF box = schem::glyphBox(texts[i]);
        const QString name =
            QStringLiteral("\"%1\" %2").arg(texts[i]->text().simplified(), detail::boxText(box));
        for (int k = i + 1; k < texts.size(); ++k) {
            const QRectF other = schem::glyphBox(texts[k]);
            const double across =
                std::min(box.bottom(), other.bottom()) - std::max(box.top(), other.top());
            if (across <= 0.5) continue;
            const double gap =
                std::max(box.left(), other.left()) - std::min(box.right(), other.right());
            const QString otherName =
                QStringLiteral("\"%1\" %2")
                    .arg(texts[k]->text().simplified(), detail::boxText(other));
            // Side by side on a line, two texts less than two word spaces apart read as one.
            const double spaces =
                2 * std::max(QFontMetricsF(texts[i]->font()).horizontalAdvance(QLatin1Char(' ')),
                             QFontMetricsF(texts[k]->font()).horizontalAdvance(QLatin1Char(' ')));
            if (gap <= -0.5)
                found << QStringLiteral("%1 overlaps %2 by %3 x %4 px")
                             .arg(name, otherName)
                             .arg(-gap, 0, 'f', 1)
                             .arg(across, 0, 'f', 1);
            else if (gap < spaces)
                found << QStringLiteral("%1 runs into %2: %3 px apart on a line, under two word "
                                        "spaces (%4 px)")
                             .arg(name, otherName)
                             .arg(gap, 0, 'f', 1)
                             .arg(spaces, 0, 'f', 1);
        }
        const int own = schem::nearestSymbol(symbols, texts[i]->position->pixelPosition());
        const bool inside =
            own >= 0 &&
            detail::boundsOf(symbols[own].segments).adjusted(-0.5, -0.5, 0.5, 0.5).contains(box);
        const QRectF inner = box.adjusted(0.5, 0.5, -0.5, -0.5);
        // What it crosses, by kind: the first stroke met and how many.
        QMap<QString, QPair<int, const schem::PixelSegment *>> crossed;
        for (const schem::PixelSegment &s : strokes) {
            if (!schem::segmentMeetsRect(
                    s.a, s.b, inner.adjusted(-s.halfPen, -s.halfPen, s.halfPen, s.halfPen)))
                continue;
            QString kind;
            if (own >= 0 && ofSymbol(s, own)) {
                if (inside) continue;
                kind = QStringLiteral("its own symbol, standing partly outside it,");
            } else {
                kind = s.ofSymbol ? QStringLiteral("another symbol") : QStringLiteral("a wire");
            }
            auto &entry = crossed[kind];
            if (entry.first++ == 0) entry.second = &s;
        }
        // Symbols and wires drawn as line, curve and ellipse items name no part of their own.
        for (const ItemStroke &stroke : items) {
            const schem::PixelSegment &s = stroke.segment;
            if (!schem::segmentMeetsRect(
                    s.a, s.b, inner.adjusted(-s.halfPen, -s.halfPen, s.halfPen, s.halfPen)))
                continue;
            auto &entry = crossed[QStringLiteral("a drawn %1")
                                      .arg(QLatin1String(stroke.item->metaObject()->className()))];
            if (entry.first++ == 0) entry.second = &s;
        }
        for (auto it = crossed.cbegin(); it != crossed.cend(); ++it) {
            found << QStringLiteral("%1 crosses %2 %3 stroke(s), first %4%5")
                         .arg(name, it.key())
                         .arg(it.value().first)
                         .arg(detail::strokeText(*it.value().second),
                              schem::hasBackdrop(texts[i])
                                  ? QStringLiteral(", hidden by its backdrop")
                                  : QString());
        }
    }
    return found;
}

// Texts one above the other that read as one: their glyphs share some of their width and less than
// a line of text (the larger font's) stands between them, as a blank line would. One line for each
// pair. Draw the plot first (replot).
inline QStringList textsStackedAsOne(QCustomPlot *plot)
{
    QStringList found;
    const QVector<QCPItemText *> texts = detail::shownTexts(plot);
    for (int i = 0; i < texts.size(); ++i) {
        const QRectF box = schem::glyphBox(texts[i]);
        for (int k = i + 1; k < texts.size(); ++k) {
            const QRectF other = schem::glyphBox(texts[k]);
            const double across =
                std::min(box.right(), other.right()) - std::max(box.left(), other.left());
            if (across <= 0.5) continue;
            const double gap =
                std::max(box.top(), other.top()) - std::min(box.bottom(), other.bottom());
            const double line = std::max(QFontMetricsF(texts[i]->font()).height(),
                                         QFontMetricsF(texts[k]->font()).height());
            if (gap > -0.5 && gap < line)
                found << QStringLiteral("\"%1\" %2 and \"%3\" %4 read as one: %5 px apart, under "
                                        "a line (%6 px)")
                             .arg(texts[i]->text().simplified(), detail::boxText(box),
                                  texts[k]->text().simplified(), detail::boxText(other))
                             .arg(gap, 0, 'f', 1)
                             .arg(line, 0, 'f', 1);
        }
    }
    return found;
}

// What the plotting library complains of while one of these lives, other messages passed on
// as before. The library names the function that complains: "QCPLayoutElement*
// QCPLayoutGrid::element(int, int) const Requested cell is empty. ...".
class LibraryComplaints
{
public:
    LibraryComplaints()
    {
        heard().clear();
        passOn() = qInstallMessageHandler(&LibraryComplaints::hear);
    }
    ~LibraryComplaints() { qInstallMessageHandler(passOn()); }
    LibraryComplaints(const LibraryComplaints &) = delete;
    LibraryComplaints &operator=(const LibraryComplaints &) = delete;

    QStringList all() const { return heard(); }


private:
    static QStringList &heard()
    {
        static QStringList messages;
        return messages;
    }
    static QtMessageHandler &passOn()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void hear(QtMsgType type, const QMessageLogContext &context, const QString &msg)
    {
        static const QRegularExpression library(QStringLiteral("\\bQCP\\w*::"));
        if (library.match(msg).hasMatch()) heard() << msg;
        if (passOn()) passOn()(type, context, msg);
    }
};

// Stops hearing the library: what it complained of, one complaint a line.
inline QString stopHearing(std::unique_ptr<LibraryComplaints> &complaints)
{
    const QStringList heard = complaints ? complaints->all() : QStringList();
    complaints.reset();
    return heard.join(QLatin1Char('\n'));
}

} // namespace plotcheck
