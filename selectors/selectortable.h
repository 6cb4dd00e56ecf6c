#pragma once

#include <QColor>
#include <QStringList>
#include <QVariant>

class QStandardItem;
class QStandardItemModel;
class QTableView;

// What the three selector tables share on screen: centred cells that keep numbers as numbers
// (so a click on a header sorts numerically), the tint of a close match, and the hidden
// columns of the list index and the price.
namespace selectors {

// The yellow of a close match, as in the page legends.
inline QColor closeMatchTint()
{
    return QColor(255, 255, 160);
}

// A centred cell holding `value` in the edit role; tinted as a close match when asked.
QStandardItem *tableCell(const QVariant &value, bool tint = false);

// Clears the model and gives it the header texts; the model then sorts by the edit role.
void resetTableModel(QStandardItemModel *model, const QStringList &headers);

// Gives the view its model (once), hides the vertical header and the listed columns, and
// fits the columns to their contents.
void showTableModel(QTableView *view, QStandardItemModel *model, const QList<int> &hiddenColumns);

// Sorts the rows by the column, ascending, with the header's indicator on it. The sort is
// stable: equal prices keep the order they had.
void sortTable(QTableView *view, int column);

// A name shown as a link (underlined, blue) to a product page or drawing.
QString linkText(const QString &url, const QString &name);

// The first row, in the table's current order, that is not hidden; the row count when all are.
int firstShownRow(const QTableView *view);

} // namespace selectors
