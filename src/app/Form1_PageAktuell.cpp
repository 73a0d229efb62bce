#include "app/Form1_u.h"

#include "app/QuintorApplication.h"
#include "app/dialogs/FormPfade_u.h"
#include "app/dialogs/FormProfilSpeichern_u.h"
#include "launch/StartFile.h"
#include "profiles/ProfileCopy.h"
#include "sync/BulkUpdate.h"
#include "sync/OfficeLockFile.h"
#include "sync/RowCommands.h"
#include "ui/DoubleClickAnywhere.h"
#include "ui/Flags.h"
#include "ui/FlatButton.h"
#include "ui/Glyphs.h"
#include "ui/GradientStrip.h"
#include "ui/Layout.h"
#include "ui/MessageDialogs.h"
#include "ui/QtText.h"
#include "ui/StatusListView.h"
#include "ui/WaitCursor.h"
#include "util/FileWork.h"
#include "util/z_global.h"

#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTimer>

// Page 0 "Aktuelle PPP": the current set of the chosen language, its updating from
// the server, saving it as a profile, and showing and editing its files.

using ui::Q;
using ui::S;

void TForm1::BuildPageAktuell(QWidget* page)
{
    EncartaButtonSync = ui::AddButton(page, "EncartaButtonSync", QString(), QRect(6, 6, 32, 28));
    EncartaButtonSync->setToolTip(QStringLiteral("Dateien aktuallisieren"));
    EncartaButtonSync->setIcon(ui::UpdateGlyph());
    EncartaButtonSync->setIconSize(QSize(20, 20));
    EncartaButtonAktA = ui::AddButton(page, "EncartaButtonAktA", QStringLiteral("Liste Aktuallisieren"),
                                      QRect(44, 6, 130, 28));
    LabelKopPPP = ui::AddLabel(page, "LabelKopPPP", QStringLiteral("LabelKopPPP"), 184, 5);
    LabelKopPPP->setFixedWidth(214);
    LabelKopPPP->hide();
    LMDProgress1 = ui::Named(new QProgressBar(page), "LMDProgress1");
    LMDProgress1->setGeometry(184, 22, 214, 12);
    LMDProgress1->setRange(0, 100);
    LMDProgress1->setTextVisible(false);
    LMDProgress1->hide();
    GradientFillAkt = ui::AddHeaderBand(page, "GradientFillAkt", QRect(3, 40, 398, 18));
    TntListViewAkt = ui::Named(new ui::StatusListView(false, page), "TntListViewAkt");
    TntListViewAkt->setGeometry(3, 58, 398, 244);
    EncartaButtonPSpeichern = ui::AddButton(page, "EncartaButtonPSpeichern",
                                            QStringLiteral("Profil speichern als"), QRect(3, 310, 130, 26));
    ImageFlageAkt = ui::AddFlag(page, "ImageFlageAkt", QRect(146, 314, 30, 18));
    ImageFlageAkt->setPixmap(ui::GermanFlag());
    EncartaButtonBearb =
        ui::AddButton(page, "EncartaButtonBearb", QStringLiteral("Bearbeiten"), QRect(227, 310, 84, 26));
    EncartaButtonExe =
        ui::AddButton(page, "EncartaButtonExe", QStringLiteral("Ausführen"), QRect(317, 310, 84, 26));

    PopupMenuAPPP = ui::Named(new QMenu(this), "PopupMenuAPPP");
    Startdateidefinieren1 = ui::AddMenuItem(PopupMenuAPPP, "Startdateidefinieren1", "Startdatei definieren");
    AktuellePPPalsProfilspeichern1 = ui::AddMenuItem(PopupMenuAPPP, "AktuellePPPalsProfilspeichern1",
                                                     "Aktuelle PPP als Profil speichern unter...");
    AusgewhlteDateiaktualisieren1 =
        ui::AddMenuItem(PopupMenuAPPP, "AusgewhlteDateiaktualisieren1", "Ausgewählte Datei aktualisieren");
    ui::AddMenuSeparator(PopupMenuAPPP, "N1");
    Dateilschen1 = ui::AddMenuItem(PopupMenuAPPP, "Dateilschen1", "Datei lokal löschen");
    ui::AttachContextMenu(TntListViewAkt, PopupMenuAPPP);
}

