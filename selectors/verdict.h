#pragma once

#include <QString>
#include <QVector>

namespace selectors {

// What a selector table does with one catalog row once a requirement is known.
enum class Verdict {
    Fits,     // meets every requirement: shown as it is
    Close,    // within the tolerance: shown, with the failing cells tinted
    Bridge,   // two amplifiers in bridge meet it: shown as a bridge solution
    Parallel, // N amplifiers sharing the current meet it: shown as a parallel solution
    Hidden,   // none of the above
};

// The catalog name behind a shown name: bridge and parallel rows carry a suffix after the
// first "-" ("LX21-PARALLEL (3)"), and the part is found by the name before it.
inline QString plainPartName(const QString &shownName)
{
    const int dash = shownName.indexOf(QLatin1Char('-'));
    return dash < 0 ? shownName : shownName.left(dash);
}

// How many amplifiers must share `currentA` when each carries `perAmpA` continuously, or 0
// when no group of at most `maxAmps` does. Compared as doubles, so an "open" current or a part
// without a current rating gives 0 rather than an overflowing count.
inline int ampsToShare(double currentA, double perAmpA, int maxAmps)
{
    if (!(perAmpA > 0) || !(currentA > 0) || maxAmps < 1) return 0;
    // Typed currents and ratings are decimals: 1.1 A over 0.1 A parts divides to
    // 11.000000000000002, which must still mean 11 amplifiers, not 12.
    const double share = currentA / perAmpA * (1.0 - 1e-12);
    if (!(share <= maxAmps)) return 0; // also catches NaN and infinity
    int n = static_cast<int>(share);
    if (n < share) ++n;
    return n;
}

// A hidden row shows nothing of the requirement: its cells keep the part's own figures (the
// row of the same index in `catalog`). A requirement no part can meet, such as an "open"
// current, then leaves no runaway swing or voltage in the table's model.
template <class Row> void keepCatalogFiguresWhenHidden(QVector<Row> &rows, const QVector<Row> &catalog)
{
    for (int i = 0; i < rows.size() && i < catalog.size(); ++i) {
        if (rows.at(i).verdict != Verdict::Hidden) continue;
        rows[i] = catalog.at(i);
        rows[i].verdict = Verdict::Hidden;
    }
}

} // namespace selectors
