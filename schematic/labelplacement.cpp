#include "schematic/labelplacement.h"

#include "schematic/editorgeometry.h"
#include "app/objectrecord.h"
#include "schematic/picturescale.h"
#include "schematic/schematicstroke.h"

#include <qcustomplot.h>

#include <QDataStream>
#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace schem {

using objectrecord::findRecord;
using objectrecord::recordOf;

namespace {

// What the placement keeps about a text: the place its page gave it, which stays its first
// choice at every layout, and whether the placement gave it a backdrop.
struct TextPlace
{
    std::optional<Qt::Alignment> givenAlignment; // as first placed
    std::optional<QPointF> givenOffset;          // plot units, from setLabelOffset
    bool backdrop = false;
};

// The room an opaque label keeps about its glyphs, in pixels.
constexpr int kBackdropMargin = 2;

} // namespace

QVector<PixelSegment> strokeSegments(QCustomPlot *plot)
{
    // Segments per figure: a symbol has more than one.
    QHash<int, int> figureSegments;
    for (int g = 0; g < plot->graphCount(); ++g) {
        QCPGraph *graph = plot->graph(g);
        const int number = graph->property(kFigureNumber).toInt();
        if (number != 0) figureSegments[number] += std::max(0, graph->dataCount() - 1);
    }
    QVector<PixelSegment> segments;
    for (int g = 0; g < plot->graphCount(); ++g) {
        QCPGraph *graph = plot->graph(g);
        if (!graph->visible() || graph->pen().style() == Qt::NoPen) continue;
        QCPAxis *key = graph->keyAxis();
        QCPAxis *value = graph->valueAxis();
        if (!key || !value) continue;
        const double half = graph->pen().widthF() / 2;
        const bool ofSymbol = figureSegments.value(graph->property(kFigureNumber).toInt()) > 1;
        QPointF previous;
        bool first = true;
        for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it) {
            const QPointF p(key->coordToPixel(it->key), value->coordToPixel(it->value));
            if (!first) segments.append({previous, p, half, ofSymbol});
            previous = p;
            first = false;
        }
    }
    return segments;
}

QRectF glyphBox(const QCPItemText *text)
{
    const QMargins pad = text->padding();
    return QRectF(text->topLeft->pixelPosition(), text->bottomRight->pixelPosition())
        .normalized()
        .adjusted(pad.left(), pad.top(), -pad.right(), -pad.bottom());
}

QVector<PixelSymbol> symbolsOf(QCustomPlot *plot)
{
    QMap<int, PixelSymbol> byNumber;
    QMap<int, QPointF> origins;
    for (int g = 0; g < plot->graphCount(); ++g) {
        QCPGraph *graph = plot->graph(g);
        const int number = graph->property(kFigureNumber).toInt();
        if (number == 0 || !graph->visible() || !graph->keyAxis() || !graph->valueAxis()) continue;
        PixelSymbol &symbol = byNumber[number];
        const double half = graph->pen().widthF() / 2;
        QPointF previous;
        bool first = true;
        for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it) {
            if (!origins.contains(number)) origins.insert(number, QPointF(it->key, it->value));
            const QPointF origin = origins.value(number);
            symbol.shape += QStringLiteral("%1,%2 ")
                                .arg(std::lround(it->key - origin.x()))
                                .arg(std::lround(it->value - origin.y()));
            const QPointF p(graph->keyAxis()->coordToPixel(it->key),
                            graph->valueAxis()->coordToPixel(it->value));
            if (!first) symbol.segments.append({previous, p, half});
            previous = p;
            first = false;
        }
        symbol.shape += QLatin1Char('|');
    }
    QVector<PixelSymbol> symbols;
    for (const PixelSymbol &symbol : byNumber)
        if (symbol.segments.size() > 1) symbols << symbol;
    return symbols;
}

