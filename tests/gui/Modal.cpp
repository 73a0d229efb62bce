#include "Modal.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace guitest {

void RunModal(QDialog& dialog, const std::function<void()>& answer, const std::function<void()>& open,
              std::chrono::milliseconds limit)
{
    bool answered = false;
    bool overdue = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (!dialog.isVisible())
            return;
        overdue = true;
        dialog.reject();
    });
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!dialog.isVisible() || QApplication::activeModalWidget() != &dialog)
            return;
        poll.stop();
        answered = true;
        watchdog.start(limit);
        answer();
    });
    poll.start();
    open();
    poll.stop();
    watchdog.stop();
    if (!answered)
        ADD_FAILURE() << "the modal dialog \"" << dialog.windowTitle().toStdString() << "\" never showed";
    if (overdue)
        ADD_FAILURE() << "the modal dialog \"" << dialog.windowTitle().toStdString()
                      << "\" was still open after " << limit.count() << " ms and was closed by the test";
}

} // namespace guitest
