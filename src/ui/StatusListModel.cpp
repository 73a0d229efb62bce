#include "ui/StatusListModel.h"

#include "ui/RowToolTip.h"
#include "ui/StatusImages.h"

#include <QDate>
#include <QFont>
#include <QLocale>

namespace ui {

QLocale DisplayLocale()
{
    // Without a language setting (the bare C locale) the German program shows
    // German dates rather than the C locale's.
    const QLocale system = QLocale::system();
    return system.language() == QLocale::C ? QLocale(QLocale::German, QLocale::Germany) : system;
}

QString ShortDateText(std::uint32_t dosTime, const QLocale& locale)
{
    const std::uint32_t date = dosTime >> 16;
    const QDate d(static_cast<int>((date >> 9) & 0x7F) + 1980, static_cast<int>((date >> 5) & 0x0F),
                  static_cast<int>(date & 0x1F));
    return locale.toString(d, QLocale::ShortFormat);
}

StatusListModel::StatusListModel(QObject* parent) : QAbstractTableModel(parent), m_locale(DisplayLocale())
{}

void StatusListModel::setLocale(const QLocale& locale)
{
    beginResetModel();
    m_locale = locale;
    endResetModel();
}

void StatusListModel::setRows(std::vector<filesync::FileRow> rows, QString unreachableCause)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_unreachableCause = std::move(unreachableCause);
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
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return QString::fromStdString(r.displayName);
        case ServerDateColumn:
            return r.serverTime ? ShortDateText(*r.serverTime, m_locale) : QString();
        case LocalDateColumn:
            return r.localTime ? ShortDateText(*r.localTime, m_locale) : QString();
        default:
            return {};
        }
    case Qt::ToolTipRole:
        return RowToolTip(r, m_locale, m_unreachableCause);
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(StatusIcon(r.status)) : QVariant();
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
