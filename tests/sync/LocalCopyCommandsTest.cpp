#include "support/FakeShares.h"
#include "support/FileRows.h"
#include "support/FolderTree.h"
#include "support/OpenFiles.h"
#include "support/OutcomePrint.h"
#include "support/ScopedFault.h"
#include "support/TempDir.h"
#include "sync/BulkUpdate.h"
#include "sync/FileStatus.h"
#include "sync/FolderPath.h"
#include "sync/Inventory.h"
#include "sync/RowCommands.h"
#include "util/FileWork.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <numeric>

namespace fs = std::filesystem;
using namespace filesync;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::FolderHolds;
using testsupport::Row;
using testsupport::SameSnapshot;
using testsupport::ScopedFault;
using testsupport::SnapshotTree;
using testsupport::TempDir;

namespace {

const std::uint32_t kOld = Dos(2021, 3, 4, 10, 0, 0);
const std::uint32_t kNew = Dos(2023, 5, 17, 9, 30, 0);

TEST(LocalCopyTexts, AreTheProgramsOwn)
{
    EXPECT_EQ(UpdateRowQuestion("Intro.ppt"),
              "Wollen Sie die ausgewählte Datei   \rIntro.ppt\r\rlokal wirklich aktualisieren?");
    EXPECT_EQ(DeleteRowQuestion("Intro.ppt"),
              "Wollen Sie die asugewählte Datei   \rIntro.ppt\r\rlokal wirklich löschen?");
    EXPECT_EQ(kBulkUpdateQuestion,
              "Auf dem Server befinden sich neuere Dateien\rWollen Sie lokale Dateien jetz aktuallisieren?");
    EXPECT_EQ(kCopyFailedMessage, "Datei konnte nicht kopiert werden.");
    EXPECT_EQ(kDeleteFailedMessage, "Datei konnte nicht gelöscht werden");
}

TEST(FolderPath, AddsOneDelimiterAndRefusesAnEmptyFolder)
{
    EXPECT_EQ(PathInFolder("/srv/ppt", "a.ppt"), "/srv/ppt/a.ppt");
    EXPECT_EQ(PathInFolder("/srv/ppt/", "a.ppt"), "/srv/ppt/a.ppt");
    EXPECT_EQ(PathInFolder("", "a.ppt"), "");
}

TEST(StatusVocabulary, WhatTheCommandsMayDoWithARow)
{
    // status:                         0      1      2     3      4     5      6     7
    const bool needsUpdate[] = {false, false, true, true, false, false, false, false};
    const bool canUpdate[] = {true, false, true, true, true, false, true, false};
    const bool canDelete[] = {true, true, true, false, true, true, true, true};
    std::vector<FileRow> rows;
    for (int status = 0; status < kStatusCount; ++status) {
        EXPECT_EQ(NeedsUpdate(status), needsUpdate[status]) << status;
        EXPECT_EQ(CanUpdateFromServer(status), canUpdate[status]) << status;
        EXPECT_EQ(CanDeleteLocally(status), canDelete[status]) << status;
        EXPECT_FALSE(StatusLegendText(status).empty()) << status;
        rows.push_back(Row("f" + std::to_string(status), status));
    }
    EXPECT_TRUE(StatusLegendText(kStatusCount).empty());

    rows.push_back(Row("noch eine", StatusMissingLocally));
    rows.push_back(Row("kaputt", 9));
    const StatusCounts counts = CountByStatus(rows);
    EXPECT_EQ(counts, (StatusCounts{1, 1, 1, 2, 1, 1, 1, 1})) << "a number outside 0..7 is not counted";
    EXPECT_EQ(CountNeedingUpdate(rows), 3u);
    EXPECT_TRUE(HasRowsToUpdate(rows));
    rows.erase(rows.begin() + 2, rows.begin() + 4);
    rows.erase(rows.end() - 2);
    EXPECT_FALSE(HasRowsToUpdate(rows));
    EXPECT_FALSE(HasRowsToUpdate({}));
}

class LocalCopyCommands : public testing::Test
{
protected:
    std::vector<FileRow> Refresh() const { return BuildInventory({local.str(), server.str(), {}, true}, {}); }

    static int StatusOf(const std::vector<FileRow>& rows, const std::string& name)
    {
        for (const auto& row : rows)
            if (row.name == name)
                return row.status;
        return -1;
    }

