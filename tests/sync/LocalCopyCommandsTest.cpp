#include "platform/AtomicFile.h"
#include "platform/FileDelete.h"
#include "support/FakeShares.h"
#include "support/FolderSnapshot.h"
#include "support/OutcomePrint.h"
#include "support/TempDir.h"
#include "sync/BulkUpdate.h"
#include "sync/FileStatus.h"
#include "sync/FolderPath.h"
#include "sync/Inventory.h"
#include "sync/RowCommands.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace filesync;
using testsupport::Dos;
using testsupport::ReadFile;
using testsupport::SnapshotFolder;
using testsupport::TempDir;
using testsupport::WriteFile;
using testsupport::WriteFileAt;

namespace {

const std::uint32_t kOld = Dos(2021, 3, 4, 10, 0, 0);
const std::uint32_t kNew = Dos(2023, 5, 17, 9, 30, 0);

FileRow Row(std::string name, int status)
{
    std::string display = name;
    return FileRow{std::move(name), std::move(display), std::nullopt, std::nullopt, status};
}

std::vector<int> Progression(std::size_t count, std::size_t rows)
{
    std::vector<int> values;
    for (std::size_t p = 1; p <= rows; ++p)
        values.push_back(util::StepProgress(p, count));
    return values;
}

TEST(BulkUpdateProgress, RoundsHalvesToEvenAndStopsAtHundred)
{
    EXPECT_EQ(Progression(2, 3), (std::vector<int>{50, 100, 100}));
    EXPECT_EQ(Progression(3, 3), (std::vector<int>{33, 67, 100}));
    EXPECT_EQ(Progression(8, 8), (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    // Step 0.5: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
    EXPECT_EQ(Progression(200, 5), (std::vector<int>{0, 1, 2, 2, 2}));
    EXPECT_EQ(util::StepProgress(200, 200), 100);
    EXPECT_EQ(util::StepProgress(1, 0), 0);
}

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

class LocalCopyCommands : public testing::Test
{
protected:
    void TearDown() override
    {
        platform::SetCopyFaultForTesting({});
        platform::SetDeleteFaultForTesting({});
    }

    std::vector<FileRow> Refresh() const { return BuildInventory({local.str(), server.str(), {}, true}, {}); }

    static int StatusOf(const std::vector<FileRow>& rows, const std::string& name)
    {
        for (const auto& row : rows) {
            if (row.name == name)
                return row.status;
        }
        return -1;
    }

    TempDir server;
    TempDir local;
};

TEST_F(LocalCopyCommands, BulkUpdateHasNothingToDoWithoutNewerOrMissingFiles)
{
    std::vector<FileRow> rows;
    for (int status : {0, 1, 4, 5, 6, 7})
        rows.push_back(Row("f" + std::to_string(status), status));
    EXPECT_FALSE(HasRowsToUpdate(rows));
    EXPECT_FALSE(HasRowsToUpdate({}));
    rows.push_back(Row("neu", StatusMissingLocally));
    EXPECT_TRUE(HasRowsToUpdate(rows));
}

TEST_F(LocalCopyCommands, BulkUpdateCopiesRowByRowAndASecondOneChangesNothing)
{
    WriteFileAt(server / "a.ppt", "server a", kNew);
    WriteFileAt(local / "a.ppt", "local a", kOld);
    WriteFileAt(server / "b.ppt", "same b", kOld);
    WriteFileAt(local / "b.ppt", "same b", kOld);
    WriteFileAt(server / "c.ppt", "server c", kNew);
    const auto serverBefore = SnapshotFolder(server.path());
    const std::vector<FileRow> rows{Row("a.ppt", StatusServerNewer), Row("b.ppt", StatusIdentical),
                                    Row("c.ppt", StatusMissingLocally)};

    const auto plan = PlanBulkUpdate(rows, local.str(), server.str());
    std::vector<std::pair<int, util::Outcome<>>> reports;
    const auto summary = util::ExecutePlan(plan, {{}, [&](const util::StepReport& r) {
                                                      // The row's copy is done by the time its progress is
                                                      // reported.
                                                      if (r.position == 3) {
                                                          EXPECT_EQ(ReadFile(local / "c.ppt"), "server c");
                                                      }
                                                      reports.emplace_back(r.step.progress, r.outcome);
                                                  }});

    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0], std::make_pair(50, util::Done()));
    EXPECT_EQ(reports[1], std::make_pair(100, util::Nothing()));
    EXPECT_EQ(reports[2], std::make_pair(100, util::Done()));
    EXPECT_EQ(summary.done, 2u);
    EXPECT_EQ(summary.failed, 0u);

    const auto after = Refresh();
    ASSERT_EQ(after.size(), 3u);
    for (const auto& row : after)
        EXPECT_EQ(row.status, StatusIdentical) << row.name;
    EXPECT_FALSE(HasRowsToUpdate(after));
    EXPECT_EQ(SnapshotFolder(server.path()), serverBefore);

    // Run again on the fresh rows: nothing to copy, nothing changes.
    const auto localAfter = SnapshotFolder(local.path());
    const auto again = util::ExecutePlan(PlanBulkUpdate(after, local.str(), server.str()), {});
    EXPECT_EQ(again.done + again.failed, 0u);
    EXPECT_EQ(SnapshotFolder(local.path()), localAfter);
}

TEST_F(LocalCopyCommands, BulkUpdateReportsAFailedCopyOnceAndGoesOn)
{
    for (const char* name : {"a.ppt", "b.ppt", "c.ppt"})
        WriteFileAt(server / name, std::string(100000, name[0]), kNew);
    WriteFileAt(local / "b.ppt", "old b", kOld);
    WriteFileAt(server / "weg.ppt", "gone soon", kNew);
    const auto rows = Refresh();
    ASSERT_EQ(rows.size(), 4u);
    fs::remove(server / "weg.ppt");
    platform::SetCopyFaultForTesting([](const std::string& source) -> std::optional<std::uint64_t> {
        if (source.ends_with("/b.ppt"))
            return 5000;
        return std::nullopt;
    });

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
    EXPECT_EQ(ReadFile(local / "a.ppt"), std::string(100000, 'a'));
    EXPECT_EQ(ReadFile(local / "c.ppt"), std::string(100000, 'c'));
    EXPECT_EQ(ReadFile(local / "b.ppt"), "old b");
    EXPECT_FALSE(fs::exists(local / "weg.ppt"));
    EXPECT_EQ(SnapshotFolder(local.path()).size(), 3u);
}

TEST_F(LocalCopyCommands, BulkUpdateNeedsBothLocalFolders)
{
    TempDir english;
    EXPECT_TRUE(BothLocalFoldersExist(local.str(), english.str()));
    EXPECT_FALSE(BothLocalFoldersExist(local.str(), (english / "fehlt").string()));
    EXPECT_FALSE(BothLocalFoldersExist("", english.str()));
    WriteFile(english / "datei", "x");
    EXPECT_FALSE(BothLocalFoldersExist(local.str(), (english / "datei").string()));
}

TEST_F(LocalCopyCommands, UpdateRowReplacesANewerLocalFileWithTheServers)
{
    WriteFileAt(server / "a.ppt", "server", kOld);
    WriteFileAt(local / "a.ppt", "changed locally", kNew);
    const auto rows = Refresh();
    ASSERT_EQ(StatusOf(rows, "a.ppt"), StatusLocalNewer);

    EXPECT_EQ(UpdateRow(rows[0], local.str(), server.str()), util::Done());
    EXPECT_EQ(ReadFile(local / "a.ppt"), "server");
    EXPECT_EQ(StatusOf(Refresh(), "a.ppt"), StatusIdentical);
}

TEST_F(LocalCopyCommands, UpdateRowWithoutServerFileDoesNothingAndAFailedCopyStillRefreshes)
{
    WriteFileAt(local / "a.ppt", "local", kOld);
    EXPECT_EQ(UpdateRow(Row("a.ppt", StatusServerNewer), local.str(), server.str()), util::Nothing());
    EXPECT_EQ(UpdateRow(Row("a.ppt", StatusServerNewer), local.str(), ""), util::Nothing());

    WriteFileAt(server / "a.ppt", "server", kNew);
    fs::permissions(local / "a.ppt", fs::perms::owner_read);
    const auto failed = util::Failed(std::string(kCopyFailedMessage));
    EXPECT_EQ(UpdateRow(Row("a.ppt", StatusServerNewer), local.str(), server.str()), failed);
    EXPECT_EQ(ReadFile(local / "a.ppt"), "local");
    // No local folder: never the root folder instead.
    EXPECT_EQ(UpdateRow(Row("a.ppt", StatusServerNewer), "", server.str()), failed);
}

TEST_F(LocalCopyCommands, DeletedLocalCopyComesBackAsMissing)
{
    WriteFileAt(server / "a.ppt", "same", kOld);
    WriteFileAt(local / "a.ppt", "same", kOld);
    const auto rows = Refresh();
    ASSERT_EQ(StatusOf(rows, "a.ppt"), StatusIdentical);

    EXPECT_EQ(DeleteRowLocally(rows[0], local.str()), util::Done());
    EXPECT_FALSE(fs::exists(local / "a.ppt"));
    EXPECT_EQ(StatusOf(Refresh(), "a.ppt"), StatusMissingLocally);
    // Nothing there any more: nothing to do, nothing to show.
    EXPECT_EQ(DeleteRowLocally(rows[0], local.str()), util::Nothing());
}

TEST_F(LocalCopyCommands, RefusedDeleteKeepsTheFileAndDoesNotRefresh)
{
    WriteFile(local / "fest.ppt", "read-only");
    fs::permissions(local / "fest.ppt", fs::perms::owner_read | fs::perms::others_read);
    WriteFile(local / "gesperrt.ppt", "locked");
    fs::create_directory(local / "Ordner");
    platform::SetDeleteFaultForTesting(
        [](const std::string& path) { return path.ends_with("gesperrt.ppt"); });

    const auto refused = util::Failed(std::string(kDeleteFailedMessage));
    EXPECT_EQ(DeleteRowLocally(Row("fest.ppt", StatusLocalOnly), local.str()), refused);
    EXPECT_EQ(DeleteRowLocally(Row("gesperrt.ppt", StatusLocalOnly), local.str()), refused);
    EXPECT_EQ(DeleteRowLocally(Row("Ordner", StatusLocalOnly), local.str()), util::Nothing());
    EXPECT_EQ(DeleteRowLocally(Row("fest.ppt", StatusLocalOnly), ""), util::Nothing());
    EXPECT_EQ(SnapshotFolder(local.path()).size(), 3u);
}

} // namespace

