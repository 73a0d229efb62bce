#include "sync/ServerCopy.h"

#include "platform/AtomicFile.h"
#include "support/FolderTree.h"
#include "support/ScopedFault.h"
#include "support/SmallFileSystem.h"
#include "support/TempDir.h"
#include "sync/CopyTemporary.h"
#include "sync/FileStatus.h"
#include "sync/Inventory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;
using namespace filesync;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::ReadFile;
using testsupport::SameSnapshot;
using testsupport::ScopedFault;
using testsupport::SnapshotTree;
using testsupport::TempDir;
using testsupport::WriteFile;
using testsupport::WriteFileAt;

namespace {

const std::uint32_t kOld = Dos(2021, 3, 4, 10, 0, 0);
const std::uint32_t kNew = Dos(2023, 5, 17, 9, 30, 0);

// Bytes that differ from position to position, so that a shifted or partial copy shows.
std::string Pattern(std::size_t size)
{
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i * 131 + i / 4093) & 0xff);
    return s;
}

bool HasTemporaryFile(const fs::path& folder)
{
    return std::any_of(fs::directory_iterator(folder), fs::directory_iterator(),
                       [](const auto& e) { return IsCopyTemporaryName(e.path().filename().string()); });
}

class ServerCopyTest : public testing::Test
{
protected:
    TempDir server;
    TempDir local;
};

TEST_F(ServerCopyTest, CopiesBytesAndTimesInChunksAndListsNoTemporaryMeanwhile)
{
    const std::string content = Pattern((std::size_t{40} << 20) + 123);
    Build(server, {File("Vortrag.ppt", content, kNew)});
    Build(local, {File("Vortrag.ppt", "old", kOld)});
    const auto serverBefore = SnapshotTree(server.path());

    std::vector<std::uint64_t> progress;
    std::vector<std::string> listedDuringCopy;
    const auto result =
        CopyFromServer((server / "Vortrag.ppt").string(), (local / "Vortrag.ppt").string(),
                       [&](std::uint64_t copied, std::uint64_t total) {
                           EXPECT_EQ(total, content.size());
                           progress.push_back(copied);
                           for (const auto& row : BuildInventory({local.str(), {}, {}, false}, {}))
                               listedDuringCopy.push_back(row.name);
                       });

    ASSERT_EQ(result.code, util::OutcomeCode::Done);
    EXPECT_EQ(ReadFile(local / "Vortrag.ppt"), content);
    EXPECT_EQ(fs::last_write_time(local / "Vortrag.ppt"), fs::last_write_time(server / "Vortrag.ppt"));
    // Several chunks, each a repaint chance, the last at the full size.
    ASSERT_GE(progress.size(), 3u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), content.size());
    // While the copy runs its temporary file exists but is never a row.
    for (const auto& name : listedDuringCopy)
        EXPECT_EQ(name, "Vortrag.ppt");
    EXPECT_FALSE(HasTemporaryFile(local.path()));
    EXPECT_TRUE(SameSnapshot(serverBefore, SnapshotTree(server.path())));
}

TEST_F(ServerCopyTest, CopiesNamesThatAreNotUtf8ByTheirBytesAndEmptyFiles)
{
    const std::string name = "Pr\xe4sentation f\xfcr M\xfcnchen.ppt"; // Windows-1252
    WriteFileAt(server / name, "inhalt", kNew);
    Build(server, {File("leer.ppt", "", kNew)});

    EXPECT_EQ(CopyFromServer((server / name).string(), (local / name).string()).code,
              util::OutcomeCode::Done);
    EXPECT_EQ(CopyFromServer((server / "leer.ppt").string(), (local / "leer.ppt").string()).code,
              util::OutcomeCode::Done);
    EXPECT_EQ(ReadFile(local / name), "inhalt");
    const auto rows = BuildInventory({local.str(), server.str(), {}, true}, {});
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows)
        EXPECT_EQ(row.status, StatusIdentical) << row.displayName;
}

// Each way a copy can fail leaves the local folder exactly as it was.
struct FailureCase
{
    const char* name;
    util::OutcomeCode expected;
    // Changes the folders, or injects a fault that lasts as long as the result.
    std::function<std::optional<ScopedFault>(const TempDir& server, const TempDir& local)> arrange;
};

class ServerCopyFailure : public ServerCopyTest, public testing::WithParamInterface<FailureCase>
{
};

