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

    // A short summary of the list in a band below its rows, inside the list's own
    // frame (the rows give up the band's height; the list keeps its place and
    // size). Each line is cut with "..." when too long; the tooltip has it whole.
    // An empty text hides the band.
    void setSummary(const QString& text);
    QString summary() const;

    // Shown inside the list area while the list has no rows; empty for none.
    void setEmptyHint(const QString& hint);
    QString emptyHint() const { return m_emptyHint; }

    // A line drawn over the middle of the list, e.g. while the share it comes from
    // does not answer; it moves nothing. An empty text takes it away.
    void setNotice(const QString& text);
    QString notice() const { return m_notice; }

signals:
    // Every change of the marked rows.
    void markChanged();

protected:
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    void UpdateScrollRanges();

    StatusListModel* m_model;
    class SummaryBand* m_summary = nullptr;
    bool m_placingSummary = false;
    QString m_emptyHint;
    QString m_notice;
};

} // namespace ui
