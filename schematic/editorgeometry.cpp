#include "schematic/editorgeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace schem {

int clampToInt(double v)
{
    if (std::isnan(v)) return 0;
    return int(std::clamp(std::trunc(v), double(-farPixel), double(farPixel)));
}

QPoint roundedPixel(const QPointF &p)
{
    return QPoint(clampToInt(std::round(p.x())), clampToInt(std::round(p.y())));
}

namespace {

struct Vec
{
    float x, y;
};

// Single precision ends at about 3e38; beyond that a double would not convert.
float toFloat(double v)
{
    constexpr double limit = 1e30;
    return std::isnan(v) ? std::numeric_limits<float>::quiet_NaN()
                         : float(std::clamp(v, -limit, limit));
}

bool insideTruncated(const Vec &p, const QRect &rect)
{
    return !std::isnan(p.x) && !std::isnan(p.y) && rect.contains(clampToInt(p.x), clampToInt(p.y));
}

} // namespace

QLineF clipLineToRect(const QPointF &startPoint, const QPointF &endPoint, const QRect &rect)
{
    const Vec start{toFloat(startPoint.x()), toFloat(startPoint.y())};
    const Vec end{toFloat(endPoint.x()), toFloat(endPoint.y())};
    const bool startInside = insideTruncated(start, rect);
    const bool endInside = insideTruncated(end, rect);
    if (startInside && endInside) return QLineF(start.x, start.y, end.x, end.y);

    const Vec v{end.x - start.x, end.y - start.y};
    const float left = float(rect.left());
    const float top = float(rect.top());
    const float width = float(rect.width());   // right - left + 1
    const float height = float(rect.height()); // bottom - top + 1
    QVector<Vec> candidates;
    if (std::fabs(v.y) > 1e-5f) {
        for (const float edge : {float(rect.top()), float(rect.bottom())}) {
            const float mu = (edge - start.y) / v.y;
            if (mu >= 0 && mu <= 1) {
                const float gamma = start.x - left + mu * v.x;
                if (gamma >= 0 && gamma <= width) candidates.append(Vec{left + gamma, edge});
            }
        }
    }
    if (std::fabs(v.x) > 1e-5f) {
        for (const float edge : {float(rect.left()), float(rect.right())}) {
            const float mu = (edge - start.x) / v.x;
            if (mu >= 0 && mu <= 1) {
                const float gamma = start.y - top + mu * v.y;
                if (gamma >= 0 && gamma <= height) candidates.append(Vec{edge, top + gamma});
            }
        }
    }
    if (startInside) candidates.append(start);
    if (endInside) candidates.append(end);

    if (candidates.size() == 2)
        return QLineF(candidates[0].x, candidates[0].y, candidates[1].x, candidates[1].y);
    if (candidates.size() > 2) {
        float best = 0;
        Vec a{0, 0}, b{0, 0};
        for (int i = 0; i < candidates.size() - 1; ++i) {
            for (int k = i + 1; k < candidates.size(); ++k) {
                const float dx = candidates[i].x - candidates[k].x;
                const float dy = candidates[i].y - candidates[k].y;
                const float d = dx * dx + dy * dy;
                if (d > best) {
                    best = d;
                    a = candidates[i];
                    b = candidates[k];
                }
            }
        }
        return QLineF(a.x, a.y, b.x, b.y);
    }
    return QLineF();
}