    // Runs a plan as the window does and collects each step's outcome.
    static std::vector<util::Outcome<>> Run(const util::StepPlan& plan)
    {
        std::vector<util::Outcome<>> outcomes;
        (void)util::ExecutePlan(plan,
                                {{}, [&](const util::StepReport& r) { outcomes.push_back(r.outcome); }});
        return outcomes;
    }

    TempDir server;
    TempDir local;
};

TEST_F(LocalCopyCommands, BulkUpdateCopiesRowByRowAndASecondOneChangesNothing)
{
    Build(server,
          {File("a.ppt", "server a", kNew), File("b.ppt", "same b", kOld), File("c.ppt", "server c", kNew)});
    Build(local, {File("a.ppt", "local a", kOld), File("b.ppt", "same b", kOld)});
    const auto serverBefore = SnapshotTree(server.path());
    const std::vector<FileRow> rows{Row("a.ppt", StatusServerNewer), Row("b.ppt", StatusIdentical),
                                    Row("c.ppt", StatusMissingLocally)};

    std::vector<std::pair<int, util::Outcome<>>> reports;
    (void)util::ExecutePlan(PlanBulkUpdate(rows, local.str(), server.str()),
                            {{}, [&](const util::StepReport& r) {
                                 // The row's copy is done by the time its progress is reported.
                                 if (r.position == 3) {
                                     EXPECT_TRUE(fs::exists(local / "c.ppt"));
                                 }
                                 reports.emplace_back(r.step.progress, r.outcome);
                             }});

    EXPECT_EQ(reports, (std::vector<std::pair<int, util::Outcome<>>>{
                           {50, util::Done()}, {100, util::Nothing()}, {100, util::Done()}}));
    EXPECT_TRUE(FolderHolds(local.path(), {File("a.ppt", "server a", kNew), File("b.ppt", "same b", kOld),
                                           File("c.ppt", "server c", kNew)}));
    EXPECT_TRUE(SameSnapshot(serverBefore, SnapshotTree(server.path())));

    // Run again on the fresh rows: nothing to copy, nothing changes.
    const auto after = Refresh();
    EXPECT_FALSE(HasRowsToUpdate(after));
    const auto localAfter = SnapshotTree(local.path());
    const auto again = util::ExecutePlan(PlanBulkUpdate(after, local.str(), server.str()), {});
    EXPECT_EQ(again.done + again.failed, 0u);
    EXPECT_TRUE(SameSnapshot(localAfter, SnapshotTree(local.path())));
}

// Names are bytes to the copy: nothing in them is read as an option, a command,
// a line of text or a letter case of its own.
TEST_F(LocalCopyCommands, BulkUpdateTakesEveryServerNameAsItIs)
{
    const std::vector<std::string> names{"Zeile\nzwei.ppt",  "-rf.ppt",   "$(touch x); `id` | &.ppt",
                                         "F\xFC\xFF.ppt",    "Intro.PPT", std::string(251, 'a') + ".ppt",
                                         " vorn und hinten "};
    testsupport::Tree serverFiles;
    for (const auto& name : names)
        serverFiles.push_back(File(name, "server " + name, kNew));
    Build(server, serverFiles);
    Build(local, {File("intro.ppt", "lokal", kOld)});
    const auto serverBefore = SnapshotTree(server.path());

    const auto rows = Refresh();
    ASSERT_EQ(rows.size(), names.size());
    for (const auto& outcome : Run(PlanBulkUpdate(rows, local.str(), server.str())))
        EXPECT_EQ(outcome, util::Done());

    testsupport::Tree expected;
    for (const auto& name : names)
        expected.push_back(File(name == "Intro.PPT" ? "intro.ppt" : name, "server " + name, kNew));
    EXPECT_TRUE(FolderHolds(local.path(), expected)) << "the local spelling kept, nothing else made";
    for (const auto& row : Refresh())
        EXPECT_EQ(row.status, StatusIdentical) << row.displayName;
    EXPECT_TRUE(SameSnapshot(serverBefore, SnapshotTree(server.path())));
}

TEST_F(LocalCopyCommands, BulkUpdateReportsAFailedCopyOnceAndGoesOn)
{
    Build(server,
          {File("a.ppt", std::string(100000, 'a'), kNew), File("b.ppt", std::string(100000, 'b'), kNew),
           File("c.ppt", std::string(100000, 'c'), kNew), File("weg.ppt", "gone soon", kNew)});
    Build(local, {File("b.ppt", "old b", kOld)});
    const auto rows = Refresh();
    ASSERT_EQ(rows.size(), 4u);
    fs::remove(server / "weg.ppt");
    const auto fault = ScopedFault::CopyFailsAfter("b.ppt", 5000);

    std::vector<std::string> messages;
    const auto summary = util::ExecutePlan(PlanBulkUpdate(rows, local.str(), server.str()),
                                           {{}, [&](const util::StepReport& r) {
                                                if (!r.outcome.message.empty())
                                                    messages.push_back(r.outcome.message);
                                            }});

    // The vanished server file is passed over without a word.
    EXPECT_EQ(messages, std::vector<std::string>{std::string(kCopyFailedMessage)});
    EXPECT_EQ(summary.done, 2u);
    EXPECT_EQ(summary.failed, 1u);
    EXPECT_EQ(summary.nothing, 1u);
    EXPECT_TRUE(FolderHolds(local.path(),
                            {File("a.ppt", std::string(100000, 'a'), kNew), File("b.ppt", "old b", kOld),
                             File("c.ppt", std::string(100000, 'c'), kNew)}));
}

// Each copy starts reading the server files of the next few rows. A file replaced
// or removed on the server meanwhile is taken as the server holds it when its row
// comes, as if nothing had been read before.
TEST_F(LocalCopyCommands, BulkUpdateCopiesWhatTheServerHoldsWhenTheRowComes)
{
    testsupport::Tree serverFiles;
    testsupport::Tree localFiles;
    std::vector<FileRow> rows;
    for (int i = 0; i < 6; ++i) {
        const std::string name = "f" + std::to_string(i) + ".ppt";
        serverFiles.push_back(File(name, "server " + std::to_string(i), kNew));
        localFiles.push_back(File(name, "lokal " + std::to_string(i), kOld));
        rows.push_back(Row(name, StatusServerNewer));
    }
    Build(server, serverFiles);
    Build(local, localFiles);

    std::vector<util::Outcome<>> outcomes;
    (void)util::ExecutePlan(PlanBulkUpdate(rows, local.str(), server.str()),
                            {{}, [&](const util::StepReport& r) {
                                 outcomes.push_back(r.outcome);
                                 if (r.position == 1) {
                                     TempDir elsewhere;
                                     Build(elsewhere, {File("f2.ppt", "neu gespeichert", kNew)});
                                     fs::rename(elsewhere / "f2.ppt", server / "f2.ppt");
                                     fs::remove(server / "f3.ppt");
                                 }
                             }});

    EXPECT_EQ(outcomes, (std::vector<util::Outcome<>>{util::Done(), util::Done(), util::Done(),
                                                      util::Nothing(), util::Done(), util::Done()}));
    serverFiles[2] = File("f2.ppt", "neu gespeichert", kNew);
    serverFiles[3] = localFiles[3];
    EXPECT_TRUE(FolderHolds(local.path(), serverFiles));
}

// Copies into the server's own folder are refused one by one. What the update read
// ahead for them is let go of by the last copy, not left for whoever drops the plan
// (on the window's thread, where closing a file on a hanging share would wait).
TEST_F(LocalCopyCommands, BulkUpdateIntoTheServerFolderWritesNothingAndHoldsNothingOpen)
{
    testsupport::Tree files;
    std::vector<FileRow> rows;
    for (int i = 0; i < 12; ++i) {
        files.push_back(File("f" + std::to_string(i) + ".ppt", "server " + std::to_string(i), kNew));
        rows.push_back(Row(files.back().name, StatusServerNewer));
    }
    Build(server, files);
    const std::size_t openBefore = testsupport::OpenFileCount();

    const util::StepPlan plan = PlanBulkUpdate(rows, server.str(), server.str());
    const auto summary = util::ExecutePlan(plan, {});

    EXPECT_EQ(summary.failed, rows.size());
    EXPECT_EQ(testsupport::OpenFileCount(), openBefore);
    EXPECT_TRUE(FolderHolds(server.path(), files));
}

// The window waits for every copy as file work and says that the server does not
// answer once the work shows no progress for a while, so a long copy must show
// progress with every chunk, not only at its end.
TEST_F(LocalCopyCommands, CopiesShowTheWorkTheyRunInThatTheyMoveChunkByChunk)
{
    const std::string big(std::size_t{10} << 20, 'x');
    Build(server, {File("a.ppt", big, kNew), File("b.ppt", big, kNew)});
    Build(local, {File("b.ppt", "old", kOld)});
    const auto rows = Refresh();

    const auto ticksOf = [](const util::StepWork& work) {
        std::uint64_t ticks = 0;
        EXPECT_TRUE(util::RunFileWork([&](util::WorkProgress& progress) {
            EXPECT_EQ(work(), util::Done());
            ticks = progress.Ticks();
        }));
        return ticks;
    };
    const util::StepPlan plan = PlanBulkUpdate(rows, local.str(), server.str());
    ASSERT_EQ(plan.steps.size(), 2u);
    for (const auto& step : plan.steps)
        EXPECT_GE(ticksOf(step.work), 2u) << step.name;
    // The plan's executor places the batch's copies after the last step.
    for (const auto& placed : plan.batch->Finish())
        EXPECT_EQ(placed, util::Done());
    fs::remove(local / "a.ppt");
    EXPECT_GE(
        ticksOf([&] { return UpdateRow(Row("a.ppt", StatusMissingLocally), local.str(), server.str()); }),
        2u);
    EXPECT_TRUE(FolderHolds(local.path(), {File("a.ppt", big, kNew), File("b.ppt", big, kNew)}));
}

// Many replaced files, more than one batch holds: server "neu i", local "alt i".
class ManyReplacedFiles : public LocalCopyCommands
{
protected:
    const std::size_t kFiles = platform::ReplaceBatch::MostWaiting() + 44;

