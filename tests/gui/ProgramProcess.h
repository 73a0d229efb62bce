#pragma once

#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <filesystem>
#include <functional>

// The built program run as a process of its own, on the offscreen platform, with
// its home, settings and data folders inside the test's folder.
namespace testsupport {

inline QProcessEnvironment ProgramEnvironment(const std::filesystem::path& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(home.string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / ".config").string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((home / ".local/share").string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

inline void StartProgram(QProcess& process, const std::filesystem::path& home,
                         const QStringList& arguments = {})
{
    process.setProcessEnvironment(ProgramEnvironment(home));
    process.start(QStringLiteral(QUINTOR3P_BINARY), arguments);
}

// Lets this process's own event loop run (so that an instance of the program
// living in the test can answer) until the condition holds or the time is up.
inline bool RunEventsUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(20);
    if (!condition())
        loop.exec();
    return condition();
}

} // namespace testsupport