void TForm1::ConnectPageAktuell()
{
    connect(EncartaButtonAktA, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonAktAClick));
    connect(EncartaButtonSync, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonSyncClick));
    connect(EncartaButtonPSpeichern, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonPSpeichernClick));
    connect(EncartaButtonBearb, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonBearbClick));
    connect(EncartaButtonExe, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonExeClick));
    ui::OnDoubleClickAnywhere(TntListViewAkt,
                              QuintorApplication::Guarded(this, &TForm1::EncartaButtonExeClick));
    connect(TntListViewAkt, &ui::StatusListView::markChanged, this,
            QuintorApplication::Guarded(this, &TForm1::TntListViewAktChange));
    TntListViewAkt->statusModel()->setBoldRule([this](int row, int column) {
        return column == 0 ? TntListViewAktCustomDrawItem(row) : TntListViewAktCustomDrawSubItem(row, column);
    });
    connect(Startdateidefinieren1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::Startdateidefinieren1Click));
    connect(AktuellePPPalsProfilspeichern1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonPSpeichernClick));
    connect(AusgewhlteDateiaktualisieren1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::AusgewhlteDateiaktualisieren1Click));
    connect(Dateilschen1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::Dateilschen1Click));
    // A double-click on the flag switches the language (see eventFilter).
    ImageFlageAkt->installEventFilter(this);
}

// ---------------------------------------------------------------- the list

void TForm1::EncartaButtonAktAClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::RefreshCurrentSet);
    if (scope)
        RefreshCurrentSet();
}

void TForm1::TntListViewAktChange()
{
    UpdateMenuState(TntListViewAkt, AusgewhlteDateiaktualisieren1, Dateilschen1);
}

bool TForm1::TntListViewAktCustomDrawItem(int row) const
{
    return launch::IsStartFile(TntListViewAkt->statusModel()->row(row).displayName,
                               util::Global().CurrentSetStartFile);
}

bool TForm1::TntListViewAktCustomDrawSubItem(int, int) const
{
    return false;
}

// ---------------------------------------------------------------- updating local copies

void TForm1::EncartaButtonSyncClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    const std::vector<filesync::FileRow> rows = TntListViewAkt->statusModel()->rows();
    if (!filesync::HasRowsToUpdate(rows))
        return;
    if (!ui::Confirm(Q(filesync::kBulkUpdateQuestion), this))
        return;
    const util::RuntimeState& g = util::Global();
    const std::optional<bool> foldersExist =
        util::RunFileWorkFor([german = g.LocalFolderGerman, english = g.LocalFolderEnglish] {
            return filesync::BothLocalFoldersExist(german, english);
        });
    if (!foldersExist) // the program is closing
        return;
    if (!*foldersExist) {
        if (m_formPfade)
            m_formPfade->exec();
        ui::Information(QStringLiteral("Bitte noch einmal den Befehl aufrufen."), this);
        return;
    }

    util::StepPlan plan = filesync::PlanBulkUpdate(rows, g.CurrentLocalFolder, g.CurrentServerFolder);
    ConfirmOpenDocuments(plan, g.CurrentLocalFolder);

    ui::WaitCursor cursor;
    // A display still counting down from an earlier update must not vanish mid-way.
    Timer1->stop();
    LabelKopPPP->setText(QStringLiteral("Kopieren wird vorbereitet..."));
    LabelKopPPP->show();
    LMDProgress1->show();
    LMDProgress1->setValue(0);
    util::DelayWithMessages(500);

    LabelKopPPP->setText(QStringLiteral("Kopiere Dateien..."));
    util::DelayWithMessages(10);
    const auto tell = [&](const util::StepReport& report) {
        if (!report.outcome.message.empty()) {
            cursor.Restore();
            ui::Message(Q(report.outcome.message), this);
        }
    };
    util::StepObserver observer;
    observer.afterStep = [&](const util::StepReport& report) {
        tell(report);
        LMDProgress1->setValue(report.step.progress);
        util::DelayWithMessages(10);
    };
    // A copy that could not be placed with its batch is told as a failed copy is,
    // without moving the bar back to its row.
    observer.afterLateFailure = tell;
    RunPlan(plan, observer);

    Timer1->start();
    LabelKopPPP->setText(QStringLiteral("Fertig"));
    cursor.Restore();
    RefreshCurrentSet();
}