    static std::string Name(std::size_t i) { return "Folie " + std::to_string(i) + ".ppt"; }
    testsupport::Tree Files(const std::string& content, std::uint32_t time) const
    {
        testsupport::Tree tree;
        for (std::size_t i = 0; i < kFiles; ++i)
            tree.push_back(File(Name(i), content + " " + std::to_string(i), time));
        return tree;
    }

    void SetUp() override
    {
        Build(server, Files("neu", kNew));
        Build(local, Files("alt", kOld));
        for (std::size_t i = 0; i < kFiles; ++i)
            rows.push_back(Row(Name(i), StatusServerNewer));
    }

    std::string LocalContent(std::size_t position) const
    {
        std::ifstream in(local / rows[position - 1].name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::vector<FileRow> rows;
};

TEST_F(ManyReplacedFiles, FilesArePlacedInRowOrderABatchAtATimeAndAllByTheLastReport)
{
    std::vector<std::size_t> positions;
    std::size_t placed = 0; // rows from the top whose file is in place
    std::size_t placings = 0;
    const auto summary =
        util::ExecutePlan(PlanBulkUpdate(rows, local.str(), server.str()),
                          {{}, [&](const util::StepReport& r) {
                               positions.push_back(r.position);
                               const std::size_t before = placed;
                               while (placed < kFiles && LocalContent(placed + 1).rfind("neu ", 0) == 0)
                                   ++placed;
                               placings += placed > before ? 1 : 0;
                           }});

    std::vector<std::size_t> inOrder(kFiles);
    std::iota(inOrder.begin(), inOrder.end(), 1);
    EXPECT_EQ(positions, inOrder) << "the bar still follows the rows";
    EXPECT_EQ(placed, kFiles);
    EXPECT_GE(placings, 2u) << "more files than one batch holds";
    EXPECT_LT(placings, kFiles / 4) << "placed a batch at a time, not file by file";
    EXPECT_EQ(summary.done, kFiles);
    EXPECT_TRUE(FolderHolds(local.path(), Files("neu", kNew))) << "every file placed, no temporary file left";
}

TEST_F(ManyReplacedFiles, AFileFailingAtItsFlushOrRenameIsReportedOnceAndKeepsTheOldFile)
{
    // The 10th row fails while copying; the 5th copy to be placed and one in the
    // second batch fail at their rename. Copies are placed in row order, so those are
    // the 5th row and the row after that copy's (the 10th row has none).
    const std::size_t secondBatch = platform::ReplaceBatch::MostWaiting() + 20;
    const auto copyFault = ScopedFault::CopyFailsAfter(Name(9), 3);
    std::size_t renames = 0;
    const auto renameFault = ScopedFault::AtomicWrite([&](platform::AtomicWriteStep step) {
        return step == platform::AtomicWriteStep::Rename && (++renames == 5 || renames == secondBatch);
    });

    std::size_t reported = 0;
    std::vector<std::size_t> failedAt;
    util::StepObserver observer;
    observer.afterStep = [&](const util::StepReport& r) {
        reported = r.position;
        if (!r.outcome.message.empty()) {
            EXPECT_EQ(r.outcome, util::Failed(std::string(kCopyFailedMessage)));
            failedAt.push_back(r.position);
        }
    };
    observer.afterLateFailure = [&](const util::StepReport& r) {
        EXPECT_EQ(r.outcome, util::Failed(std::string(kCopyFailedMessage)));
        EXPECT_LE(r.position, reported) << "told after its own row's report";
        failedAt.push_back(r.position);
    };
    const auto summary = util::ExecutePlan(PlanBulkUpdate(rows, local.str(), server.str()), observer);

    std::sort(failedAt.begin(), failedAt.end());
    EXPECT_EQ(failedAt, (std::vector<std::size_t>{5, 10, secondBatch + 1})) << "each failed file told once";
    EXPECT_EQ(summary.failed, 3u);
    EXPECT_EQ(summary.done, kFiles - 3);
    testsupport::Tree expected = Files("neu", kNew);
    for (const std::size_t position : failedAt)
        expected[position - 1] = File(Name(position - 1), "alt " + std::to_string(position - 1), kOld);
    EXPECT_TRUE(FolderHolds(local.path(), expected)) << "nothing half-written, no temporary file left";
}

TEST_F(ManyReplacedFiles, APlanGivenUpMidwayLeavesTheOldFiles)
{
    {
        const util::StepPlan plan = PlanBulkUpdate(rows, local.str(), server.str());
        // The steps run as the executor would, but it never gets to finish the batch.
        for (std::size_t i = 0; i < 12; ++i)
            EXPECT_EQ(plan.steps[i].work(), util::Done());
        EXPECT_EQ(plan.batch->Waiting(), 12u);
        for (std::size_t position = 1; position <= 12; ++position)
            EXPECT_EQ(LocalContent(position), "alt " + std::to_string(position - 1));
    }
    EXPECT_TRUE(FolderHolds(local.path(), Files("alt", kOld))) << "the waiting copies went with the plan";
}

TEST_F(LocalCopyCommands, BulkUpdateNeedsBothLocalFolders)
{
    TempDir english;
    EXPECT_TRUE(BothLocalFoldersExist(local.str(), english.str()));
    EXPECT_FALSE(BothLocalFoldersExist(local.str(), (english / "fehlt").string()));
    EXPECT_FALSE(BothLocalFoldersExist("", english.str()));
    Build(english, {File("datei", "x")});
    EXPECT_FALSE(BothLocalFoldersExist(local.str(), (english / "datei").string()));
}

TEST_F(LocalCopyCommands, UpdateRowReplacesANewerLocalFileWithTheServers)
{
    Build(server, {File("a.ppt", "server", kOld)});
    Build(local, {File("a.ppt", "changed locally", kNew)});
    const auto rows = Refresh();
    ASSERT_EQ(StatusOf(rows, "a.ppt"), StatusLocalNewer);

    EXPECT_EQ(UpdateRow(rows[0], local.str(), server.str()), util::Done());
    EXPECT_TRUE(FolderHolds(local.path(), {File("a.ppt", "server", kOld)}));
    EXPECT_EQ(StatusOf(Refresh(), "a.ppt"), StatusIdentical);
}

TEST_F(LocalCopyCommands, UpdateRowWithoutServerFileDoesNothingAndAFailedCopyIsReported)
{
    Build(local, {File("a.ppt", "local", kOld)});
    EXPECT_EQ(UpdateRow(Row("a.ppt", StatusServerNewer), local.str(), server.str()), util::Nothing());
    EXPECT_EQ(UpdateRow(Row("a.ppt", StatusServerNewer), local.str(), ""), util::Nothing());

    Build(server, {File("a.ppt", "server", kNew)});
    fs::permissions(local / "a.ppt", fs::perms::owner_read);
    const auto failed = util::Failed(std::string(kCopyFailedMessage));
    EXPECT_EQ(UpdateRow(Row("a.ppt", StatusServerNewer), local.str(), server.str()), failed);
    EXPECT_TRUE(FolderHolds(local.path(), {File("a.ppt", "local", kOld)}));
    // No local folder: never the root folder instead.
    EXPECT_EQ(UpdateRow(Row("a.ppt", StatusServerNewer), "", server.str()), failed);
}

TEST_F(LocalCopyCommands, DeletedLocalCopyComesBackAsMissing)
{
    Build(server, {File("a.ppt", "same", kOld)});
    Build(local, {File("a.ppt", "same", kOld)});
    const auto rows = Refresh();
    ASSERT_EQ(StatusOf(rows, "a.ppt"), StatusIdentical);

    EXPECT_EQ(DeleteRowLocally(rows[0], local.str()), util::Done());
    EXPECT_TRUE(FolderHolds(local.path(), {}));
    EXPECT_EQ(StatusOf(Refresh(), "a.ppt"), StatusMissingLocally);
    // Nothing there any more: nothing to do, nothing to show.
    EXPECT_EQ(DeleteRowLocally(rows[0], local.str()), util::Nothing());
}

TEST_F(LocalCopyCommands, RefusedDeleteKeepsTheFile)
{
    const testsupport::Tree files{File("fest.ppt", "read-only"), File("gesperrt.ppt", "locked"),
                                  testsupport::Folder("Ordner")};
    Build(local, files);
    fs::permissions(local / "fest.ppt", fs::perms::owner_read | fs::perms::others_read);
    const auto fault = ScopedFault::DeleteRefused("gesperrt.ppt");

    const auto refused = util::Failed(std::string(kDeleteFailedMessage));
    EXPECT_EQ(DeleteRowLocally(Row("fest.ppt", StatusLocalOnly), local.str()), refused);
    EXPECT_EQ(DeleteRowLocally(Row("gesperrt.ppt", StatusLocalOnly), local.str()), refused);
    EXPECT_EQ(DeleteRowLocally(Row("Ordner", StatusLocalOnly), local.str()), util::Nothing());
    EXPECT_EQ(DeleteRowLocally(Row("fest.ppt", StatusLocalOnly), ""), util::Nothing());
    EXPECT_TRUE(FolderHolds(local.path(), files));
}

} // namespace

TEST_F(LocalCopyCommands, UpdatesReadASharedServerFolderWhereItIsMountedAndWriteNothingThere)
{
    TempDir gvfs;
    testsupport::FakeShares shares(gvfs.path());
    const fs::path share = shares.UserMount("srv02", "praes");
    Build(share, {File("a.ppt", "server a", kNew), File("b.ppt", "server b", kNew)});
    const auto oldA = File("a.ppt", "local a", kOld);
    Build(local, {oldA});
    const auto shareBefore = SnapshotTree(share);
    const std::string typed = "smb://srv02/praes";
    const std::vector<FileRow> rows{Row("a.ppt", StatusServerNewer), Row("b.ppt", StatusMissingLocally)};

    EXPECT_EQ(util::ExecutePlan(PlanBulkUpdate(rows, local.str(), typed), {}).done, 2u);
    EXPECT_TRUE(
        FolderHolds(local.path(), {File("a.ppt", "server a", kNew), File("b.ppt", "server b", kNew)}));

    Build(local, {oldA});
    EXPECT_EQ(UpdateRow(rows[0], local.str(), "\\\\SRV02\\Praes"), util::Done());
    EXPECT_TRUE(
        FolderHolds(local.path(), {File("a.ppt", "server a", kNew), File("b.ppt", "server b", kNew)}));
    EXPECT_TRUE(SameSnapshot(shareBefore, SnapshotTree(share)));

    // Not mounted: there is nothing to copy from, and nothing happens.
    Build(local, {oldA});
    EXPECT_EQ(UpdateRow(rows[0], local.str(), "\\\\srv03\\praes"), util::Nothing());
    EXPECT_TRUE(FolderHolds(local.path(), {oldA, File("b.ppt", "server b", kNew)}));
}
