#include "ui/MessageDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <deque>
#include <memory>
#include <optional>
#include <variant>

namespace ui {
namespace {

struct Script
{
    std::deque<std::variant<bool, QString>> answers;
    QList<ShownBox> shown;
    qsizetype looked = 0;   // boxes the test has read back
    QStringList unanswered; // boxes that found no answer of their kind
    bool answersMayBeLeft = false;
    bool boxesIgnored = false;
};

Script* activeScript = nullptr;
SeamFailureHandler failureHandler;

void Fail(const QString& problem)
{
    if (failureHandler)
        failureHandler(problem);
    else
        qWarning("%s", qPrintable(problem));
}

QString Describe(BoxKind kind, const QString& text)
{
    static const char* const names[] = {"question", "information", "error", "message", "folder picker"};
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(names[static_cast<int>(kind)]), text);
}

// Takes the next answer of the given type; nothing when the script has none.
template <typename T> std::optional<T> NextAnswer()
{
    if (!activeScript)
        return std::nullopt;
    if (activeScript->answers.empty() || !std::holds_alternative<T>(activeScript->answers.front())) {
        const ShownBox& box = activeScript->shown.last();
        activeScript->unanswered << Describe(box.kind, box.text);
        return std::nullopt;
    }
    T value = std::get<T>(activeScript->answers.front());
    activeScript->answers.pop_front();
    return value;
}

// False when the box is to open for real.
bool Record(BoxKind kind, const QString& text, bool defaultNo = false)
{
    if (!activeScript && failureHandler) {
        Fail(QStringLiteral("a box opened while no dialog script was active: ") + Describe(kind, text));
        return true;
    }
    if (!activeScript)
        return false;
    activeScript->shown.append({kind, text, defaultNo});
    return true;
}

void ShowOkBox(QMessageBox::Icon icon, const QString& title, const QString& text, QWidget* parent)
{
    QMessageBox box(icon, title, DisplayText(text), QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

void SetSeamFailureHandler(SeamFailureHandler handler)
{
    failureHandler = std::move(handler);
}

QString DisplayText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

std::unique_ptr<QMessageBox> MakeConfirmationBox(const QString& text, QWidget* parent,
                                                 DefaultAnswer defaultAnswer)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("Bestätigung"),
                                             DisplayText(text), QMessageBox::NoButton, parent);
    QPushButton* yes = box->addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box->addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box->setDefaultButton(defaultAnswer == DefaultAnswer::Yes ? yes : no);
    box->setEscapeButton(no);
    return box;
}

bool Confirm(const QString& text, QWidget* parent, DefaultAnswer defaultAnswer)
{
    if (Record(BoxKind::Confirmation, text, defaultAnswer == DefaultAnswer::No))
        return NextAnswer<bool>().value_or(false);
    const auto box = MakeConfirmationBox(text, parent, defaultAnswer);
    box->exec();
    return box->clickedButton() && box->buttonRole(box->clickedButton()) == QMessageBox::YesRole;
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
        ShowOkBox(QMessageBox::NoIcon, QStringLiteral("Quintor 3P"), text, parent);
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
    const std::unique_ptr<Script> script(activeScript);
    activeScript = nullptr;
    for (const QString& box : std::as_const(script->unanswered))
        Fail(QStringLiteral("a box found no queued answer of its kind: ") + box);
    if (!script->answersMayBeLeft && !script->answers.empty())
        Fail(QStringLiteral("%1 queued answer(s) left unused").arg(script->answers.size()));
    if (script->boxesIgnored)
        return;
    for (qsizetype i = script->looked; i < script->shown.size(); ++i)
        Fail(QStringLiteral("a box the test did not look at: ") +
             Describe(script->shown[i].kind, script->shown[i].text));
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
    activeScript->looked = activeScript->shown.size();
    return activeScript->shown;
}

QStringList DialogScript::texts() const
{
    QStringList out;
    for (const ShownBox& box : shown())
        out << box.text;
    return out;
}

void DialogScript::allowUnusedAnswers()
{
    activeScript->answersMayBeLeft = true;
}

void DialogScript::ignoreBoxes()
{
    activeScript->boxesIgnored = true;
}

} // namespace ui
