#pragma once

#include "ui/StatusListModel.h"

#include <QTreeView>

// A file list in report style: three fixed columns (220, 80, 80 pixels), no
// visible column headers, whole rows selected, nothing editable, never sorted.
namespace ui {

class StatusListView : public QTreeView
{
    Q_OBJECT
public:
    StatusListView(bool multiSelect, QWidget* parent = nullptr);

    StatusListModel* statusModel() const { return m_model; }

    // Marked rows in list order.
    QList<int> markedRows() const;
    // The first marked row in list order, or -1.
    int firstMarkedRow() const;
    void markRow(int row, bool add = false);

signals:
    // Every change of the marked rows.
    void markChanged();

private:
    StatusListModel* m_model;
};

} // namespace ui
