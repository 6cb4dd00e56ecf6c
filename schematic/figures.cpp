#include "schematic/figures.h"

#include <cmath>
#include <initializer_list>

namespace schem {

namespace {

const double pi = 3.14159265358979323846;

// A stroke from offsets to the anchor, in the order given.
Stroke offsets(double x, double y, std::initializer_list<QPointF> points)
{
    Stroke s;
    s.reserve(int(points.size()));
    for (const QPointF &p : points)
        s.append(QPointF(x + p.x(), y + p.y()));
    return s;
}

// Four semicircular turns hanging below the line y - 100, with a lead at each end. The arrays
// are filled turn by turn; the last point of a turn is written again as the first of the next,
// so 4 x 100 + 1 samples remain, plus the three lead points.
Stroke coil(double x, double y, double radius)
{
    QVector<double> xs(401), ys(401);
    for (int k = 0; k < 4; ++k) {
        const double c = radius + 2 * radius * k;
        for (int j = 0; j <= 100; ++j) {
            const double theta = j * pi / 100;
            xs[100 * k + j] = x + (c - radius * std::cos(theta));
            ys[100 * k + j] = y - 100 - radius * std::sin(theta);
        }
    }
    const double length = 8 * radius;
    Stroke s;
    s.reserve(404);
    s.append(QPointF(x, y));
    for (int i = 0; i < 401; ++i)
        s.append(QPointF(xs[i], ys[i]));
    s.append(QPointF(x + length, y - 100));
    s.append(QPointF(x + length, y));
    return s;
}

// Half circles sampled at whole degrees: x = x0 + rx * cos(k deg), y = y0 + ry * sin(k deg).
Stroke arc(double x0, double y0, double rx, double ry, int lastDegree)
{
    Stroke s;
    s.reserve(lastDegree + 1);
    for (int k = 0; k <= lastDegree; ++k) {
        const double theta = k * pi / 180;
        s.append(QPointF(x0 + rx * std::cos(theta), y0 + ry * std::sin(theta)));
    }
    return s;
}

} // namespace

Figure wireHor(double x, double y, double len)
{
    return {offsets(x, y, {{0, 0}, {len, 0}})};
}

Figure wireVer(double x, double y, double len)
{
    return {offsets(x, y, {{0, 0}, {0, -len}})};
}

Figure wireDia(double x, double y, double xEnd, double yEnd)
{
    return {Stroke{QPointF(x, y), QPointF(xEnd, yEnd)}};
}

Figure resistorHor(double x, double y)
{
    return {offsets(x, y, {{0, 0}, {50, 100}, {150, -100}, {250, 100}, {350, -100}, {400, 0}})};
}

Figure resistorVer(double x, double y)
{
    return {offsets(x, y, {{0, 0}, {100, -50}}), offsets(x, y, {{100, -50}, {-100, -150}}),
            offsets(x, y, {{-100, -150}, {100, -250}}), offsets(x, y, {{100, -250}, {-100, -350}}),
            offsets(x, y, {{-100, -350}, {0, -400}})};
}

Figure capacitorHor(double x, double y)
{
    return {offsets(x, y, {{0, 0}, {150, 0}}), offsets(x, y, {{150, -150}, {150, 150}}),
            offsets(x, y, {{250, -150}, {250, 150}}), offsets(x, y, {{250, 0}, {400, 0}})};
}

Figure capacitorVer(double x, double y)
{
    return {offsets(x, y, {{0, 0}, {0, -150}}), offsets(x, y, {{-150, -150}, {150, -150}}),
            offsets(x, y, {{-150, -250}, {150, -250}}), offsets(x, y, {{0, -250}, {0, -400}})};
}

Figure capacitorLarge(double x, double y)
{
    return {offsets(x, y, {{0, 0}, {0, -300}}), offsets(x, y, {{-300, -300}, {300, -300}}),
            offsets(x, y, {{-300, -500}, {300, -500}}), offsets(x, y, {{0, -500}, {0, -800}})};
}

Figure inductorHor(double x, double y)
{
    return {coil(x, y, 50)};
}

Figure inductorLarge(double x, double y)
{
    return {coil(x, y, 100)};
}

Figure inductorVer(double x, double y)
{
    // Each turn is an upper and a lower quarter of an ellipse (semi-axes 100 across, 50 along),
    // sampled at whole units of dy; the lower quarters of the first three turns therefore stop
    // a little short of the next turn's start, which is too small to see.
    auto upper = [](int n) { return -100 - 2 * std::sqrt(2500.0 - double(n - 50) * (n - 50)); };
    auto lower = [](int n) { return -100 - 2 * std::sqrt(2500.0 - double(n) * n); };
    Figure f;
    for (int quarter = 0; quarter < 8; ++quarter) {
        Stroke s;
        s.reserve(52);
        if (quarter == 0) {
            s.append(QPointF(x - 100, y));
            s.append(QPointF(x, y));
        }
        const bool isUpper = quarter % 2 == 0;
        for (int n = 0; n < 50; ++n)
            s.append(QPointF(x + (isUpper ? upper(n) : lower(n)), y + (-50.0 * quarter - n)));
        if (quarter == 7) {
            s.append(QPointF(x - 100, y - 400));
            s.append(QPointF(x, y - 400));
        }
        f.append(s);
    }
    return f;
}

Figure ground(double x, double y)
{
    return {offsets(x, y, {{-50, 0}, {50, 0}}), offsets(x, y, {{-50, 0}, {0, -100}, {50, 0}})};
}

Figure groundSmall(double x, double y)
{
    return {offsets(x, y, {{0, 0}, {0, -20}}), offsets(x, y, {{20, -20}, {-20, -20}}),
            offsets(x, y, {{-20, -20}, {0, -40}, {20, -20}})};
}

namespace {

// Triangle of length `len` and half height `half`, pointing toward `dir` (+1 right, -1 left),
// with a plus sign at the lower input and a minus sign at the upper one, both at dy = +-`sign`.
Figure amplifier(double x, double y, double len, double half, double sign, double dir)
{
    return {offsets(x, y, {{0, -half}, {dir * len, 0}}),
            offsets(x, y, {{0, half}, {dir * len, 0}}),
            offsets(x, y, {{0, -half}, {0, half}}),
            offsets(x, y, {{dir * 100, -sign + 50}, {dir * 100, -sign - 50}}),
            offsets(x, y, {{dir * 50, -sign}, {dir * 150, -sign}}),
            offsets(x, y, {{dir * 50, sign}, {dir * 150, sign}})};
}

} // namespace

Figure powerAmp(double x, double y)
{
    return amplifier(x, y, 1000, 500, 200, 1);
}

Figure powerAmpLeft(double x, double y)
{
    return amplifier(x, y, 1000, 500, 200, -1);
}

Figure opAmp(double x, double y)
{
    return amplifier(x, y, 600, 300, 150, 1);
}

Figure opAmpLeft(double x, double y)
{
    return amplifier(x, y, 600, 300, 150, -1);
}

Figure rectangle(double x, double y, double xSize, double ySize)
{
    return {offsets(x, y, {{0, 0}, {xSize, 0}}), offsets(x, y, {{xSize, ySize}, {xSize, 0}}),
            offsets(x, y, {{0, ySize}, {xSize, ySize}}), offsets(x, y, {{0, ySize}, {0, 0}})};
}

Figure triangle(double x, double y, double xSize, double ySize)
{
    return {offsets(x, y, {{0, 0}, {xSize, 0.5 * ySize}}),
            offsets(x, y, {{xSize, 0.5 * ySize}, {0, ySize}}), offsets(x, y, {{0, ySize}, {0, 0}})};
}

Figure hopHor(double x, double y, double r)
{
    return {arc(x, y, -r, r, 180)};
}

Figure hopVer(double x, double y, double r)
{
    return {arc(x, y, -r, r, 90), arc(x, y, -r, -r, 90)};
}

Figure sumCircle(double x, double y)
{
    return {arc(x, y, 25, 25, 180), arc(x, y, 25, -25, 180)};
}

} // namespace schem
