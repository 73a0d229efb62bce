#include "app/ApplicationWindows.h"
#include "app/CommandLine.h"
#include "app/DemoFolders.h"
#include "app/QuintorApplication.h"
#include "app/SingleInstance.h"
#include "platform/UserFolders.h"
#include "ui/MessageDialogs.h"
#include "ui/MessagePump.h"
#include "util/z_global.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <cstdio>

namespace {

// Reads the command line before any window system is needed, so that --help
// works without a display; the parser's own phrases come out in German.
CommandLine ReadCommandLine(int& argc, char** argv)
{
    QCoreApplication reader(argc, argv);
    QuintorApplication::InstallGermanTranslations(reader);
    return ParseCommandLine(QCoreApplication::arguments());
}

// Everything the program keeps goes below the demonstration's own folder: the
// settings file, and the window position in Qt's settings store.
void UseDemoSettings(const QString& root)
{
    const QString home = demo::SettingsHome(root);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home);
}

void BringToFront(QWidget& window)
{
    if (window.isMinimized())
        window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

int main(int argc, char** argv)
{
    QuintorApplication::Describe();
    const CommandLine command = ReadCommandLine(argc, argv);
    switch (command.action) {
    case CommandLine::Action::ShowHelp:
    case CommandLine::Action::ShowVersion:
        std::fputs(command.text.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fputs(command.text.toLocal8Bit().constData(), stderr);
        return CommandLine::kUsageErrorStatus;
    case CommandLine::Action::Start:
        break;
    }

    const QString demoRoot = command.demo ? demo::DefaultRoot() : QString();
    if (command.demo)
        UseDemoSettings(demoRoot);

    QuintorApplication app(argc, argv);
    Q_INIT_RESOURCE(assets);
    if (command.demo) {
        const demo::Preparation prepared = demo::Prepare(demoRoot);
        if (!prepared.ok) {
            std::fputs((prepared.message + '\n').toLocal8Bit().constData(), stderr);
            QuintorApplication::ShowError(prepared.message);
            return 1;
        }
    }
    try {
        util::InitialiseGlobalState();
    } catch (const std::exception& e) {
        QuintorApplication::ShowError(QString::fromStdString(e.what()));
        return 1;
    }

    SingleInstance instance(
        QDir(QString::fromStdString(platform::UserAppDataFolder())).filePath("quintorPPP"));
    const SingleInstance::Role role = instance.Start();
    if (role == SingleInstance::Role::HandedOver)
        return 0;
    ui::InstallQtMessagePump();

    ApplicationWindows windows;
    windows.Form1.LMDIniCtrl1.SetWriteGate([&instance] { return instance.MayWriteSettings(); });
    TFormSizeSave::SetWriteGate([&instance] { return instance.MayWriteSettings(); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &windows.Form1,
                     [&windows] { BringToFront(windows.Form1); });
    if (role == SingleInstance::Role::WithoutWrites)
        ui::Information(QStringLiteral("Quintor 3P läuft bereits, antwortet aber nicht. Dieses Fenster "
                                       "arbeitet normal, speichert aber keine Einstellungen, solange das "
                                       "andere läuft."));
    windows.Form1.show();
    windows.Form1.activateWindow();
    return QuintorApplication::RunUntilClosed();
}
