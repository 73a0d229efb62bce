#include "app/Form1_u.h"

#include "app/QuintorApplication.h"
#include "app/dialogs/FormInfo_u.h"
#include "launch/StartFile.h"
#include "profiles/ProfileFileCommands.h"
#include "profiles/ProfileStore.h"
#include "text/Utf8Path.h"
#include "ui/DoubleClickAnywhere.h"
#include "ui/Flags.h"
#include "ui/FlatButton.h"
#include "ui/GradientStrip.h"
#include "ui/Layout.h"
#include "ui/MessageDialogs.h"
#include "ui/QtText.h"
#include "ui/StatusListView.h"
#include "util/FileWork.h"
#include "util/z_global.h"

#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <filesystem>

// Page 2 "Ausgewähltes Profil": the files of the selected profile, updating and
// deleting them, showing and editing them, and switching the language by its flag.

using ui::Q;
using ui::S;

void TForm1::BuildPageAusgewaehlt(QWidget* page)
{
    ui::AddLabel(page, "Label3", QStringLiteral("Profilname:"), 8, 12)->setFixedHeight(16);
    LabelProfilname = ui::AddBoldLabel(page, "LabelProfilname", 76, 12, 180);
    EncartaButtonListeAuswahl = ui::AddButton(page, "EncartaButtonListeAuswahl",
                                              QStringLiteral("Liste Aktuallisieren"), QRect(271, 6, 130, 28));
    GradientFillProfil = ui::AddHeaderBand(page, "GradientFillProfil", QRect(3, 40, 398, 18));
    TntListViewAuswahl = ui::Named(new ui::StatusListView(true, page), "TntListViewAuswahl");
    TntListViewAuswahl->setGeometry(3, 58, 398, 244);
    EncartaButtonInfo = ui::AddButton(page, "EncartaButtonInfo", QStringLiteral("i"), QRect(3, 310, 24, 26));
    QFont courier(QStringLiteral("Courier New"), 9);
    courier.setBold(true);
    EncartaButtonInfo->setFont(courier);
    ImageFlageProfil = ui::AddFlag(page, "ImageFlageProfil", QRect(36, 314, 30, 18));
    ImageFlageProfil->setPixmap(ui::GermanFlag());
    EncartaButtonProfBer =
        ui::AddButton(page, "EncartaButtonProfBer", QStringLiteral("Bearbeiten"), QRect(227, 310, 84, 26));
    EncartaButtonProExe =
        ui::AddButton(page, "EncartaButtonProExe", QStringLiteral("Ausführen"), QRect(317, 310, 84, 26));

    PopupMenuAusProf = ui::Named(new QMenu(this), "PopupMenuAusProf");
    StartdateidefinierenProfil =
        ui::AddMenuItem(PopupMenuAusProf, "StartdateidefinierenProfil", "Startdatei definieren");
    AusgewhlteDateienaktuallisierenProfil = ui::AddMenuItem(
        PopupMenuAusProf, "AusgewhlteDateienaktuallisierenProfil", "Ausgewählte Datei(en) aktuallisieren");
    ui::AddMenuSeparator(PopupMenuAusProf, "N3");
    DateilokallschenProfil =
        ui::AddMenuItem(PopupMenuAusProf, "DateilokallschenProfil", "Datei lokal löschen");
    ui::AttachContextMenu(TntListViewAuswahl, PopupMenuAusProf);
}

void TForm1::ConnectPageAusgewaehlt()
{
    connect(EncartaButtonListeAuswahl, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonListeAuswahlClick));
    connect(TntListViewAuswahl, &ui::StatusListView::markChanged, this,
            QuintorApplication::Guarded(this, &TForm1::TntListViewAuswahlChange));
    TntListViewAuswahl->statusModel()->setBoldRule([this](int row, int column) {
        return column == 0 ? TntListViewAuswahlCustomDrawItem(row)
                           : TntListViewAuswahlCustomDrawSubItem(row, column);
    });
    ui::OnDoubleClickAnywhere(TntListViewAuswahl,
                              QuintorApplication::Guarded(this, &TForm1::EncartaButtonProExeClick));
    connect(EncartaButtonProfBer, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonProfBerClick));
    connect(EncartaButtonProExe, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonProExeClick));
    connect(EncartaButtonInfo, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonInfoClick));
    // A double-click on the flag switches the language (see eventFilter).
    ImageFlageProfil->installEventFilter(this);
    connect(StartdateidefinierenProfil, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::StartdateidefinierenProfilClick));
    connect(AusgewhlteDateienaktuallisierenProfil, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::AusgewhlteDateienaktuallisierenProfilClick));
    connect(DateilokallschenProfil, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::DateilokallschenProfilClick));
}

