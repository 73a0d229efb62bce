#include "app/Form1_u.h"

#include "app/dialogs/FormPfade_u.h"
#include "sync/BulkUpdate.h"
#include "sync/RowCommands.h"
#include "ui/MessageDialogs.h"
#include "ui/QtText.h"
#include "ui/StatusListView.h"
#include "ui/WaitCursor.h"
#include "util/z_global.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

// Updating and deleting local copies of the current set.

using ui::Q;
using ui::S;

namespace {

const QString kMarkAFile = QStringLiteral("Biite eine Datei markieren.");

// Keeps the window painted while a large file copies. The pump lets no user input
// through and the gate puts off a timer's refresh, so nothing else runs meanwhile.
void PumpDuringCopy(std::uint64_t, std::uint64_t)
{
    util::DelayWithMessages(0);
}

} // namespace

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
    if (!filesync::BothLocalFoldersExist(g.LocalFolderGerman, g.LocalFolderEnglish)) {
        if (m_formPfade)
            m_formPfade->exec();
        ui::Information(QStringLiteral("Bitte noch einmal den Befehl aufrufen."), this);
        return;
    }

    ui::WaitCursor cursor;
    // A display still counting down from an earlier update must not vanish mid-way.
    Timer1->stop();
    LabelKopPPP->setText(QStringLiteral("Kopieren wird vorbereitet..."));
    LabelKopPPP->show();
    LMDProgress1->show();
    LMDProgress1->setValue(0);
    util::DelayWithMessages(500);

    const filesync::BulkUpdatePlan plan =
        filesync::PlanBulkUpdate(rows, g.CurrentLocalFolder, g.CurrentServerFolder);
    LabelKopPPP->setText(QStringLiteral("Kopiere Dateien..."));
    util::DelayWithMessages(10);
    filesync::ExecuteBulkUpdate(
        plan,
        [&](const filesync::BulkRowReport& report) {
            if (!report.result.message.empty()) {
                cursor.Restore();
                ui::Message(Q(report.result.message), this);
            }
            LMDProgress1->setValue(report.progress);
            util::DelayWithMessages(10);
        },
        PumpDuringCopy);

    Timer1->start();
    LabelKopPPP->setText(QStringLiteral("Fertig"));
    cursor.Restore();
    RefreshCurrentSet();
}

void TForm1::AusgewhlteDateiaktualisieren1Click()
{
    RunOnMarkedRow(filesync::UpdateRowQuestion, [](const filesync::FileRow& row) {
        const util::RuntimeState& g = util::Global();
        return filesync::UpdateRow(row, g.CurrentLocalFolder, g.CurrentServerFolder, PumpDuringCopy);
    });
}

void TForm1::Dateilschen1Click()
{
    RunOnMarkedRow(filesync::DeleteRowQuestion, [](const filesync::FileRow& row) {
        return filesync::DeleteRowLocally(row, util::Global().CurrentLocalFolder);
    });
}

void TForm1::RunOnMarkedRow(const std::function<std::string(std::string_view caption)>& question,
                            const std::function<filesync::CommandResult(const filesync::FileRow&)>& command)
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    const int marked = TntListViewAkt->firstMarkedRow();
    if (marked < 0) {
        ui::Information(kMarkAFile, this);
        return;
    }
    const filesync::FileRow row = TntListViewAkt->statusModel()->row(marked);
    if (!ui::Confirm(Q(question(row.displayName)), this))
        return;
    const filesync::CommandResult result = command(row);
    if (!result.message.empty())
        ui::Message(Q(result.message), this);
    if (result.refresh)
        RefreshCurrentSet();
}
