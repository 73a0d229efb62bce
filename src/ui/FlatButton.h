#pragma once

#include <QColor>
#include <QPushButton>

// A flat button whose face takes one colour at rest, one under the mouse and one
// while pressed; the colours come from the design in force.
namespace ui {

class FlatButton : public QPushButton
{
    Q_OBJECT
public:
    explicit FlatButton(const QString& text, QWidget* parent = nullptr);

    void setColours(const QColor& face, const QColor& pressed, const QColor& hover);
    QColor faceColour() const { return m_face; }
    QColor pressedColour() const { return m_pressed; }
    QColor hoverColour() const { return m_hover; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor m_face{0xE3, 0xEE, 0xFD};
    QColor m_pressed{0xD5, 0xE6, 0xFC};
    QColor m_hover{0x92, 0xB6, 0xE8};
    bool m_underMouse = false;
};

} // namespace ui