// Each time the page is shown: a profile whose folder has gone is no longer selected.
void TForm1::CheckProfilePage()
{
    const util::RuntimeState& g = util::Global();
    const auto folder = profiles::ProfileFolderPath(g.CurrentLocalFolder, S(LabelProfilname->text()));
    const bool exists = folder && util::RunFileWorkFor([path = *folder] {
                                      std::error_code ec;
                                      return std::filesystem::is_directory(text::PathFromUtf8(path), ec);
                                  }).value_or(true);
    if (!exists)
        LabelProfilname->clear();
}

// ---------------------------------------------------------------- the list

void TForm1::EncartaButtonListeAuswahlClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::RefreshProfile);
    if (scope)
        RefreshProfile();
}

void TForm1::TntListViewAuswahlChange()
{
    UpdateMenuState(TntListViewAuswahl, AusgewhlteDateienaktuallisierenProfil, DateilokallschenProfil);
}

bool TForm1::TntListViewAuswahlCustomDrawItem(int row) const
{
    return launch::IsStartFile(TntListViewAuswahl->statusModel()->row(row).displayName,
                               util::Global().ProfileStartFile);
}

bool TForm1::TntListViewAuswahlCustomDrawSubItem(int, int) const
{
    return false;
}

// ---------------------------------------------------------------- updating and deleting marked files

std::vector<filesync::FileRow> TForm1::MarkedProfileRows() const
{
    std::vector<filesync::FileRow> rows;
    for (int row : TntListViewAuswahl->markedRows())
        rows.push_back(TntListViewAuswahl->statusModel()->row(row));
    return rows;
}

void TForm1::AusgewhlteDateienaktuallisierenProfilClick()
{
    RunOnMarkedProfileRows(
        profiles::UpdateMarkedQuestion, [this](const std::vector<filesync::FileRow>& rows) {
            const util::RuntimeState& g = util::Global();
            util::StepPlan plan = profiles::PlanProfileUpdate(rows, g.CurrentLocalFolder, g.CurrentProfile,
                                                              g.CurrentServerFolder);
            if (const auto folder = profiles::ProfileFolderPath(g.CurrentLocalFolder, g.CurrentProfile))
                ConfirmOpenDocuments(plan, *folder);
            return plan;
        });
}

void TForm1::DateilokallschenProfilClick()
{
    RunOnMarkedProfileRows(
        profiles::DeleteMarkedQuestion,
        [](const std::vector<filesync::FileRow>& rows) {
            const util::RuntimeState& g = util::Global();
            return profiles::PlanProfileDelete(rows, g.CurrentLocalFolder, g.CurrentProfile,
                                               g.CurrentServerFolder);
        },
        ui::DefaultAnswer::No);
}

void TForm1::RunOnMarkedProfileRows(
    const std::function<std::string(std::size_t count)>& question,
    const std::function<util::StepPlan(const std::vector<filesync::FileRow>&)>& plan,
    ui::DefaultAnswer defaultAnswer)
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    const std::vector<filesync::FileRow> rows = MarkedProfileRows();
    if (rows.empty()) {
        AskToMarkAFile();
        return;
    }
    if (!ui::Confirm(Q(question(rows.size())), this, defaultAnswer))
        return;
    // Each file's message as it comes, and the list refreshed after each file
    // worked on, also after a failure.
    RunPlan(plan(rows), {{}, [this](const util::StepReport& report) {
                             if (!report.outcome.message.empty())
                                 ui::Message(Q(report.outcome.message), this);
                             if (report.outcome.code != util::OutcomeCode::Nothing)
                                 RefreshProfile();
                         }});
}

// ---------------------------------------------------------------- showing, editing, start file

void TForm1::EncartaButtonProExeClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope)
        LaunchMarkedFile(TntListViewAuswahl, launch::ListPage::Profile, launch::LaunchButton::Show);
}

void TForm1::EncartaButtonProfBerClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope)
        LaunchMarkedFile(TntListViewAuswahl, launch::ListPage::Profile, launch::LaunchButton::Edit);
}

void TForm1::StartdateidefinierenProfilClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope && DefineStartFile(launch::DefineProfileStartFile, TntListViewAuswahl))
        RefreshProfile();
}

// ---------------------------------------------------------------- help and language flag

void TForm1::EncartaButtonInfoClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope && m_formInfo)
        m_formInfo->exec();
}

// Also the double-click on the flag of page 0.
void TForm1::ImageFlageProfilDblClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
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
    g.CurrentSetStartFile = g.CurrentLocalFolder.empty()
                                ? std::string()
                                : ReadStartFileAt(profiles::CurrentSetIniPath(g.CurrentLocalFolder));
    RefreshCurrentSet();
    RefreshProfile();
}