TEST_P(ServerCopyFailure, LeavesTheOldFileByteForByteAndNoTemporary)
{
    Build(server, {File("a.ppt", Pattern(3 << 20), kNew)});
    Build(local, {File("a.ppt", "the old local copy", kOld)});
    const std::optional<ScopedFault> fault = GetParam().arrange(server, local);
    const auto localBefore = SnapshotTree(local.path());

    const auto result = CopyFromServer((server / "a.ppt").string(), (local / "a.ppt").string());

    EXPECT_EQ(result.code, GetParam().expected);
    EXPECT_TRUE(SameSnapshot(localBefore, SnapshotTree(local.path())));
    EXPECT_FALSE(HasTemporaryFile(local.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerCopyFailure,
    testing::Values(FailureCase{"DiskFullHalfWay", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir&) {
                                    return ScopedFault::CopyFailsAfter("a.ppt", (3 << 20) / 2);
                                }},
                    FailureCase{"FlushFails", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir&) {
                                    return ScopedFault::AtomicWriteFailsAt(platform::AtomicWriteStep::Sync);
                                }},
                    FailureCase{"RenameFails", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir&) {
                                    return ScopedFault::AtomicWriteFailsAt(platform::AtomicWriteStep::Rename);
                                }},
                    FailureCase{"SourceVanished", util::OutcomeCode::Nothing,
                                [](const TempDir& server, const TempDir&) -> std::optional<ScopedFault> {
                                    fs::remove(server / "a.ppt");
                                    return std::nullopt;
                                }},
                    FailureCase{"SourceIsAFolder", util::OutcomeCode::Nothing,
                                [](const TempDir& server, const TempDir&) -> std::optional<ScopedFault> {
                                    fs::remove(server / "a.ppt");
                                    fs::create_directory(server / "a.ppt");
                                    return std::nullopt;
                                }},
                    // Without any write bit a file is read-only, also for root.
                    FailureCase{"TargetReadOnly", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir& local) -> std::optional<ScopedFault> {
                                    fs::permissions(local / "a.ppt",
                                                    fs::perms::owner_read | fs::perms::group_read);
                                    return std::nullopt;
                                }},
                    FailureCase{"TargetIsAFolder", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir& local) -> std::optional<ScopedFault> {
                                    fs::remove(local / "a.ppt");
                                    Build(local, {File("a.ppt/inside", "x")});
                                    return std::nullopt;
                                }}),
    [](const testing::TestParamInfo<FailureCase>& p) { return std::string(p.param.name); });

TEST_F(ServerCopyTest, AFullFileSystemLeavesTheOldFileAndNoTemporary)
{
    Build(server, {File("gross.ppt", Pattern(256 << 10), kNew)});
    fs::create_directory(local / "klein");
    const std::string target = (local / "klein" / "gross.ppt").string();
    const std::string source = (server / "gross.ppt").string();

    const auto outcome = testsupport::RunWithSmallFileSystem((local / "klein").string(), 64 << 10, [&] {
        const std::string old = Pattern(1000).substr(7);
        WriteFileAt(target, old, kOld);
        const auto before = SnapshotTree(fs::path(target).parent_path());
        if (CopyFromServer(source, target).code != util::OutcomeCode::Failed)
            return 1;
        if (SnapshotTree(fs::path(target).parent_path()) != before)
            return 2;
        // The space is free again, so a small copy fits.
        WriteFileAt(source + ".small", "klein", kNew);
        return CopyFromServer(source + ".small", target).code == util::OutcomeCode::Done ? 0 : 3;
    });
    if (!outcome.made)
        GTEST_SKIP() << "no small file system to fill: " << outcome.whyNot;
    EXPECT_EQ(outcome.value, 0) << "1: copy not reported failed, 2: folder changed, 3: later copy failed";
}

TEST_F(ServerCopyTest, NeverWritesIntoTheSourceFolder)
{
    Build(server, {File("a.ppt", "server", kNew)});
    // A local name that is a link to the server's file is replaced, not written through.
    fs::create_symlink(server / "a.ppt", local / "a.ppt");
    const auto before = SnapshotTree(server.path());

    EXPECT_EQ(CopyFromServer((server / "a.ppt").string(), (server / "b.ppt").string()).code,
              util::OutcomeCode::Failed);
    EXPECT_EQ(CopyFromServer((server / "a.ppt").string(), (local / "a.ppt").string()).code,
              util::OutcomeCode::Done);
    EXPECT_FALSE(fs::is_symlink(local / "a.ppt"));
    EXPECT_TRUE(SameSnapshot(before, SnapshotTree(server.path())));
    EXPECT_FALSE(HasTemporaryFile(server.path()));
}

TEST_F(ServerCopyTest, RemovesOnlyTheLeftoversOfInterruptedCopies)
{
    const std::string prefix(kCopyTemporaryPrefix);
    const testsupport::Tree kept{File("Vortrag.ppt", "keep"), File(".qPPP-kopie", "keep"),
                                 File("x" + prefix + "1", "keep"), testsupport::Folder(prefix + "Ordner")};
    Build(local, kept);
    Build(local, {File(prefix + "1a2b", "rest"), File(prefix + "ohne Zahl", "rest")});
    fs::create_symlink(local / "Vortrag.ppt", local / (prefix + "link"));

    // No writer holds them, so they go however fresh.
    EXPECT_EQ(RemoveCopyLeftovers(local.str()), 2u);
    EXPECT_TRUE(fs::is_symlink(local / (prefix + "link")));
    fs::remove(local / (prefix + "link"));
    EXPECT_TRUE(testsupport::FolderHolds(local.path(), kept));
    EXPECT_EQ(RemoveCopyLeftovers("", std::chrono::seconds(0)), 0u);
}

} // namespace
