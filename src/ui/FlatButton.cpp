#include "ui/FlatButton.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace ui {

FlatButton::FlatButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    setFlat(true);
    setFocusPolicy(Qt::TabFocus);
    setFont(QFont(QStringLiteral("Arial"), 8));
}

void FlatButton::setColours(const QColor& face, const QColor& pressed, const QColor& hover)
{
    m_face = face;
    m_pressed = pressed;
    m_hover = hover;
    update();
}

void FlatButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    QColor fill = m_face;
    if (isDown() || isChecked())
        fill = m_pressed;
    else if (m_underMouse && isEnabled())
        fill = m_hover;
    p.fillRect(r, fill);
    p.setPen(QColor(0x7F, 0x9D, 0xB9));
    p.drawRect(r);
    if (hasFocus()) {
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1, Qt::DotLine));
        p.drawRect(r.adjusted(2, 2, -2, -2));
    }
    p.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                         : palette().color(QPalette::Disabled, QPalette::ButtonText));
    const QRect content = r.adjusted(3, 2, -3, -2);
    if (!icon().isNull() && text().isEmpty()) {
        const QSize size = iconSize();
        const QPoint at(content.center().x() - size.width() / 2 + 1,
                        content.center().y() - size.height() / 2 + 1);
        p.drawPixmap(at, icon().pixmap(size, isEnabled() ? QIcon::Normal : QIcon::Disabled));
    } else {
        p.setFont(font());
        p.drawText(content, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    }
}

void FlatButton::enterEvent(QEnterEvent* event)
{
    m_underMouse = true;
    update();
    QPushButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent* event)
{
    m_underMouse = false;
    update();
    QPushButton::leaveEvent(event);
}

} // namespace ui
