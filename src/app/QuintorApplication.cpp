#include "app/QuintorApplication.h"

#include "ui/MessageDialogs.h"
#include "util/FileWork.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <exception>

QuintorApplication::QuintorApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    Describe();
    // No display name: the window system would append it to every title
    // ("Bestätigung — Quintor 3P"), and each window's title is its own.
    setDesktopFileName(QStringLiteral("de.travenil.quintor3p"));
    InstallGermanTranslations(*this);
}

void QuintorApplication::Describe()
{
    setApplicationName(QStringLiteral("quintorPPP"));
    setOrganizationName(QStringLiteral("Travenil"));
    setApplicationVersion(QStringLiteral(QUINTOR_VERSION));
}

bool QuintorApplication::InstallGermanTranslations(QCoreApplication& app)
{
    // Owned by the application object, so they live exactly as long as it.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool QuintorApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(QString::fromStdString(e.what()));
    } catch (...) {
        ShowError(QStringLiteral("Unbekannter Fehler"));
    }
    return false;
}

void QuintorApplication::RunGuarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        ShowError(QString::fromStdString(e.what()));
    }
}

int QuintorApplication::RunUntilClosed()
{
    const int code = exec();
    if (util::FileWorkAbandoned()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}

void QuintorApplication::ShowError(const QString& text)
{
    ui::Error(text, activeWindow());
}