void TForm1::AusgewhlteDateiaktualisieren1Click()
{
    RunOnMarkedRow(
        filesync::UpdateRowQuestion,
        [this](const filesync::FileRow& row) {
            const util::RuntimeState& g = util::Global();
            if (IsOpenDocument(g.CurrentLocalFolder, row.name) && !UpdateOpenDocumentAnyway(row.displayName))
                return util::Nothing();
            return util::RunStepAsFileWork(
                [row, local = g.CurrentLocalFolder, server = g.CurrentServerFolder] {
                    return filesync::UpdateRow(row, local, server);
                });
        },
        true);
}

bool TForm1::UpdateOpenDocumentAnyway(std::string_view name)
{
    return ui::Confirm(Q(filesync::OpenDocumentQuestion(name)), this, ui::DefaultAnswer::No);
}

void TForm1::Dateilschen1Click()
{
    // A refused delete changed nothing, so the list stays as it is.
    RunOnMarkedRow(
        filesync::DeleteRowQuestion,
        [](const filesync::FileRow& row) {
            return util::RunStepAsFileWork([row, local = util::Global().CurrentLocalFolder] {
                return filesync::DeleteRowLocally(row, local);
            });
        },
        false, ui::DefaultAnswer::No);
}

void TForm1::RunOnMarkedRow(const std::function<std::string(std::string_view caption)>& question,
                            const std::function<util::Outcome<>(const filesync::FileRow&)>& command,
                            bool refreshAfterFailure, ui::DefaultAnswer defaultAnswer)
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    const int marked = TntListViewAkt->firstMarkedRow();
    if (marked < 0) {
        AskToMarkAFile();
        return;
    }
    const filesync::FileRow row = TntListViewAkt->statusModel()->row(marked);
    if (!ui::Confirm(Q(question(row.displayName)), this, defaultAnswer))
        return;
    const util::Outcome<> outcome = command(row);
    if (!outcome.message.empty())
        ui::Message(Q(outcome.message), this);
    if (outcome.IsDone() || (refreshAfterFailure && outcome.code == util::OutcomeCode::Failed))
        RefreshCurrentSet();
}

// ---------------------------------------------------------------- saving as a profile

void TForm1::EncartaButtonPSpeichernClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
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

    // Made from a listing of the local folder, so made as file work as well.
    const util::StepPlan plan =
        util::RunFileWorkFor([local = util::Global().CurrentLocalFolder, folder = S(profileFolder)] {
            return profiles::PlanProfileCopy(local, folder);
        }).value_or(util::StepPlan());
    if (plan.steps.empty()) {
        LabelKopPPP->hide();
        LMDProgress1->hide();
        return;
    }
    LabelKopPPP->setText(QStringLiteral("Kopiere Dateien..."));
    util::DelayWithMessages(10);
    LabelKopPPP->show();
    LMDProgress1->show();

    util::StepObserver observer;
    observer.beforeStep = [this](std::size_t position, std::size_t count) {
        LabelKopPPP->setText(Q(profiles::CopyCountText(position, count)));
    };
    observer.afterStep = [this, &cursor](const util::StepReport& report) {
        LMDProgress1->setValue(report.step.progress);
        util::DelayWithMessages(10);
        cursor.Restore();
        if (!report.outcome.IsDone())
            ui::Error(Q(report.outcome.message), this);
    };
    RunPlan(plan, observer);

    Timer1->start();
    LabelKopPPP->setText(QStringLiteral("Fertig"));
}

// ---------------------------------------------------------------- showing, editing, start file

void TForm1::EncartaButtonExeClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope)
        LaunchMarkedFile(TntListViewAkt, launch::ListPage::CurrentSet, launch::LaunchButton::Show);
}

void TForm1::EncartaButtonBearbClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope)
        LaunchMarkedFile(TntListViewAkt, launch::ListPage::CurrentSet, launch::LaunchButton::Edit);
}

void TForm1::Startdateidefinieren1Click()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope && DefineStartFile(launch::DefineCurrentSetStartFile, TntListViewAkt))
        RefreshCurrentSet();
}
