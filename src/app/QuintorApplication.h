#pragma once

#include <QApplication>
#include <functional>

// The application object: the one place where an error that no handler caught is
// shown, in the standard error box, after which the window goes on.
class QuintorApplication : public QApplication
{
    Q_OBJECT
public:
    QuintorApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Names and version of the program; usable before any application object exists.
    static void Describe();
    // Qt's own texts (standard buttons, the folder dialog, the context menus of
    // text fields, the command-line parser) in German, as the rest of the program.
    // False when the translation files are not installed; the program then runs
    // with Qt's English texts.
    static bool InstallGermanTranslations(QCoreApplication& app);

    static void ShowError(const QString& text);

    // Runs the event loop until the last window closes. When a thread is still
    // stuck on a share that hangs, the process ends right there: taking the program
    // apart under that thread could crash, and waiting for it could take for ever.
    static int RunUntilClosed();

    // Runs a handler and shows what it throws. Handlers are started through this,
    // so that an error never unwinds through the toolkit's own frames.
    static void RunGuarded(const std::function<void()>& handler);

    // A slot for connect(): the member function of the receiver, run guarded.
    template <typename T> static auto Guarded(T* receiver, void (T::*handler)())
    {
        return [receiver, handler] { RunGuarded([&] { (receiver->*handler)(); }); };
    }
};
