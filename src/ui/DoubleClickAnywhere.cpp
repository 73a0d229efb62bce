#include "ui/DoubleClickAnywhere.h"

#include <QEvent>
#include <QMouseEvent>

namespace ui {
namespace {

class DoubleClickFilter : public QObject
{
public:
    DoubleClickFilter(QAbstractItemView* view, std::function<void()> handler)
        : QObject(view), m_view(view), m_handler(std::move(handler))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
            return QObject::eventFilter(watched, event);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (event->type() == QEvent::MouseButtonDblClick) {
            m_handler();
            return true;
        }
        // The view would clear the marks on a press beside every entry.
        return !m_view->indexAt(mouse->position().toPoint()).isValid();
    }

private:
    QAbstractItemView* m_view;
    std::function<void()> m_handler;
};

} // namespace

void OnDoubleClickAnywhere(QAbstractItemView* view, std::function<void()> handler)
{
    view->viewport()->installEventFilter(new DoubleClickFilter(view, std::move(handler)));
}

} // namespace ui
