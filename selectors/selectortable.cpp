#include "selectors/selectortable.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

namespace selectors {

QStandardItem *tableCell(const QVariant &value, bool tint)
{
    auto *item = new QStandardItem;
    item->setData(value, Qt::EditRole);
    item->setTextAlignment(Qt::AlignCenter);
    if (tint) item->setBackground(QBrush(closeMatchTint(), Qt::SolidPattern));
    return item;
}

void resetTableModel(QStandardItemModel *model, const QStringList &headers)
{
    model->clear();
    model->setColumnCount(headers.size());
    model->setHorizontalHeaderLabels(headers);
    model->setSortRole(Qt::EditRole);
}

void showTableModel(QTableView *view, QStandardItemModel *model, const QList<int> &hiddenColumns)
{
    if (view->model() != model) view->setModel(model);
    view->verticalHeader()->hide();
    view->horizontalHeader()->show();
    for (int column = 0; column < model->columnCount(); ++column)
        view->setColumnHidden(column, hiddenColumns.contains(column));
    view->resizeColumnsToContents();
}

void sortTable(QTableView *view, int column)
{
    // The indicator alone sorts only when it moves; sorting the model as well makes the
    // order right whatever the indicator showed before.
    view->horizontalHeader()->setSortIndicator(column, Qt::AscendingOrder);
    if (view->model()) view->model()->sort(column, Qt::AscendingOrder);
}

QString linkText(const QString &url, const QString &name)
{
    return QStringLiteral("<html><head/><body><p><a href=\"") + url +
           QStringLiteral("\"><span style=\" text-decoration: underline; color:#0000ff;\">") +
           name + QStringLiteral("</span></a></p></body></html>");
}

int firstShownRow(const QTableView *view)
{
    const int rows = view->model() ? view->model()->rowCount() : 0;
    for (int row = 0; row < rows; ++row)
        if (!view->isRowHidden(row)) return row;
    return rows;
}

} // namespace selectors
