#include "ui/StatusListModel.h"

#include "sync/ListSummary.h"
#include "ui/StatusImages.h"

#include <QDate>
#include <QFont>
#include <QLocale>

namespace ui {

QString ShortDateText(std::uint32_t dosTime)
{
    const std::uint32_t date = dosTime >> 16;
    const QDate d(static_cast<int>((date >> 9) & 0x7F) + 1980, static_cast<int>((date >> 5) & 0x0F),
                  static_cast<int>(date & 0x1F));
    return QLocale::system().toString(d, QLocale::ShortFormat);
}

StatusListModel::StatusListModel(QObject* parent) : QAbstractTableModel(parent)
{}

void StatusListModel::setRows(std::vector<filesync::FileRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void StatusListModel::clear()
{
    setRows({});
}

void StatusListModel::setBoldRule(BoldRule rule)
{
    m_boldRule = std::move(rule);
}

void StatusListModel::refreshFonts()
{
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::FontRole});
}

int StatusListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int StatusListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StatusListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const filesync::FileRow& r = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::ToolTipRole:
        // Times one hour apart are most likely no change at all; the row says so.
        if (r.oneHourApart)
            return data(index, Qt::DisplayRole).toString() + QLatin1Char('\n') +
                   QString::fromUtf8(filesync::OneHourApartHint());
        [[fallthrough]];
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return QString::fromStdString(r.displayName);
        case ServerDateColumn:
            return r.serverTime ? ShortDateText(*r.serverTime) : QString();
        case LocalDateColumn:
            return r.localTime ? ShortDateText(*r.localTime) : QString();
        default:
            return {};
        }
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(StatusImage(r.status)) : QVariant();
    case Qt::FontRole:
        if (m_boldRule && m_boldRule(index.row(), index.column())) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant StatusListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const names[] = {"Dateiname", "DatumServer", "DatumLokal"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(names[section]);
    return {};
}

} // namespace ui
