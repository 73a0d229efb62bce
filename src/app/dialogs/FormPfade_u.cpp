#include "app/dialogs/FormPfade_u.h"

#include "platform/FileSystem.h"
#include "settings/StorageLocations.h"
#include "ui/DialogButtons.h"
#include "ui/Flags.h"
#include "ui/FlatButton.h"
#include "ui/Layout.h"
#include "ui/MessageDialogs.h"
#include "util/FileWork.h"
#include "util/z_global.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <utility>

namespace {

const QString kHint = QStringLiteral("Den Pfad zu Präsentation auf dem Server erfahren Sie vom Quintor");

// The dialog's file work. While a share does not answer, the dialog says so itself,
// not the window behind it: in the hint's place, which is no field and keeps its
// size, so nothing moves.
template <class Work> auto RunSayingSoIn(QLabel* hint, Work work)
{
    const util::ScopedNoProgressNotice notice([hint](bool stalled) {
        hint->setText(stalled ? QString::fromUtf8(util::kServerNotAnswering) : kHint);
    });
    return util::RunFileWorkFor(std::move(work));
}

} // namespace

TFormPfade::TFormPfade(QWidget* parent) : QDialog(parent), m_mountedShareHost(platform::NetworkHostOfPath)
{
    setObjectName(QStringLiteral("FormPfade"));
    setWindowTitle(QStringLiteral("Pfade - Lokal, Pfade - Server"));
    setFixedSize(403, 364);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(8, 6, 387, 290);

    const auto field = [&](const char* name, int y) {
        auto* edit = ui::Named(new QLineEdit(group), name);
        edit->setGeometry(12, y, 326, 21);
        return edit;
    };
    const auto browse = [&](const char* name, int y) {
        return ui::AddButton(group, name, QStringLiteral("..."), QRect(344, y, 30, 21));
    };
    const auto flag = [&](const char* name, int y, const QPixmap& picture) {
        QLabel* label = ui::AddFlag(group, name, QRect(12, y, 27, 16));
        label->setPixmap(picture);
        return label;
    };
    const auto heading = [&](const char* name, const QString& text, int y) {
        QLabel* label = ui::AddLabel(group, name, text, 46, y);
        ui::SetBold(label);
        label->adjustSize();
    };
    const QString localCaption = QStringLiteral("Lokaler Ordner (z.B. C:\\quintorPPP)");
    const QString serverCaption =
        QStringLiteral("Pfad zu Dateien auf dem Server  (z.B. \\\\servername\\freigabe)");

    ImageFlageD = flag("ImageFlageD", 10, ui::GermanFlag());
    heading("Label1", QStringLiteral("Deutsch"), 11);
    ui::AddLabel(group, "Label7", localCaption, 12, 34);
    EditLPfadDeutsch = field("EditLPfadDeutsch", 50);
    EncartaButton1 = browse("EncartaButton1", 50);
    ui::AddLabel(group, "Label5", serverCaption, 12, 78);
    EditSPfadDeutsch = field("EditSPfadDeutsch", 94);
    EncartaButton2 = browse("EncartaButton2", 94);

    ImageFlageE = flag("ImageFlageE", 146, ui::BritishFlag());
    heading("Label2", QStringLiteral("Englisch"), 147);
    ui::AddLabel(group, "Label3", localCaption, 12, 170);
    EditLPfadenglisch = field("EditLPfadenglisch", 186);
    EncartaButton3 = browse("EncartaButton3", 186);
    ui::AddLabel(group, "Label4", serverCaption, 12, 214);
    EditSPfadenglisch = field("EditSPfadenglisch", 230);
    EncartaButton4 = browse("EncartaButton4", 230);

    Label6 = ui::AddLabel(this, "Label6", kHint, 10, 304);

    EncartaButtonOK = ui::AddButton(this, "EncartaButtonOK", QStringLiteral("OK"), QRect(229, 330, 80, 25));
    EncartaButtonAbbrechen =
        ui::AddButton(this, "EncartaButtonAbbrechen", QStringLiteral("Abbrechen"), QRect(315, 330, 80, 25));

    ui::MakeDefaultButton(*this, EncartaButtonOK);
    setTabOrder(EditLPfadDeutsch, EditSPfadDeutsch);
    setTabOrder(EditSPfadDeutsch, EditLPfadenglisch);
    setTabOrder(EditLPfadenglisch, EditSPfadenglisch);

    connect(EncartaButton1, &QPushButton::clicked, this, &TFormPfade::EncartaButton1Click);
    connect(EncartaButton2, &QPushButton::clicked, this, &TFormPfade::EncartaButton2Click);
    connect(EncartaButton3, &QPushButton::clicked, this, &TFormPfade::EncartaButton3Click);
    connect(EncartaButton4, &QPushButton::clicked, this, &TFormPfade::EncartaButton4Click);
    connect(EncartaButtonOK, &QPushButton::clicked, this, &TFormPfade::EncartaButtonOKClick);
    connect(EncartaButtonAbbrechen, &QPushButton::clicked, this, &TFormPfade::EncartaButtonAbbrechenClick);
}

