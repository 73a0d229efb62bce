#include "ui/MessageDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <deque>
#include <variant>

namespace ui {
namespace {

struct Script
{
    std::deque<std::variant<bool, QString>> answers;
    QList<ShownBox> shown;
    int unexpected = 0;
};

Script* activeScript = nullptr;
UnscriptedBoxHandler unscriptedHandler;

// Takes the next answer of the given type; nothing when the script has none.
template <typename T> std::optional<T> NextAnswer()
{
    if (!activeScript)
        return std::nullopt;
    if (activeScript->answers.empty() || !std::holds_alternative<T>(activeScript->answers.front())) {
        ++activeScript->unexpected;
        return std::nullopt;
    }
    T value = std::get<T>(activeScript->answers.front());
    activeScript->answers.pop_front();
    return value;
}

bool Record(BoxKind kind, const QString& text)
{
    if (!activeScript && unscriptedHandler) {
        unscriptedHandler(kind, text);
        return true;
    }
    if (!activeScript)
        return false;
    activeScript->shown.append({kind, text});
    return true;
}

void ShowOkBox(QMessageBox::Icon icon, const QString& title, const QString& text, QWidget* parent)
{
    QMessageBox box(icon, title, DisplayText(text), QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

void SetUnscriptedBoxHandler(UnscriptedBoxHandler handler)
{
    unscriptedHandler = std::move(handler);
}

QString DisplayText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

bool Confirm(const QString& text, QWidget* parent)
{
    if (Record(BoxKind::Confirmation, text))
        return NextAnswer<bool>().value_or(false);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigung"), DisplayText(text),
                    QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void Information(const QString& text, QWidget* parent)
{
    if (!Record(BoxKind::Information, text))
        ShowOkBox(QMessageBox::Information, QStringLiteral("Information"), text, parent);
}

void Error(const QString& text, QWidget* parent)
{
    if (!Record(BoxKind::Error, text))
        ShowOkBox(QMessageBox::Critical, QStringLiteral("Fehler"), text, parent);
}

void Message(const QString& text, QWidget* parent)
{
    if (!Record(BoxKind::Message, text))
        ShowOkBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, parent);
}

QString BrowseForFolder(const QString& startFolder, QWidget* parent)
{
    if (Record(BoxKind::FolderPicker, startFolder))
        return NextAnswer<QString>().value_or(QString());
    return QFileDialog::getExistingDirectory(parent, QString(), startFolder,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

DialogScript::DialogScript()
{
    Q_ASSERT(!activeScript);
    activeScript = new Script;
}

DialogScript::~DialogScript()
{
    delete activeScript;
    activeScript = nullptr;
}

void DialogScript::answerConfirm(bool yes)
{
    activeScript->answers.emplace_back(yes);
}

void DialogScript::answerFolder(const QString& folder)
{
    activeScript->answers.emplace_back(folder);
}

const QList<ShownBox>& DialogScript::shown() const
{
    return activeScript->shown;
}

QStringList DialogScript::texts() const
{
    QStringList out;
    for (const ShownBox& box : activeScript->shown)
        out << box.text;
    return out;
}

int DialogScript::unusedAnswers() const
{
    return static_cast<int>(activeScript->answers.size());
}

int DialogScript::unexpectedBoxes() const
{
    return activeScript->unexpected;
}

} // namespace ui
