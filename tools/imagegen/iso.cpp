#include "iso.h"

#include "canvas.h"

#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

double signedArea(const QPolygonF &poly)
{
    double a = 0;
    for (int i = 0; i < poly.size(); ++i) {
        const QPointF &p = poly[i];
        const QPointF &q = poly[(i + 1) % poly.size()];
        a += p.x() * q.y() - q.x() * p.y();
    }
    return a / 2;
}

struct Face
{
    QVector<QVector3D> corners; // counter-clockwise seen from outside
    QVector3D normal;
    bool side;
};

QVector<Face> facesOf(const Prism &pr)
{
    auto at = [&pr](const QPointF &ab, double t) {
        return pr.origin + pr.u * float(ab.x()) + pr.v * float(ab.y()) + pr.w * float(t);
    };
    const int n = pr.polygon.size();
    QVector<Face> faces;
    Face top{{}, pr.w.normalized(), false}, bottom{{}, -pr.w.normalized(), false};
    for (int i = 0; i < n; ++i) {
        top.corners << at(pr.polygon[i], 1);
        bottom.corners.prepend(at(pr.polygon[i], 0));
    }
    faces << bottom;
    for (int i = 0; i < n; ++i) {
        const QPointF &a = pr.polygon[i];
        const QPointF &b = pr.polygon[(i + 1) % n];
        Face f{{at(a, 0), at(b, 0), at(b, 1), at(a, 1)}, {}, true};
        f.normal = QVector3D::crossProduct(f.corners[1] - f.corners[0], f.corners[3] - f.corners[0])
                       .normalized();
        faces << f;
    }
    faces << top;
    return faces;
}

struct Box3
{
    QVector3D lo, hi;
};

Box3 boundsOf(const Prism &pr)
{
    Box3 b{QVector3D(1e9f, 1e9f, 1e9f), QVector3D(-1e9f, -1e9f, -1e9f)};
    for (const Face &f : facesOf(pr))
        for (const QVector3D &c : f.corners)
            for (int k = 0; k < 3; ++k) {
                b.lo[k] = std::min(b.lo[k], c[k]);
                b.hi[k] = std::max(b.hi[k], c[k]);
            }
    return b;
}

QColor shade(const QColor &base, const QVector3D &normal)
{
    static const QVector3D light = QVector3D(0.35f, 0.6f, 1.0f).normalized();
    const double lambert = std::max(0.0f, QVector3D::dotProduct(normal, light));
    const double f = 0.7 + 0.38 * lambert;
    auto ch = [f](int c) { return std::clamp(int(std::lround(c * f + (f > 1 ? 12 : 0))), 0, 255); };
    return QColor(ch(base.red()), ch(base.green()), ch(base.blue()));
}

} // namespace

IsoScene::IsoScene() : ex(0.90, 0.30), ey(-0.58, 0.40), ez(0, -1) {}

QPointF IsoScene::project(const QVector3D &v) const
{
    return ex * v.x() + ey * v.y() + ez * v.z();
}

Prism &IsoScene::add(const Prism &prism)
{
    prisms << prism;
    return prisms.last();
}

Prism &IsoScene::box(const QVector3D &min, const QVector3D &size, const QColor &colour)
{
    Prism p;
    p.origin = min;
    p.u = QVector3D(1, 0, 0);
    p.v = QVector3D(0, 1, 0);
    p.w = QVector3D(0, 0, size.z());
    p.polygon = QPolygonF(
        {QPointF(0, 0), QPointF(size.x(), 0), QPointF(size.x(), size.y()), QPointF(0, size.y())});
    p.colour = colour;
    return add(p);
}

Prism &IsoScene::cylinderZ(const QVector3D &baseCentre, double radius, double height,
                           const QColor &colour)
{
    Prism p;
    p.origin = baseCentre;
    p.u = QVector3D(1, 0, 0);
    p.v = QVector3D(0, 1, 0);
    p.w = QVector3D(0, 0, float(height));
    p.polygon = circlePolygon(QPointF(0, 0), radius);
    p.colour = colour;
    p.smooth = true;
    return add(p);
}

Prism &IsoScene::cylinderY(const QVector3D &baseCentre, double radius, double length,
                           const QColor &colour)
{
    Prism p;
    p.origin = baseCentre;
    p.u = QVector3D(0, 0, 1); // u x v = +y
    p.v = QVector3D(1, 0, 0);
    p.w = QVector3D(0, float(length), 0);
    p.polygon = circlePolygon(QPointF(0, 0), radius);
    p.colour = colour;
    p.smooth = true;
    return add(p);
}

Prism &IsoScene::extrudeZ(const QPolygonF &outline, double z0, double height, const QColor &colour)
{
    Prism p;
    p.origin = QVector3D(0, 0, float(z0));
    p.u = QVector3D(1, 0, 0);
    p.v = QVector3D(0, 1, 0);
    p.w = QVector3D(0, 0, float(height));
    p.polygon = signedArea(outline) < 0
                    ? QPolygonF(QVector<QPointF>(outline.rbegin(), outline.rend()))
                    : outline;
    p.colour = colour;
    return add(p);
}