void TFormPfade::Browse(QLineEdit* field)
{
    const QString chosen = ui::BrowseForFolder(field->text(), this);
    if (!chosen.isEmpty())
        field->setText(chosen.trimmed());
}

void TFormPfade::EncartaButton1Click()
{
    Browse(EditLPfadDeutsch);
}

void TFormPfade::EncartaButton2Click()
{
    Browse(EditSPfadDeutsch);
}

void TFormPfade::EncartaButton3Click()
{
    Browse(EditLPfadenglisch);
}

void TFormPfade::EncartaButton4Click()
{
    Browse(EditSPfadenglisch);
}

settings::StorageLocations TFormPfade::Fields() const
{
    return {EditLPfadDeutsch->text().toStdString(), EditSPfadDeutsch->text().toStdString(),
            EditLPfadenglisch->text().toStdString(), EditSPfadenglisch->text().toStdString()};
}

void TFormPfade::ShowFields(const settings::StorageLocations& fields)
{
    EditLPfadDeutsch->setText(QString::fromStdString(fields.localGerman));
    EditSPfadDeutsch->setText(QString::fromStdString(fields.serverGerman));
    EditLPfadenglisch->setText(QString::fromStdString(fields.localEnglish));
    EditSPfadenglisch->setText(QString::fromStdString(fields.serverEnglish));
}

// True when the folder exists now; otherwise the user has been told why not.
bool TFormPfade::EnsureLocalFolder(const std::string& path)
{
    // A local folder may lie on a share as well: looking and making are file work.
    const std::optional<bool> exists =
        RunSayingSoIn(Label6, [path] { return settings::LocalFolderExists(path); });
    if (!exists) // the program is closing
        return false;
    if (*exists)
        return true;
    if (!ui::Confirm(QString::fromStdString(settings::CreateLocalFolderQuestion(path)), this)) {
        ui::Information(QString::fromUtf8(settings::kLocalFolderNotCreatedMessage), this);
        return false;
    }
    const auto created = RunSayingSoIn(Label6, [path] { return settings::CreateLocalFolder(path); });
    if (!created) // the program is closing
        return false;
    if (!created->IsDone()) {
        ui::Error(QString::fromStdString(created->message), this);
        return false;
    }
    return true;
}

void TFormPfade::EncartaButtonOKClick()
{
    const settings::StorageLocations fields = settings::TrimmedLocations(Fields());
    ShowFields(fields);
    util::Outcome<> check = settings::CheckLocationTexts(fields);
    if (check.IsDone()) {
        // Resolving the server folders looks at the shares, which may not answer.
        auto onDisk = RunSayingSoIn(
            Label6, [fields](util::WorkProgress&) { return settings::CheckLocationsOnDisk(fields); });
        if (!onDisk) // the program is closing
            return;
        check = std::move(*onDisk);
    }
    if (!check.IsDone()) {
        ui::Error(QString::fromStdString(check.message), this);
        return;
    }
    // A German folder made here stays made when the English one then fails.
    if (!EnsureLocalFolder(fields.localGerman) || !EnsureLocalFolder(fields.localEnglish))
        return;
    Q_ASSERT(m_settings);
    if (!m_settings)
        return;
    // Finding a server folder's share resolves its path, which waits on the share.
    const auto hosts = RunSayingSoIn(
        Label6, [fields, lookup = m_mountedShareHost] { return settings::DeriveHostNames(fields, lookup); });
    if (!hosts) // the program is closing
        return;
    // The settings file is flushed as it is written: stored as file work too, into
    // a copy of the run-time state.
    const auto stored = RunSayingSoIn(
        Label6, [fields, hosts = *hosts, ini = m_settings->GatedCopy(), state = util::Global()]() mutable {
            util::Outcome<> outcome = settings::StoreLocations(fields, hosts, ini, state);
            return std::pair{std::move(outcome), std::move(state)};
        });
    if (!stored) // the program is closing
        return;
    settings::TakeStoredLocations(stored->second, util::Global());
    if (!stored->first.IsDone()) {
        // What was written before the failure stays; the dialog stays open.
        ui::Error(QString::fromStdString(stored->first.message), this);
        return;
    }
    accept();
}

void TFormPfade::EncartaButtonAbbrechenClick()
{
    reject();
}
