#pragma once

#include <QApplication>

// The application object: the one place where an error that no handler caught is
// shown, in the standard error box, after which the window goes on.
class QuintorApplication : public QApplication
{
    Q_OBJECT
public:
    QuintorApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    static void ShowError(const QString& text);
};
