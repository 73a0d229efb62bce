#include "ui/StatusListView.h"

#include <QPainter>

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace ui {

// Two lines of text, each cut to the band's width.
class SummaryBand : public QWidget
{
public:
    explicit SummaryBand(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Summary"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        hide();
    }

    void setText(const QString& text)
    {
        m_text = text;
        setToolTip(text);
        update();
    }
    const QString& text() const { return m_text; }
    int bandHeight() const { return 2 * fontMetrics().height() + 4; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().base());
        p.setPen(palette().mid().color());
        p.drawLine(0, 0, width(), 0);
        p.setPen(palette().text().color());
        const QFontMetrics metrics = fontMetrics();
        int y = 2 + metrics.ascent();
        for (const QString& line : m_text.split(QLatin1Char('\n'))) {
            p.drawText(4, y, metrics.elidedText(line, Qt::ElideRight, width() - 8));
            y += metrics.height();
        }
    }

private:
    QString m_text;
};

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
    m_summary = new SummaryBand(this);
}

void StatusListView::setSummary(const QString& text)
{
    const bool wasShown = m_summary->isVisibleTo(this);
    m_summary->setText(text);
    m_summary->setVisible(!text.isEmpty());
    if (wasShown != !text.isEmpty()) {
        if (text.isEmpty())
            setViewportMargins(0, 0, 0, 0);
        updateGeometries();
    }
}

QString StatusListView::summary() const
{
    return m_summary->text();
}

// The tree view lays out its rows' area for its header alone and would take the
// band's room back each time; with the band shown the view is laid out here: the
// header is hidden and its columns fixed, so only the two scroll ranges remain.
void StatusListView::updateGeometries()
{
    // The constructor's font change lays the view out before the band exists.
    if (!m_summary || !m_summary->isVisibleTo(this)) {
        QTreeView::updateGeometries();
        return;
    }
    if (m_placingSummary)
        return;
    m_placingSummary = true;
    const int band = m_summary->bandHeight();
    setViewportMargins(0, 0, 0, band);
    const QRect area = viewport()->geometry();
    m_summary->setGeometry(area.left(), area.bottom() + 1, area.width(), band);
    UpdateScrollRanges();
    QAbstractItemView::updateGeometries();
    m_placingSummary = false;
}

void StatusListView::UpdateScrollRanges()
{
    const QSize area = viewport()->size();
    QScrollBar* across = horizontalScrollBar();
    across->setRange(0, std::max(0, header()->length() - area.width()));
    across->setPageStep(area.width());
    across->setSingleStep(std::max(1, area.width() / 20));

    QScrollBar* down = verticalScrollBar();
    const int rows = m_model->rowCount();
    const int rowPixels = rows > 0 ? std::max(1, rowHeight(m_model->index(0, 0))) : 1;
    if (verticalScrollMode() == QAbstractItemView::ScrollPerPixel) {
        down->setRange(0, std::max(0, rows * rowPixels - area.height()));
        down->setPageStep(area.height());
        down->setSingleStep(rowPixels);
    } else {
        // Scrolled by whole rows: the value is the first row shown.
        const int fitting = std::max(1, area.height() / rowPixels);
        down->setRange(0, std::max(0, rows - fitting));
        down->setPageStep(fitting);
        down->setSingleStep(1);
    }
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

void StatusListView::setEmptyHint(const QString& hint)
{
    if (hint == m_emptyHint)
        return;
    m_emptyHint = hint;
    viewport()->update();
}

void StatusListView::setNotice(const QString& text)
{
    if (text == m_notice)
        return;
    m_notice = text;
    viewport()->update();
}

void StatusListView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (!m_notice.isEmpty()) {
        QPainter p(viewport());
        const QRect text = p.fontMetrics().boundingRect(viewport()->rect(), Qt::AlignCenter, m_notice);
        const QRect box = text.adjusted(-8, -4, 8, 4);
        p.fillRect(box, palette().color(QPalette::ToolTipBase));
        p.setPen(palette().color(QPalette::ToolTipText));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        p.drawText(box, Qt::AlignCenter, m_notice);
        return;
    }
    if (m_emptyHint.isEmpty() || m_model->rowCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                     m_emptyHint);
}

void StatusListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    // The focus frame around the current row would make an unmarked row look
    // marked, for instance the first row after a refresh; only marked rows show
    // as marked.
    QStyleOptionViewItem unframed = option;
    if (!selectionModel()->isSelected(index))
        unframed.state &= ~QStyle::State_HasFocus;
    QTreeView::drawRow(painter, unframed, index);
}

} // namespace ui