TEST_F(LocalCopyCommands, UpdatesReadASharedServerFolderWhereItIsMountedAndWriteNothingThere)
{
    TempDir gvfs;
    testsupport::FakeShares shares(gvfs.path());
    const fs::path share = shares.UserMount("srv02", "praes");
    WriteFileAt(share / "a.ppt", "server a", kNew);
    WriteFileAt(share / "b.ppt", "server b", kNew);
    WriteFileAt(local / "a.ppt", "local a", kOld);
    const auto shareBefore = SnapshotFolder(share);
    const std::string typed = "smb://srv02/praes";
    const std::vector<FileRow> rows{Row("a.ppt", StatusServerNewer), Row("b.ppt", StatusMissingLocally)};

    EXPECT_EQ(util::ExecutePlan(PlanBulkUpdate(rows, local.str(), typed), {}).done, 2u);
    EXPECT_EQ(ReadFile(local / "a.ppt"), "server a");
    EXPECT_EQ(ReadFile(local / "b.ppt"), "server b");

    WriteFileAt(local / "a.ppt", "local a", kOld);
    EXPECT_EQ(UpdateRow(rows[0], local.str(), "\\\\SRV02\\Praes"), util::Done());
    EXPECT_EQ(ReadFile(local / "a.ppt"), "server a");
    EXPECT_EQ(SnapshotFolder(share), shareBefore);

    // Not mounted: there is nothing to copy from, and nothing happens.
    WriteFileAt(local / "a.ppt", "local a", kOld);
    EXPECT_EQ(UpdateRow(rows[0], local.str(), "\\\\srv03\\praes"), util::Nothing());
    EXPECT_EQ(ReadFile(local / "a.ppt"), "local a");
}
