#include "ui/StatusListView.h"

#include <QHeaderView>
#include <algorithm>

namespace ui {

StatusListView::StatusListView(bool multiSelect, QWidget* parent)
    : QTreeView(parent), m_model(new StatusListModel(this))
{
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setTextElideMode(Qt::ElideRight);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Fixed);
    header()->resizeSection(StatusListModel::NameColumn, 220);
    header()->resizeSection(StatusListModel::ServerDateColumn, 80);
    header()->resizeSection(StatusListModel::LocalDateColumn, 80);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &StatusListView::markChanged);
    // A reset clears the selection without a selectionChanged signal.
    connect(m_model, &QAbstractItemModel::modelReset, this, &StatusListView::markChanged);
}

QList<int> StatusListView::markedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int StatusListView::firstMarkedRow() const
{
    const QList<int> rows = markedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

void StatusListView::markRow(int row, bool add)
{
    const QModelIndex index = m_model->index(row, 0);
    const auto flags =
        (add ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect) | QItemSelectionModel::Rows;
    selectionModel()->select(index, flags);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

} // namespace ui
