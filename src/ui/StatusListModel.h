#pragma once

#include "sync/FileRow.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <functional>
#include <vector>

// The rows of a file list (name, server date, local date, status picture). The
// rows are the only record of the statuses between two refreshes.
namespace ui {

class StatusListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        NameColumn,
        ServerDateColumn,
        LocalDateColumn,
        ColumnCount
    };

    explicit StatusListModel(QObject* parent = nullptr);

    // unreachableCause: why the server folder could not be reached, in words, for
    // the rows that show it; empty when the cause is an ordinary one.
    void setRows(std::vector<filesync::FileRow> rows, QString unreachableCause = {});
    void clear();
    const std::vector<filesync::FileRow>& rows() const { return m_rows; }
    const filesync::FileRow& row(int index) const { return m_rows.at(static_cast<std::size_t>(index)); }

    // Decides per cell whether the text is bold (the start file's name).
    using BoldRule = std::function<bool(int row, int column)>;
    void setBoldRule(BoldRule rule);
    // Repaint after the start file changed.
    void refreshFonts();

    // The dates follow the system's locale (DisplayLocale); tests set others.
    void setLocale(const QLocale& locale);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<filesync::FileRow> m_rows;
    QString m_unreachableCause;
    BoldRule m_boldRule;
    QLocale m_locale;
};

// The system's locale, or German where the system has no language set.
QLocale DisplayLocale();

// A date as the locale's short date format shows it ("07.12.26" in German), from
// a packed DOS date-time.
QString ShortDateText(std::uint32_t dosTime, const QLocale& locale = DisplayLocale());

} // namespace ui
