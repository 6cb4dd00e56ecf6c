#include "schematic/labelplacement.h"

#include "schematic/editorgeometry.h"

#include <qcustomplot.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace schem {

namespace {

const char *const kKept = "schem_labelsKept";
const char *const kGivenAlignment = "schem_givenAlignment";

} // namespace

QVector<PixelSegment> strokeSegments(QCustomPlot *plot)
{
    QVector<PixelSegment> segments;
    for (int g = 0; g < plot->graphCount(); ++g) {
        QCPGraph *graph = plot->graph(g);
        if (!graph->visible() || graph->pen().style() == Qt::NoPen) continue;
        QCPAxis *key = graph->keyAxis();
        QCPAxis *value = graph->valueAxis();
        if (!key || !value) continue;
        const double half = graph->pen().widthF() / 2;
        QPointF previous;
        bool first = true;
        for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it) {
            const QPointF p(key->coordToPixel(it->key), value->coordToPixel(it->value));
            if (!first) segments.append({previous, p, half});
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

namespace {

int hits(const QRectF &box, const QVector<PixelSegment> &strokes, const QVector<QRectF> &others,
         const QRectF &area)
{
    int n = area.isValid() && !area.contains(box) ? 1 : 0;
    for (const PixelSegment &s : strokes) {
        const QRectF near = box.adjusted(-s.halfPen, -s.halfPen, s.halfPen, s.halfPen);
        if (segmentMeetsRect(s.a, s.b, near)) ++n;
    }
    for (const QRectF &o : others)
        if (box.intersects(o)) ++n;
    return n;
}

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// The padding that moves the glyphs of a text aligned `a` by (dx, dy) pixels from where no
// padding puts them: padding only ever grows the box, so the side it goes on depends on the
// alignment (a centred text moves by half of it).
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

} // namespace

void placeLabelsClear(QCustomPlot *plot)
{
    if (!plot) return;
    QVector<QCPItemText *> texts;
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || !text->visible() || text->text().trimmed().isEmpty()) continue;
        if (!text->property(kGivenAlignment).isValid())
            text->setProperty(kGivenAlignment, int(text->positionAlignment()));
        text->setPositionAlignment(Qt::Alignment(text->property(kGivenAlignment).toInt()));
        text->setPadding(QMargins());
        texts << text;
    }
    if (texts.isEmpty()) return;
    const QVector<PixelSegment> strokes = strokeSegments(plot);
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
    // Beyond the alignments, nudges of up to a line of text: a label squeezed between two wires
    // fits where none of its edges does, and a caption too large for its symbol goes beside it.
    constexpr int nudgeStep = 2;
    for (int i = 0; i < texts.size(); ++i) {
        QCPItemText *text = texts[i];
        const QRectF area = text->clipToAxisRect() && text->clipAxisRect()
                                ? QRectF(text->clipAxisRect()->rect())
                                : QRectF();
        QVector<QRectF> allOthers = boxes;
        allOthers.remove(i);
        const QRectF given = boxes[i];
        if (hits(given, strokes, allOthers, area) == 0) continue;

        // Only what lies within reach of the candidates can be hit.
        const int nudgeMax = std::min(40, int(std::ceil(QFontMetricsF(text->font()).height())));
        const double reachX = given.width() + nudgeMax + 4, reachY = given.height() + nudgeMax + 4;
        const QRectF reach = given.adjusted(-reachX, -reachY, reachX, reachY);
        QVector<PixelSegment> near;
        for (const PixelSegment &sgm : strokes)
            if (segmentMeetsRect(sgm.a, sgm.b, reach)) near << sgm;
        QVector<QRectF> others;
        for (const QRectF &o : allOthers)
            if (o.intersects(reach)) others << o;

        // The other places about the anchor, the nearest to the given one first.
        struct Candidate
        {
            Qt::Alignment alignment;
            int dx, dy;
            QRectF box;
            double shift;
        };
        QVector<Candidate> candidates;
        for (Qt::Alignment a : alignments) {
            text->setPositionAlignment(a);
            const QRectF box = glyphBox(text);
            // Padding only pushes the glyphs away from the edge the anchor holds.
            const int leftMost = (a & Qt::AlignLeft) ? 0 : -nudgeMax;
            const int rightMost = (a & Qt::AlignRight) ? 0 : nudgeMax;
            const int topMost = (a & Qt::AlignTop) ? 0 : -nudgeMax;
            const int bottomMost = (a & Qt::AlignBottom) ? 0 : nudgeMax;
            for (int dx = leftMost; dx <= rightMost; dx += nudgeStep) {
                for (int dy = topMost; dy <= bottomMost; dy += nudgeStep) {
                    const QRectF moved = box.translated(dx, dy);
                    candidates.append({a, dx, dy, moved, distance(moved.center(), given.center())});
                }
            }
        }
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate &x, const Candidate &y) { return x.shift < y.shift; });
        const Candidate *best = nullptr;
        int fewest = 0;
        for (const Candidate &c : candidates) {
            const int n = hits(c.box, near, others, area);
            if (!best || n < fewest) {
                best = &c;
                fewest = n;
            }
            if (n == 0) break;
        }
        text->setPositionAlignment(best->alignment);
        text->setPadding(paddingFor(best->alignment, best->dx, best->dy));
        boxes[i] = glyphBox(text);
    }
}

void keepLabelsClear(QCustomPlot *plot)
{
    if (!plot || plot->property(kKept).toBool()) return;
    plot->setProperty(kKept, true);
    QObject::connect(plot, &QCustomPlot::afterLayout, plot, [plot] { placeLabelsClear(plot); });
}

} // namespace schem