double distanceToSegments(const QRectF &box, const QVector<PixelSegment> &segments)
{
    auto toBox = [&box](const QPointF &p) {
        const double dx = std::max({box.left() - p.x(), 0.0, p.x() - box.right()});
        const double dy = std::max({box.top() - p.y(), 0.0, p.y() - box.bottom()});
        return std::hypot(dx, dy);
    };
    double d = std::numeric_limits<double>::infinity();
    for (const PixelSegment &s : segments) {
        if (segmentMeetsRect(s.a, s.b, box)) return 0;
        d = std::min({d, toBox(s.a), toBox(s.b)});
        for (const QPointF &c :
             {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
            d = std::min(d, distanceToSegment(c, s.a, s.b));
    }
    return d;
}

int nearestSymbol(const QVector<PixelSymbol> &symbols, const QPointF &p)
{
    int nearest = -1;
    double least = std::numeric_limits<double>::infinity();
    for (int k = 0; k < symbols.size(); ++k) {
        const double d = distanceToSegments(QRectF(p, p), symbols[k].segments);
        if (d < least) {
            least = d;
            nearest = k;
        }
    }
    return nearest;
}

bool nearerAnother(const QVector<PixelSymbol> &symbols, int own, const QRectF &box)
{
    if (own < 0) return false;
    const double toOwn = distanceToSegments(box, symbols[own].segments);
    for (int k = 0; k < symbols.size(); ++k)
        if (k != own && symbols[k].shape == symbols[own].shape &&
            distanceToSegments(box, symbols[k].segments) < toOwn)
            return true;
    return false;
}

QColor plotBackground(const QCustomPlot *plot)
{
    // QCustomPlot keeps its own background brush to itself; no page changes it from white, and
    // an axis rect that paints one shows it under the drawing.
    const QBrush rectBrush = plot->axisRect() ? plot->axisRect()->backgroundBrush() : QBrush();
    return rectBrush.style() == Qt::SolidPattern ? rectBrush.color() : QColor(Qt::white);
}

bool hasBackdrop(const QCPItemText *text)
{
    const TextPlace *place = findRecord<TextPlace>(text);
    return place && place->backdrop && text->brush().style() == Qt::SolidPattern &&
           text->brush().color() == plotBackground(text->parentPlot());
}

void setLabelOffset(QCPItemText *text, const QPointF &offset)
{
    if (text) recordOf<TextPlace>(text).givenOffset = offset;
}

namespace {

// What is wrong with a place, worst first: a backdrop hides a stroke, but not another text, nor
// the edge of the plot; a label nearer another part of its kind names that part; a symbol hidden
// under a backdrop is missed where a length of wire is not.
constexpr int kOffTheDrawing = 10000;
constexpr int kOnAText = 10000;
constexpr int kByAnotherPart = 1000;
constexpr int kOnASymbol = 20;

int hits(const QRectF &box, const QVector<PixelSegment> &strokes, const QVector<QRectF> &others,
         const QRectF &area)
{
    int n = area.isValid() && !area.contains(box) ? kOffTheDrawing : 0;
    for (const PixelSegment &s : strokes) {
        const QRectF near = box.adjusted(-s.halfPen, -s.halfPen, s.halfPen, s.halfPen);
        if (segmentMeetsRect(s.a, s.b, near)) n += s.ofSymbol ? kOnASymbol : 1;
    }
    for (const QRectF &o : others)
        if (box.intersects(o)) n += kOnAText;
    return n;
}

// hits() == 0, stopping at the first thing the box meets: most places tried are not clear.
bool isClear(const QRectF &box, const QVector<PixelSegment> &strokes, const QVector<QRectF> &others,
             const QRectF &area)
{
    if (area.isValid() && !area.contains(box)) return false;
    for (const QRectF &o : others)
        if (box.intersects(o)) return false;
    for (const PixelSegment &s : strokes) {
        const QRectF near = box.adjusted(-s.halfPen, -s.halfPen, s.halfPen, s.halfPen);
        if (segmentMeetsRect(s.a, s.b, near)) return false;
    }
    return true;
}

// What the placement reads of a plot, as it now stands: the strokes and every label as given.
// The same key finds the same places, so a drawing laid out again unchanged (a replot, a
// refresh whose values did not move) keeps them without a search.
QByteArray placementKey(const QVector<PixelSegment> &strokes, const QVector<QCPItemText *> &texts,
                        const QVector<QPoint> &shifts)
{
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    for (const PixelSegment &s : strokes)
        out << s.a << s.b << s.halfPen << s.ofSymbol;
    for (int i = 0; i < texts.size(); ++i) {
        const QCPItemText *t = texts[i];
        out << t->text() << t->font().toString() << t->position->pixelPosition()
            << int(t->positionAlignment()) << shifts[i]
            << (t->clipAxisRect() ? QRectF(t->clipAxisRect()->rect()) : QRectF());
    }
    return key;
}

// The places found for a plot's labels, in the order of its items, under the key they were
// found for.
struct Placement
{
    Qt::Alignment alignment;
    QMargins padding;
    bool backdrop = false;
};

struct PlacementMemo
{
    QByteArray key;
    QVector<Placement> placements;
};

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// Padding only ever grows a text's box, so it moves the glyphs of a text aligned `a` away from
// the edge the anchor holds and no other way (and a centred text by half of it). Whether a shift
// of (dx, dy) pixels can be made so:
bool canShift(Qt::Alignment a, int dx, int dy)
{
    return !(dx > 0 && (a & Qt::AlignRight)) && !(dx < 0 && (a & Qt::AlignLeft)) &&
           !(dy > 0 && (a & Qt::AlignBottom)) && !(dy < 0 && (a & Qt::AlignTop));
}

// The padding that makes such a shift.
QMargins paddingFor(Qt::Alignment a, int dx, int dy)
{
    QMargins m;
    const int hFactor = (a & Qt::AlignHCenter) ? 2 : 1;
    const int vFactor = (a & Qt::AlignVCenter) ? 2 : 1;
    if (dx > 0 && !(a & Qt::AlignRight)) m.setLeft(hFactor * dx);
    if (dx < 0 && !(a & Qt::AlignLeft)) m.setRight(-hFactor * dx);
    if (dy > 0 && !(a & Qt::AlignBottom)) m.setTop(vFactor * dy);
    if (dy < 0 && !(a & Qt::AlignTop)) m.setBottom(-vFactor * dy);
    return m;
}

int roundedPixels(double v)
{
    return std::isfinite(v) ? int(std::lround(std::clamp(v, -1e4, 1e4))) : 0;
}

// The given offset of a text (plot units) in pixels as the plot now stands.
QPoint givenShift(const QCPItemText *text)
{
    const TextPlace *place = findRecord<TextPlace>(text);
    if (!place || !place->givenOffset || text->position->type() != QCPItemPosition::ptPlotCoords)
        return {};
    QCPAxis *key = text->position->keyAxis();
    QCPAxis *value = text->position->valueAxis();
    if (!key || !value) return {};
    const QPointF at = text->position->coords();
    const QPointF to = at + *place->givenOffset;
    return QPoint(roundedPixels(key->coordToPixel(to.x()) - key->coordToPixel(at.x())),
                  roundedPixels(value->coordToPixel(to.y()) - value->coordToPixel(at.y())));
}

void setBackdrop(QCPItemText *text, bool on)
{
    TextPlace &place = recordOf<TextPlace>(text);
    if (place.backdrop == on) return;
    place.backdrop = on;
    text->setBrush(on ? QBrush(plotBackground(text->parentPlot())) : QBrush(Qt::NoBrush));
}

} // namespace

void placeLabelsClear(QCustomPlot *plot)
{
    if (!plot) return;
    QVector<QCPItemText *> texts;
    QVector<QPoint> shifts;
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || !text->visible() || text->text().trimmed().isEmpty()) continue;
        TextPlace &place = recordOf<TextPlace>(text);
        if (!place.givenAlignment) place.givenAlignment = text->positionAlignment();
        const Qt::Alignment given = *place.givenAlignment;
        const QPoint shift = givenShift(text);
        text->setPositionAlignment(given);
        text->setPadding(paddingFor(given, shift.x(), shift.y()));
        setBackdrop(text, false);
        texts << text;
        shifts << shift;
    }
    if (texts.isEmpty()) return;
    const QVector<PixelSegment> strokes = strokeSegments(plot);
    PlacementMemo *memo = &recordOf<PlacementMemo>(plot);
    const QByteArray key = placementKey(strokes, texts, shifts);
    if (key == memo->key && memo->placements.size() == texts.size()) {
        for (int i = 0; i < texts.size(); ++i) {
            const Placement &p = memo->placements[i];
            texts[i]->setPositionAlignment(p.alignment);
            texts[i]->setPadding(p.padding);
            setBackdrop(texts[i], p.backdrop);
        }
        return;
    }
    const QVector<PixelSymbol> symbols = symbolsOf(plot);
    QVector<QRectF> boxes;
    for (QCPItemText *text : texts)
        boxes << glyphBox(text);

    static const std::array<Qt::Alignment, 9> alignments = {Qt::AlignCenter,
                                                            Qt::AlignHCenter | Qt::AlignBottom,
                                                            Qt::AlignHCenter | Qt::AlignTop,
                                                            Qt::AlignLeft | Qt::AlignVCenter,
                                                            Qt::AlignRight | Qt::AlignVCenter,
                                                            Qt::AlignLeft | Qt::AlignBottom,
                                                            Qt::AlignRight | Qt::AlignBottom,
                                                            Qt::AlignLeft | Qt::AlignTop,
                                                            Qt::AlignRight | Qt::AlignTop};
    for (int i = 0; i < texts.size(); ++i) {
        QCPItemText *text = texts[i];
        const QRectF area = text->clipToAxisRect() && text->clipAxisRect()
                                ? QRectF(text->clipAxisRect()->rect())
                                : QRectF();
        QVector<QRectF> allOthers = boxes;
        allOthers.remove(i);
        const QRectF given = boxes[i];
        const int own = nearestSymbol(symbols, text->position->pixelPosition());
        auto byAnother = [&](const QRectF &box) {
            return nearerAnother(symbols, own, box) ? kByAnotherPart : 0;
        };
        if (hits(given, strokes, allOthers, area) + byAnother(given) == 0) continue;

        // Beyond the alignments, nudges of up to two lines of text, to either side and along the
        // part: a label squeezed between two wires fits where none of its edges does, and a
        // caption too large for its symbol goes beside it. Farther off, a label would stand
        // nearer another part than its own. Steps grow with the font, so that the search costs
        // about the same at any size.
        const double line = QFontMetricsF(text->font()).height();
        const int nudgeMax = std::min(80, int(std::ceil(2 * line)));
        const int nudgeStep = std::max(2, int(line / 8));
        const double reachX = given.width() + nudgeMax + 4, reachY = given.height() + nudgeMax + 4;
        const QRectF reach = given.adjusted(-reachX, -reachY, reachX, reachY);
        QVector<PixelSegment> near;
        for (const PixelSegment &sgm : strokes)
            if (segmentMeetsRect(sgm.a, sgm.b, reach)) near << sgm;
        QVector<QRectF> others;
        for (const QRectF &o : allOthers)
            if (o.intersects(reach)) others << o;

        // The other places about the given one (the anchor, moved by the label's offset), the
        // nearest first.
        struct Candidate
        {
            Qt::Alignment alignment;
            int dx, dy;  // the whole shift from where the alignment alone puts the glyphs
            bool coarse; // on every other step of the nudges, both ways
            QRectF box;
            double shift;
        };
        QVector<Candidate> candidates;
        const QPoint base = shifts[i];
        for (Qt::Alignment a : alignments) {
            text->setPositionAlignment(a);
            text->setPadding(QMargins());
            const QRectF box = glyphBox(text);
            for (int nx = -nudgeMax; nx <= nudgeMax; nx += nudgeStep) {
                for (int ny = -nudgeMax; ny <= nudgeMax; ny += nudgeStep) {
                    const int dx = base.x() + nx, dy = base.y() + ny;
                    if (!canShift(a, dx, dy)) continue;
                    const QRectF moved = box.translated(dx, dy);
                    const bool coarse = ((nx + nudgeMax) / nudgeStep) % 2 == 0 &&
                                        ((ny + nudgeMax) / nudgeStep) % 2 == 0;
                    candidates.append(
                        {a, dx, dy, coarse, moved, distance(moved.center(), given.center())});
                }
            }
        }
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate &x, const Candidate &y) { return x.shift < y.shift; });
        const Candidate *best = nullptr;
        for (const Candidate &c : candidates) {
            if (isClear(c.box, near, others, area) && byAnother(c.box) == 0) {
                best = &c;
                break;
            }
        }
        bool backdrop = false;
        if (!best) {
            // Clear nowhere near its part: the label covers what runs through it, with a little
            // room about its glyphs, rather than stand among other parts. Its backdrop fills the
            // padding that holds it off its anchor too, so the place whose backdrop hides least,
            // symbols above all, wins. Every other nudge is fine enough for that.
            const QMarginsF room(kBackdropMargin, kBackdropMargin, kBackdropMargin,
                                 kBackdropMargin);
            int fewest = 0;
            for (const Candidate &c : candidates) {
                if (!c.coarse) continue;
                const double ex = (c.alignment & Qt::AlignHCenter) ? -c.dx : 0;
                const double ey = (c.alignment & Qt::AlignVCenter) ? -c.dy : 0;
                const QRectF painted =
                    (c.box.united(c.box.translated(ex - c.dx, ey - c.dy))) + room;
                int n = hits(painted, near, {}, QRectF());
                if (best && n >= fewest) continue;
                n += hits(c.box, {}, others, area);
                if (best && n >= fewest) continue;
                n += byAnother(c.box);
                if (!best || n < fewest) {
                    best = &c;
                    fewest = n;
                }
            }
            backdrop = hits(best->box, near, {}, QRectF()) > 0;
        }
        text->setPositionAlignment(best->alignment);
        QMargins padding = paddingFor(best->alignment, best->dx, best->dy);
        if (backdrop) {
            padding += QMargins(kBackdropMargin, kBackdropMargin, kBackdropMargin, kBackdropMargin);
            setBackdrop(text, true);
        }
        text->setPadding(padding);
        boxes[i] = glyphBox(text);
    }
    memo->key = key;
    memo->placements.clear();
    for (QCPItemText *text : texts)
        memo->placements.append(
            {text->positionAlignment(), text->padding(), recordOf<TextPlace>(text).backdrop});
}

void keepLabelsClear(QCustomPlot *plot)
{
    // A schematic on a page not shown (another tab, a window not yet open) waits until it is:
    // its size is not yet the one it will have, and a page refreshed while hidden would pay for
    // a search nobody sees. A plot of its own is placed at once. Labels are placed at the size
    // their drawing's scale gives them.
    placeAfterScaling(plot, placeLabelsClear);
}

} // namespace schem
