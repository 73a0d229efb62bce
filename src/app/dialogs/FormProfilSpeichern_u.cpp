#include "app/dialogs/FormProfilSpeichern_u.h"

#include "app/dialogs/FormDListe_u.h"
#include "ini/LMDIniCtrl.h"
#include "profiles/ProfileCreation.h"
#include "ui/DialogButtons.h"
#include "ui/FlatButton.h"
#include "ui/Layout.h"
#include "ui/MessageDialogs.h"
#include "util/FileWork.h"
#include "util/z_global.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// The memo gives its lines with LF; a description keeps them as CR LF.
std::string WithCrLf(const QString& text)
{
    QString copy = text;
    copy.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return copy.toStdString();
}

} // namespace

TFormProfilSpeichern::TFormProfilSpeichern(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormProfilSpeichern"));
    setWindowTitle(QStringLiteral("Speichern unter Profilnamen"));
    setFixedSize(438, 301);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    Label1 = ui::AddLabel(this, "Label1", QStringLiteral("Profilname:"), 24, 14);
    EditProfil = new QLineEdit(this);
    EditProfil->setObjectName(QStringLiteral("EditProfil"));
    EditProfil->setGeometry(24, 30, 389, 21);
    EditProfil->setMaxLength(static_cast<int>(util::kMaxTextLength));

    Label2 = ui::AddLabel(this, "Label2", QStringLiteral("Beschreibung:"), 24, 60);
    MemoProfil = new QPlainTextEdit(this);
    MemoProfil->setObjectName(QStringLiteral("MemoProfil"));
    MemoProfil->setGeometry(24, 76, 389, 105);

    Label3 = ui::AddLabel(this, "Label3", QStringLiteral("Name der Startdatei"), 24, 190);
    EditSteuerDatei = new QLineEdit(this);
    EditSteuerDatei->setObjectName(QStringLiteral("EditSteuerDatei"));
    EditSteuerDatei->setGeometry(24, 206, 357, 21);
    EncartaButton2 = ui::AddButton(this, "EncartaButton2", QStringLiteral("..."), QRect(387, 206, 26, 21));
    ui::SetBold(EncartaButton2);

    EncartaButtonOK = ui::AddButton(this, "EncartaButtonOK", QStringLiteral("OK"), QRect(233, 256, 86, 28));
    EncartaButtonAbbrechen =
        ui::AddButton(this, "EncartaButtonAbbrechen", QStringLiteral("Abbrechen"), QRect(327, 256, 86, 28));

    LabelHinweis = ui::AddLabel(this, "LabelHinweis", QString::fromUtf8(util::kServerNotAnswering), 24, 262);
    LabelHinweis->hide();

    ui::MakeDefaultButton(*this, EncartaButtonOK);
    // Enter starts a new line of the description; Tab goes on to the next field.
    MemoProfil->setTabChangesFocus(true);

    connect(EncartaButtonOK, &QPushButton::clicked, this, &TFormProfilSpeichern::EncartaButtonOKClick);
    connect(EncartaButtonAbbrechen, &QPushButton::clicked, this,
            &TFormProfilSpeichern::EncartaButtonAbbrechenClick);
    connect(EncartaButton2, &QPushButton::clicked, this, &TFormProfilSpeichern::EncartaButton2Click);
}

bool TFormProfilSpeichern::Execute(QString& profileFolder)
{
    m_created = false;
    m_result = &profileFolder;
    exec();
    m_result = nullptr;
    return m_created;
}

void TFormProfilSpeichern::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TFormProfilSpeichern::FormActivate()
{
    EditProfil->clear();
    MemoProfil->clear();
    EditSteuerDatei->clear();
    EditProfil->setFocus();
}

void TFormProfilSpeichern::EncartaButtonOKClick()
{
    const util::RuntimeState& g = util::Global();
    // The local folder may lie on a share: the folder and its INI file are made as
    // file work, through a copy of the dialog's INI control. While it does not
    // answer, the dialog says so, not the window behind it.
    const util::ScopedNoProgressNotice notice([this](bool stalled) { LabelHinweis->setVisible(stalled); });
    const auto done = util::RunFileWorkFor(
        [ini = LMDIniCtrl1,
         request = profiles::CreationRequest{g.CurrentLocalFolder, EditProfil->text().toStdString(),
                                             WithCrLf(MemoProfil->toPlainText()),
                                             EditSteuerDatei->text().toStdString()}]() mutable {
            return profiles::CreateProfile(request, ini);
        });
    if (!done) // the program is closing
        return;
    const util::Outcome<std::string>& created = *done;
    // The dialog stays open after any failure; a wrong name is only information.
    if (!created.IsDone()) {
        const QString text = QString::fromStdString(created.message);
        if (created.code == util::OutcomeCode::Refused)
            ui::Information(text, this);
        else
            ui::Error(text, this);
        return;
    }
    if (m_result)
        *m_result = QString::fromStdString(created.value);
    m_created = true;
    accept();
}

void TFormProfilSpeichern::EncartaButtonAbbrechenClick()
{
    reject();
}

void TFormProfilSpeichern::EncartaButton2Click()
{
    if (!m_chooser)
        return;
    QString name;
    if (m_chooser->ChooseStartFile(name))
        EditSteuerDatei->setText(name);
}
