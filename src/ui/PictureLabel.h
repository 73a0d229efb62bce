#pragma once

#include <QLabel>

// Shows its picture shrunk into its own rectangle, smoothly and with the picture's
// proportions kept (the flags are drawn far larger than they are shown, and the
// two flags differ in shape).
namespace ui {

// A small round badge in the picture's lower right corner: a tick on green, an
// exclamation mark on red, a question mark on grey.
enum class ReadyMark
{
    None,
    Ready,
    NotReady,
    Unchecked,
};

class PictureLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PictureLabel(QWidget* parent = nullptr);

    void setMark(ReadyMark mark);
    ReadyMark mark() const { return m_mark; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintMark(QPainter& p) const;

    ReadyMark m_mark = ReadyMark::None;
};

} // namespace ui
