#include "app/QuintorApplication.h"
#include "ui/MessageDialogs.h"
#include "ui/MessagePump.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every GUI test runs on Qt's offscreen platform with a home and configuration
// folder of its own, so nothing of the user's settings is read or written.
int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuintorApplication app(argc, argv);
    Q_INIT_RESOURCE(assets);
    ui::InstallQtMessagePump();
    // A test that stopped at a failed assertion leaves its script unchecked on purpose;
    // one failure is enough.
    ui::SetSeamFailureHandler([](const QString& problem) {
        if (!::testing::Test::HasFatalFailure())
            ADD_FAILURE() << problem.toStdString();
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
