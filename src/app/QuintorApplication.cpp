#include "app/QuintorApplication.h"

#include "ui/MessageDialogs.h"

#include <exception>

QuintorApplication::QuintorApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("quintorPPP"));
    setApplicationDisplayName(QStringLiteral("Quintor 3P"));
    setOrganizationName(QStringLiteral("Travenil"));
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

void QuintorApplication::ShowError(const QString& text)
{
    ui::Error(text, activeWindow());
}