bool segmentMeetsRect(const QPointF &a, const QPointF &b, const QRectF &rect)
{
    // Liang-Barsky: shrink the segment's parameter range edge by edge; it meets the rectangle
    // while some of the range is left.
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(),
                         rect.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (std::isnan(p[i]) || std::isnan(q[i])) return false;
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

double distanceToSegment(const QPointF &p, const QPointF &a, const QPointF &b)
{
    const double vx = b.x() - a.x(), vy = b.y() - a.y();
    const double wx = p.x() - a.x(), wy = p.y() - a.y();
    const double len2 = vx * vx + vy * vy;
    if (len2 > 0) {
        const double mu = (wx * vx + wy * vy) / len2;
        if (mu > 1) return std::hypot(p.x() - b.x(), p.y() - b.y());
        if (mu > 0) return std::hypot(wx - mu * vx, wy - mu * vy);
    }
    return std::hypot(wx, wy);
}

double snapToGrid(double c, int step)
{
    return step * std::round(c / step);
}

QPointF wireDragCentre(const QPointF &centre, const QPointF &pointer, int step)
{
    return QPointF(centre.x() - step * std::round((centre.x() - pointer.x()) / step),
                   centre.y() - step * std::round((centre.y() - pointer.y()) / step));
}

WireTarget wireModeTarget(const QPointF &start, const QPointF &pointer, int step)
{
    const QPointF g(snapToGrid(pointer.x(), step), snapToGrid(pointer.y(), step));
    WireTarget t;
    t.horizontal = !(std::fabs(g.x() - start.x()) < std::fabs(g.y() - start.y()));
    t.end = t.horizontal ? QPointF(g.x(), start.y()) : QPointF(start.x(), g.y());
    return t;
}

QVector<double> gridLinePositions(double lower, double upper, int step, int maxLines)
{
    QVector<double> positions;
    if (step < 1 || maxLines < 1 || !std::isfinite(lower) || !std::isfinite(upper) || upper < lower)
        return positions;
    // Widen the spacing in 1-2-5 steps until the lines fit; spacing stays a multiple of step.
    double spacing = step;
    const double factors[] = {2, 5, 10};
    for (double decade = 1; (upper - lower) / spacing + 1 > maxLines; decade *= 10) {
        for (const double f : factors) {
            spacing = double(step) * f * decade;
            if ((upper - lower) / spacing + 1 <= maxLines) break;
        }
        if (!std::isfinite(spacing)) return positions;
    }
    const double first = std::trunc(lower / spacing);
    const double last = std::floor(upper / spacing);
    // Far from the origin first + 1 can equal first, so the lines are counted, not the multiples.
    const int count = clampToInt(std::min(last - first + 1, double(maxLines) + 1));
    positions.reserve(count);
    for (int i = 0; i < count; ++i)
        positions.append(spacing * (first + i));
    return positions;
}

QPointF amplifierPlacement(const QRectF &visible, int step, const QVector<QPointF> &taken)
{
    const QRectF view = visible.normalized();
    const int grid = step > 0 ? step : 1;
    // Whole grid steps, a symbol's size and a little more: neighbours do not overlap.
    const double size = 2 * ampSymHalfSize;
    const double spacing = grid * std::ceil((size + 200) / grid);
    const QPointF middle(snapToGrid(view.center().x(), grid), snapToGrid(view.center().y(), grid));
    auto fits = [&view](const QPointF &c) {
        return c.x() - ampSymHalfSize >= view.left() && c.x() + ampSymHalfSize <= view.right() &&
               c.y() - ampSymHalfSize >= view.top() && c.y() + ampSymHalfSize <= view.bottom();
    };
    auto free = [&taken, size](const QPointF &c) {
        for (const QPointF &t : taken)
            if (std::fabs(t.x() - c.x()) < size && std::fabs(t.y() - c.y()) < size) return false;
        return true;
    };

    // Rings of grid points about the middle, nearest first; the first free one that fits wins,
    // else the first free one.
    QPointF firstFree = middle;
    bool haveFree = free(middle);
    if (haveFree && fits(middle)) return middle;
    const int rings = 2 + taken.size();
    for (int r = 1; r <= rings; ++r) {
        for (int i = -r; i <= r; ++i) {
            for (int j = -r; j <= r; ++j) {
                if (std::max(std::abs(i), std::abs(j)) != r) continue;
                const QPointF c(middle.x() + i * spacing, middle.y() - j * spacing);
                if (!free(c)) continue;
                if (fits(c)) return c;
                if (!haveFree) {
                    haveFree = true;
                    firstFree = c;
                }
            }
        }
    }
    return firstFree;
}

} // namespace schem
