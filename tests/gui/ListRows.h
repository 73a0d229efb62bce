#pragma once

#include "ui/StatusListView.h"

#include <QFont>
#include <string>

// Finding a file's row in one of the window's lists.
namespace guitest {

// The row of the file with this name (its bytes), or -1.
inline int RowOf(const ui::StatusListView* list, const std::string& name)
{
    const auto& rows = list->statusModel()->rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name)
            return static_cast<int>(i);
    return -1;
}

// The row's status, or -1 without such a row.
inline int StatusOf(const ui::StatusListView* list, const std::string& name)
{
    const int row = RowOf(list, name);
    return row < 0 ? -1 : list->statusModel()->row(row).status;
}

// Whether the row is drawn in bold (the start file).
inline bool IsBold(const ui::StatusListView* list, const std::string& name)
{
    const ui::StatusListModel* model = list->statusModel();
    return model->data(model->index(RowOf(list, name), 0), Qt::FontRole).value<QFont>().bold();
}

} // namespace guitest
