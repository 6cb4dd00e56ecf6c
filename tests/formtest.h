#pragma once
// What the tests of the bare main window form share: UTF-8 literals and where a widget sits in
// a grid layout.

#include <QGridLayout>
#include <QString>
#include <QWidget>

namespace formtest {

inline QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

struct Cell
{
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    // Row, column, row span, column span: one value QCOMPARE prints in full.
    QList<int> list() const { return {row, column, rowSpan, columnSpan}; }
};

// The cell of `w` in `grid`; row -1 when `w` is not in it.
inline Cell cellIn(const QGridLayout *grid, QWidget *w)
{
    Cell c;
    const int i = grid && w ? grid->indexOf(w) : -1;
    if (i >= 0)
        grid->getItemPosition(i, &c.row, &c.column, &c.rowSpan, &c.columnSpan);
    return c;
}

// The cell of `w` in the grid layout of its parent widget.
inline Cell cellOf(QWidget *w)
{
    return cellIn(w && w->parentWidget() ? qobject_cast<QGridLayout *>(w->parentWidget()->layout())
                                         : nullptr,
                  w);
}

} // namespace formtest
