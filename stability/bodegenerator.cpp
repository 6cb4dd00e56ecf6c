#include "stability/bodegenerator.h"

#include <algorithm>
#include <cmath>

namespace stab {

namespace {
// "inf" and "nan" read as numbers but are no gain to draw.
double plainDb(const QString &text)
{
    const double v = text.toDouble();
    return std::isfinite(v) ? v : 0.0;
}
} // namespace

DecadeTicks decadeTicks()
{
    DecadeTicks t;
    t.positions = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    t.labels = {QStringLiteral("1"),  QStringLiteral("10"),  QStringLiteral("100"),
                QStringLiteral("1k"), QStringLiteral("10k"), QStringLiteral("100k"),
                QStringLiteral("1M"), QStringLiteral("10M"), QStringLiteral("100M")};
    return t;
}

DemoCurves demoCurves(const QStringList &openLoopTexts, const QStringList &closedLoopTexts)
{
    DemoCurves c;
    c.frequency = decadeTicks().positions;
    for (int i = 0; i < c.frequency.size(); ++i) {
        c.openLoop.append(plainDb(openLoopTexts.value(i)));
        c.closedLoop.append(plainDb(closedLoopTexts.value(i)));
    }
    return c;
}

GainSpan demoGainSpan(const DemoCurves &curves)
{
    GainSpan span;
    for (const QVector<double> *gains : {&curves.openLoop, &curves.closedLoop})
        for (double g : *gains) {
            span.lower = std::min(span.lower, std::floor(g / 20) * 20);
            span.upper = std::max(span.upper, std::ceil(g / 20) * 20);
        }
    span.lower = std::max(span.lower, -300.0);
    span.upper = std::min(span.upper, 300.0);
    return span;
}

} // namespace stab