void IsoScene::draw(QPainter &p, const QRectF &area, double lineWidth) const
{
    // Fit: bounding box of every projected corner.
    QRectF bounds;
    bool first = true;
    QVector<Box3> boxes;
    QVector<QRectF> screen;
    for (const Prism &pr : prisms) {
        boxes << boundsOf(pr);
        QPolygonF all;
        for (const Face &f : facesOf(pr))
            for (const QVector3D &c : f.corners)
                all << project(c);
        const QRectF r = all.boundingRect();
        screen << r;
        bounds = first ? r : bounds.united(r);
        first = false;
    }
    if (prisms.isEmpty() || bounds.width() <= 0 || bounds.height() <= 0) return;
    const double scale = std::min(area.width() / bounds.width(), area.height() / bounds.height());
    const QPointF offset = area.center() - bounds.center() * scale;
    auto toScreen = [&](const QVector3D &v) { return project(v) * scale + offset; };

    // Visible faces project counter-clockwise in this sense; the top of a unit cube is visible.
    const double visibleSign = signedArea(QPolygonF({project({0, 0, 1}), project({1, 0, 1}),
                                                     project({1, 1, 1}), project({0, 1, 1})})) > 0
                                   ? 1
                                   : -1;

    // Painter's order: A goes before B when the two overlap on screen and A lies wholly on the
    // far side of B along one axis (the viewer looks from +x, +y, +z).
    const int n = prisms.size();
    QVector<QVector<int>> after(n);
    QVector<int> indegree(n, 0);
    const float eps = 1e-4f;
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            if (!screen[a].intersects(screen[b])) continue;
            for (int k : {2, 0, 1}) {
                if (boxes[a].hi[k] <= boxes[b].lo[k] + eps) {
                    after[a] << b;
                    ++indegree[b];
                    break;
                }
                if (boxes[b].hi[k] <= boxes[a].lo[k] + eps) {
                    after[b] << a;
                    ++indegree[a];
                    break;
                }
            }
        }
    QVector<int> order;
    QVector<bool> done(n, false);
    while (order.size() < n) {
        int pick = -1;
        for (int i = 0; i < n && pick < 0; ++i)
            if (!done[i] && indegree[i] == 0) pick = i;
        for (int i = 0; i < n && pick < 0; ++i) // a cycle: fall back to the order of adding
            if (!done[i]) pick = i;
        done[pick] = true;
        order << pick;
        for (int b : after[pick])
            --indegree[b];
    }

    const QPen edgePen(ink::line, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (int idx : order) {
        const Prism &pr = prisms[idx];
        const QVector<Face> faces = facesOf(pr);
        QVector<QPointF> silhouette;
        QVector<QPolygonF> capOutlines;
        for (const Face &f : faces) {
            QPolygonF poly;
            for (const QVector3D &c : f.corners)
                poly << toScreen(c);
            if (signedArea(poly) * visibleSign <= 1e-9) continue;
            const QColor c = shade(pr.colour, f.normal);
            if (pr.smooth && f.side) {
                p.setPen(QPen(c, 1.0));
                p.setBrush(c);
                p.drawPolygon(poly);
                for (const QPointF &pt : poly)
                    silhouette << pt;
            } else {
                p.setPen(pr.smooth ? Qt::NoPen : edgePen);
                p.setBrush(c);
                p.drawPolygon(poly);
                if (pr.smooth) capOutlines << poly;
                for (const QPointF &pt : poly)
                    silhouette << pt;
            }
        }
        if (pr.smooth) {
            p.setBrush(Qt::NoBrush);
            p.setPen(edgePen);
            p.drawPolygon(convexHull(silhouette));
            for (const QPolygonF &cap : capOutlines)
                p.drawPolygon(cap);
        }
        if (pr.endArt) {
            // The +w end face, mapped affinely from (a, b) to the screen.
            const QVector3D o = pr.origin + pr.w;
            const QPointF s0 = toScreen(o);
            const QPointF su = toScreen(o + pr.u) - s0, sv = toScreen(o + pr.v) - s0;
            p.save();
            p.setTransform(QTransform(su.x(), su.y(), sv.x(), sv.y(), s0.x(), s0.y()), true);
            pr.endArt(p);
            p.restore();
        }
    }
}

QPolygonF circlePolygon(const QPointF &centre, double radius, int segments)
{
    QPolygonF poly;
    for (int i = 0; i < segments; ++i) {
        const double a = 2 * M_PI * i / segments;
        poly << centre + QPointF(radius * std::cos(a), radius * std::sin(a));
    }
    return poly;
}

QPolygonF roundedRectPolygon(const QRectF &r, double radius, int segmentsPerCorner)
{
    // Counter-clockwise with y pointing up: the corner at (max x, max y) first.
    const QPointF centres[4] = {QPointF(r.right() - radius, r.bottom() - radius),
                                QPointF(r.left() + radius, r.bottom() - radius),
                                QPointF(r.left() + radius, r.top() + radius),
                                QPointF(r.right() - radius, r.top() + radius)};
    QPolygonF poly;
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i <= segmentsPerCorner; ++i) {
            const double a = (90.0 * k + 90.0 * i / segmentsPerCorner) * M_PI / 180.0;
            poly << centres[k] + QPointF(radius * std::cos(a), radius * std::sin(a));
        }
    return poly;
}

QPolygonF convexHull(QVector<QPointF> pts)
{
    std::sort(pts.begin(), pts.end(), [](const QPointF &a, const QPointF &b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    if (pts.size() < 3) return QPolygonF(pts);
    auto cross = [](const QPointF &o, const QPointF &a, const QPointF &b) {
        return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
    };
    QVector<QPointF> hull(2 * pts.size());
    int k = 0;
    for (int i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0)
            --k;
        hull[k++] = pts[i];
    }
    for (int i = pts.size() - 2, t = k + 1; i >= 0; --i) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0)
            --k;
        hull[k++] = pts[i];
    }
    hull.resize(k - 1);
    return QPolygonF(hull);
}
