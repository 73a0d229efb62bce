#pragma once

#include <QSpinBox>

// A spin edit that reports every change of its text: each keystroke, each arrow
// step and the correction into its range when the user leaves the field. A value
// typed outside the range is brought to the nearest limit, not thrown away.
namespace ui {

class SpinEdit : public QSpinBox
{
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

signals:
    // Not sent while the spin edit's signals are blocked.
    void edited();

private:
    QString m_lastReported;
};

} // namespace ui
