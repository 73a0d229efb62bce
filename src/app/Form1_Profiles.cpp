#include "app/Form1_u.h"

#include "app/dialogs/FormInfo_u.h"
#include "app/dialogs/FormProfilSpeichern_u.h"
#include "launch/StartFile.h"
#include "profiles/ProfileCopy.h"
#include "profiles/ProfileFileCommands.h"
#include "profiles/ProfileStore.h"
#include "settings/Settings.h"
#include "ui/MessageDialogs.h"
#include "ui/QtText.h"
#include "ui/StatusListView.h"
#include "ui/WaitCursor.h"
#include "util/z_global.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>

// The profiles: saving, listing, choosing, describing, updating and deleting.

using ui::Q;
using ui::S;

namespace {

using Request = util::OperationGate::Request;

const QString kMarkAFile = QStringLiteral("Biite eine Datei markieren.");

// The memo hands out its lines with LF, a description keeps them with CR LF.
std::string DescriptionOf(const QPlainTextEdit* memo)
{
    QString text = memo->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return S(text);
}

QString ShownDescription(const std::string& description)
{
    QString text = Q(description);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// The folder name as the file system holds it; the list shows it as text.
std::string ProfileNameOf(const QListWidgetItem* item)
{
    const QVariant raw = item->data(Qt::UserRole);
    return raw.isValid() ? raw.toByteArray().toStdString() : S(item->text());
}

const QListWidgetItem* MarkedProfile(const QListWidget* list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

} // namespace

std::string TForm1::ProfileStartFileOf(const std::string& profileName)
{
    const std::string& local = util::Global().CurrentLocalFolder;
    if (!profiles::SafeProfileFolderPath(local, profileName))
        return {};
    return launch::ReadStartFile(LMDIniCtrl2, profiles::ProfileIniPath(local, profileName));
}

std::vector<std::string> TForm1::MarkedProfileRowNames() const
{
    std::vector<std::string> names;
    for (int row : TntListViewAuswahl->markedRows())
        names.push_back(TntListViewAuswahl->statusModel()->row(row).name);
    return names;
}

void TForm1::SetDescriptionWritable(bool writable)
{
    MemoProfileH->setReadOnly(!writable);
    QPalette palette = MemoProfileH->palette();
    const std::uint32_t field = util::Global().Palette.inputField;
    // Before a design is in force the field keeps the system's colour.
    const QColor readOnly =
        field != 0 ? QColor::fromRgb(field) : QGuiApplication::palette().color(QPalette::Base);
    palette.setColor(QPalette::Base, writable ? QGuiApplication::palette().color(QPalette::Base) : readOnly);
    MemoProfileH->setPalette(palette);
}

void TForm1::EncartaButtonPSpeichernClick()
{
    util::OperationScope scope(m_gate, Request::Command);
    if (!scope || !m_formProfilSpeichern)
        return;
    QString profileFolder;
    if (!m_formProfilSpeichern->Execute(profileFolder))
        return;

    ui::WaitCursor cursor;
    // A hide put off by an earlier copy must not cut this one's display short.
    Timer1->stop();
    LabelKopPPP->setText(QStringLiteral("Kopieren wird vorbereitet."));
    LabelKopPPP->show();
    LMDProgress1->setValue(0);
    LMDProgress1->show();
    util::DelayWithMessages(500);

    const profiles::ProfileCopyPlan plan =
        profiles::PlanProfileCopy(util::Global().CurrentLocalFolder, S(profileFolder));
    if (plan.steps.empty()) {
        LabelKopPPP->hide();
        LMDProgress1->hide();
        return;
    }
    LabelKopPPP->setText(QStringLiteral("Kopiere Dateien..."));
    util::DelayWithMessages(10);
    LabelKopPPP->show();
    LMDProgress1->show();

    profiles::ProfileCopyCallbacks callbacks;
    callbacks.beforeFile = [this](std::size_t position, std::size_t count) {
        LabelKopPPP->setText(Q(profiles::CopyCountText(position, count)));
    };
    callbacks.afterFile = [this, &cursor](const profiles::ProfileCopyReport& report) {
        LMDProgress1->setValue(report.progress);
        util::DelayWithMessages(10);
        cursor.Restore();
        if (!report.copied)
            ui::Error(QStringLiteral("Es gibt Probleme beim Kopieren von Dateien"), this);
    };
    profiles::ExecuteProfileCopy(plan, callbacks);

    Timer1->start();
    LabelKopPPP->setText(QStringLiteral("Fertig"));
}

void TForm1::ListBoxProfileClick()
{
    util::OperationScope scope(m_gate, Request::Command);
    if (!scope)
        return;
    const QListWidgetItem* item = MarkedProfile(ListBoxProfile);
    if (!item)
        return;
    const util::RuntimeState& g = util::Global();
    std::string stored;
    const std::string name = ProfileNameOf(item);
    if (profiles::SafeProfileFolderPath(g.CurrentLocalFolder, name)) {
        LMDIniCtrl2.SetFileName(profiles::ProfileIniPath(g.CurrentLocalFolder, name));
        stored = LMDIniCtrl2.ReadString(profiles::kProfileSection, profiles::kDescriptionKey, "");
    }
    MemoProfileH->setPlainText(ShownDescription(profiles::DecodeDescription(stored)));
}

void TForm1::Beschreibungndern1Click()
{
    util::OperationScope scope(m_gate, Request::Command);
    if (!scope)
        return;
    SetDescriptionWritable(true);
    for (QLabel* hint : {LabelPB1, LabelPB2}) {
        // Sized when shown: the page's font is only final once it is on screen.
        hint->adjustSize();
        hint->show();
    }
    MemoProfileH->setFocus(Qt::OtherFocusReason);
}

void TForm1::MemoProfileHExit()
{
    util::OperationScope scope(m_gate, Request::Command);
    if (!scope)
        return;
    LabelPB1->hide();
    LabelPB2->hide();
    const QListWidgetItem* item = MarkedProfile(ListBoxProfile);
    if (!item)
        return;
    SetDescriptionWritable(false);
    const util::RuntimeState& g = util::Global();
    const std::string name = ProfileNameOf(item);
    if (!profiles::SafeProfileFolderPath(g.CurrentLocalFolder, name))
        return;
    LMDIniCtrl2.SetFileName(profiles::ProfileIniPath(g.CurrentLocalFolder, name));
    LMDIniCtrl2.WriteString(
        profiles::kProfileSection, profiles::kDescriptionKey,
        profiles::EncodeDescription(profiles::CutDescription(DescriptionOf(MemoProfileH))));
}

void TForm1::MenuProfilLoeschenClick()
{
    util::OperationScope scope(m_gate, Request::Command);
    if (!scope)
        return;
    if (!ui::Confirm(Q(std::string(profiles::kDeleteProfileQuestion)), this))
        return;
    const QListWidgetItem* item = MarkedProfile(ListBoxProfile);
    if (!item) {
        ui::Information(QStringLiteral("Ein Profil bitte markieren."), this);
        return;
    }
    if (!profiles::DeleteProfile(util::Global().CurrentLocalFolder, ProfileNameOf(item)))
        ui::Error(Q(std::string(profiles::kDeleteProfileFailedMessage)), this);
    FillProfilesPage();
}

void TForm1::EncartaButtonAuswahlClick()
{
    util::OperationScope scope(m_gate, Request::Command);
    if (!scope)
        return;
    const QListWidgetItem* item = MarkedProfile(ListBoxProfile);
    if (!item) {
        ui::Information(QStringLiteral("Bitte zuerst ein Profil auswählen"), this);
        return;
    }
    util::RuntimeState& g = util::Global();
    const std::string name = util::CutText(ProfileNameOf(item));
    if (g.LanguageFlag == 1) {
        g.CurrentProfile = g.ChosenProfileGerman = name;
        LMDIniCtrl1.WriteString(settings::kSectionAllgemein, settings::key::wahlProfilDeutsch, name);
    } else {
        g.CurrentProfile = g.ChosenProfileEnglish = name;
        LMDIniCtrl1.WriteString(settings::kSectionAllgemein, settings::key::wahlProfilEnglisch, name);
    }
    LabelProfilname->setText(Q(name));
    AdvOfficePager1->setCurrentIndex(2);
    g.ProfileStartFile = ProfileStartFileOf(name);
    RefreshProfile();
}

void TForm1::EncartaButtonInfoClick()
{
    util::OperationScope scope(m_gate, Request::Command);
    if (scope && m_formInfo)
        m_formInfo->exec();
}

void TForm1::ImageFlageProfilDblClick()
{
    util::OperationScope scope(m_gate, Request::Command);
    if (!scope)
        return;
    util::RuntimeState& g = util::Global();
    const bool german = !RadioButtonDeutsch->isChecked();
    const QPixmap flag = (german ? ImageFlageD : ImageFlageE)->pixmap();
    ImageFlageAkt->setPixmap(flag);
    ImageFlageProfil->setPixmap(flag);
    // The settings page's own language change: saves, switches and refreshes.
    SetLanguageButton(german ? RadioButtonDeutsch : RadioButtonEnglisch);
    SwitchLanguage(german);
    g.LanguageFlag = german ? 1 : 0;
    g.CurrentProfile = german ? g.ChosenProfileGerman : g.ChosenProfileEnglish;

    LabelProfilname->setText(Q(g.CurrentProfile));
    g.ProfileStartFile = ProfileStartFileOf(g.CurrentProfile);
    TntListViewAkt->statusModel()->clear();
    TntListViewAuswahl->statusModel()->clear();
    g.CurrentLocalFolder = german ? g.LocalFolderGerman : g.LocalFolderEnglish;
    g.CurrentServerFolder = german ? g.ServerFolderGerman : g.ServerFolderEnglish;
    g.CurrentSetStartFile =
        g.CurrentLocalFolder.empty()
            ? std::string()
            : launch::ReadStartFile(LMDIniCtrl2, profiles::CurrentSetIniPath(g.CurrentLocalFolder));
    RefreshCurrentSet();
    RefreshProfile();
}

void TForm1::AusgewhlteDateienaktuallisierenProfilClick()
{
    RunOnMarkedProfileRows(profiles::UpdateMarkedQuestion, [](const std::vector<std::string>& names,
                                                              const profiles::ProfileFileCallback& report) {
        const util::RuntimeState& g = util::Global();
        profiles::ExecuteProfileUpdate(
            profiles::PlanProfileUpdate(names, g.CurrentLocalFolder, g.CurrentProfile, g.CurrentServerFolder),
            report);
    });
}

void TForm1::DateilokallschenProfilClick()
{
    RunOnMarkedProfileRows(profiles::DeleteMarkedQuestion, [](const std::vector<std::string>& names,
                                                              const profiles::ProfileFileCallback& report) {
        const util::RuntimeState& g = util::Global();
        profiles::ExecuteProfileDelete(
            profiles::PlanProfileDelete(names, g.CurrentLocalFolder, g.CurrentProfile, g.CurrentServerFolder),
            report);
    });
}

void TForm1::RunOnMarkedProfileRows(
    const std::function<std::string(std::size_t count)>& question,
    const std::function<void(const std::vector<std::string>&, const profiles::ProfileFileCallback&)>& command)
{
    util::OperationScope scope(m_gate, Request::Command);
    if (!scope)
        return;
    const std::vector<std::string> names = MarkedProfileRowNames();
    if (names.empty()) {
        ui::Information(kMarkAFile, this);
        return;
    }
    if (!ui::Confirm(Q(question(names.size())), this))
        return;
    // Each file's message as it comes, and the list refreshed after each file.
    command(names, [this](const profiles::ProfileFileStep&, const filesync::CommandResult& result) {
        if (!result.message.empty())
            ui::Message(Q(result.message), this);
        if (result.refresh)
            RefreshProfile();
    });
}
