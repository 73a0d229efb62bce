#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

// Every message box and the folder picker of the program go through here, so that
// tests can queue the user's answers and read back what was shown instead of
// clicking real boxes.
namespace ui {

enum class BoxKind
{
    Confirmation, // "Bestätigung", "&Ja" / "&Nein"
    Information,  // "Information", "OK"
    Error,        // "Fehler", "OK"
    Message,      // the application's title, "OK"
    FolderPicker, // the text is the folder it opens on
};

// Which button Enter presses in a confirmation. Questions that lead to deleting
// something take "&Nein", so that a hasty Enter deletes nothing.
enum class DefaultAnswer
{
    Yes,
    No,
};

// Asks a Yes/No question; true only for "&Ja".
bool Confirm(const QString& text, QWidget* parent = nullptr,
             DefaultAnswer defaultAnswer = DefaultAnswer::Yes);

// The confirmation box as Confirm shows it (for checking its buttons).
std::unique_ptr<QMessageBox> MakeConfirmationBox(const QString& text, QWidget* parent,
                                                 DefaultAnswer defaultAnswer);
void Information(const QString& text, QWidget* parent = nullptr);
void Error(const QString& text, QWidget* parent = nullptr);
void Message(const QString& text, QWidget* parent = nullptr);

// The platform's folder dialog, folders only, opened on the given folder.
// Empty when the user cancels.
QString BrowseForFolder(const QString& startFolder, QWidget* parent = nullptr);

// The texts a box shows are written with a bare carriage return between lines,
// as the program's messages are defined; the real boxes show them as line breaks.
QString DisplayText(const QString& text);

// Test scripting. While a script is active no real box opens: each box takes the
// next queued answer (Confirm: true for "&Ja"; folder picker: the folder) and is
// recorded.
struct ShownBox
{
    BoxKind kind;
    QString text;
    bool defaultNo = false; // a confirmation whose default button is "&Nein"
};

// Receives each misuse of the seam found: a box that would open for real while no
// script is active, and, when a script ends, the answers it did not use, the boxes
// that found no answer of their kind and the boxes the test did not look at. Tests
// install a handler that fails the test, so that a box never waits for a click that
// cannot come and a script never passes by what it leaves unchecked.
using SeamFailureHandler = std::function<void(const QString& problem)>;
void SetSeamFailureHandler(SeamFailureHandler handler);

class DialogScript
{
public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void answerConfirm(bool yes);
    void answerFolder(const QString& folder); // empty: cancelled

    // Reading the boxes counts as looking at every box shown so far.
    const QList<ShownBox>& shown() const;
    QStringList texts() const;

    // Explicit opt-outs, for a test that means not to check: answers it queued
    // for boxes that may not come, and the boxes shown while it checks something else.
    void allowUnusedAnswers();
    void ignoreBoxes();
};

} // namespace ui
