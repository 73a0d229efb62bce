#pragma once

#include <QLabel>

// Shows its picture shrunk into its own rectangle, smoothly and with the picture's
// proportions kept (the flags are drawn far larger than they are shown, and the
// two flags differ in shape).
namespace ui {

class PictureLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PictureLabel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
