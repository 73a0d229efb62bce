#include "ui/LaunchFeedback.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

namespace ui {
namespace {

struct Feedback
{
    bool showing = false;
    QTimer limit;
    QMetaObject::Connection deactivation;
};

Feedback& State()
{
    static Feedback feedback;
    return feedback;
}

void End()
{
    Feedback& f = State();
    if (!f.showing)
        return;
    f.showing = false;
    f.limit.stop();
    QObject::disconnect(f.deactivation);
    QGuiApplication::restoreOverrideCursor();
}

} // namespace

void ShowBusyUntilAnotherWindowAppears(std::chrono::milliseconds limit)
{
    Feedback& f = State();
    if (!f.showing) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        f.showing = true;
        f.limit.setSingleShot(true);
        QObject::connect(&f.limit, &QTimer::timeout, &End);
        f.deactivation =
            QObject::connect(qApp, &QGuiApplication::applicationStateChanged, [](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    End();
            });
    }
    // A second start counts from its own beginning.
    f.limit.start(limit);
}

bool LaunchFeedbackShowing()
{
    return State().showing;
}

} // namespace ui
