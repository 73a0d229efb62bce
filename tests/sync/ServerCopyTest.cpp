#include "sync/ServerCopy.h"

#include "platform/AtomicFile.h"
#include "support/FolderSnapshot.h"
#include "support/SmallFileSystem.h"
#include "support/TempDir.h"
#include "sync/CopyTemporary.h"
#include "sync/FileStatus.h"
#include "sync/Inventory.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    void TearDown() override
    {
        platform::SetCopyFaultForTesting({});
        platform::SetAtomicWriteFaultForTesting({});
    }

    TempDir server;
    TempDir local;
};

TEST_F(ServerCopyTest, CopiesBytesAndTimesInChunksAndListsNoTemporaryMeanwhile)
{
    const std::string content = Pattern((std::size_t{40} << 20) + 123);
    WriteFileAt(server / "Vortrag.ppt", content, kNew);
    WriteFileAt(local / "Vortrag.ppt", "old", kOld);
    const auto serverBefore = SnapshotFolder(server.path());

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
    EXPECT_EQ(SnapshotFolder(server.path()), serverBefore);
}

TEST_F(ServerCopyTest, CopiesNamesThatAreNotUtf8ByTheirBytesAndEmptyFiles)
{
    const std::string name = "Pr\xe4sentation f\xfcr M\xfcnchen.ppt"; // Windows-1252
    WriteFileAt(server / name, "inhalt", kNew);
    WriteFileAt(server / "leer.ppt", "", kNew);

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
    std::function<void(const TempDir& server, const TempDir& local)> arrange;
};

class ServerCopyFailure : public ServerCopyTest, public testing::WithParamInterface<FailureCase>
{
};

TEST_P(ServerCopyFailure, LeavesTheOldFileByteForByteAndNoTemporary)
{
    WriteFileAt(server / "a.ppt", Pattern(3 << 20), kNew);
    WriteFileAt(local / "a.ppt", "the old local copy", kOld);
    GetParam().arrange(server, local);
    const auto localBefore = SnapshotFolder(local.path());

    const auto result = CopyFromServer((server / "a.ppt").string(), (local / "a.ppt").string());

    EXPECT_EQ(result.code, GetParam().expected);
    EXPECT_EQ(SnapshotFolder(local.path()), localBefore);
    EXPECT_FALSE(HasTemporaryFile(local.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerCopyFailure,
    testing::Values(FailureCase{"DiskFullHalfWay", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir&) {
                                    platform::SetCopyFaultForTesting([](const std::string&) {
                                        return std::optional<std::uint64_t>((3 << 20) / 2);
                                    });
                                }},
                    FailureCase{"FlushFails", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir&) {
                                    platform::SetAtomicWriteFaultForTesting([](platform::AtomicWriteStep s) {
                                        return s == platform::AtomicWriteStep::Sync;
                                    });
                                }},
                    FailureCase{"RenameFails", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir&) {
                                    platform::SetAtomicWriteFaultForTesting([](platform::AtomicWriteStep s) {
                                        return s == platform::AtomicWriteStep::Rename;
                                    });
                                }},
                    FailureCase{"SourceVanished", util::OutcomeCode::Nothing,
                                [](const TempDir& server, const TempDir&) { fs::remove(server / "a.ppt"); }},
                    FailureCase{"SourceIsAFolder", util::OutcomeCode::Nothing,
                                [](const TempDir& server, const TempDir&) {
                                    fs::remove(server / "a.ppt");
                                    fs::create_directory(server / "a.ppt");
                                }},
                    // Without any write bit a file is read-only, also for root.
                    FailureCase{"TargetReadOnly", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir& local) {
                                    fs::permissions(local / "a.ppt",
                                                    fs::perms::owner_read | fs::perms::group_read);
                                }},
                    FailureCase{"TargetIsAFolder", util::OutcomeCode::Failed,
                                [](const TempDir&, const TempDir& local) {
                                    fs::remove(local / "a.ppt");
                                    fs::create_directory(local / "a.ppt");
                                    WriteFile(local / "a.ppt" / "inside", "x");
                                }}),
    [](const testing::TestParamInfo<FailureCase>& p) { return std::string(p.param.name); });

TEST_F(ServerCopyTest, AFullFileSystemLeavesTheOldFileAndNoTemporary)
{
    WriteFileAt(server / "gross.ppt", Pattern(256 << 10), kNew);
    fs::create_directory(local / "klein");
    const std::string target = (local / "klein" / "gross.ppt").string();
    const std::string source = (server / "gross.ppt").string();

    const auto outcome = testsupport::RunWithSmallFileSystem((local / "klein").string(), 64 << 10, [&] {
        const std::string old = Pattern(1000).substr(7);
        WriteFileAt(target, old, kOld);
        const auto before = SnapshotFolder(fs::path(target).parent_path());
        if (CopyFromServer(source, target).code != util::OutcomeCode::Failed)
            return 1;
        if (SnapshotFolder(fs::path(target).parent_path()) != before)
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
    WriteFileAt(server / "a.ppt", "server", kNew);
    // A local name that is a link to the server's file is replaced, not written through.
    fs::create_symlink(server / "a.ppt", local / "a.ppt");
    const auto before = SnapshotFolder(server.path());

    EXPECT_EQ(CopyFromServer((server / "a.ppt").string(), (server / "b.ppt").string()).code,
              util::OutcomeCode::Failed);
    EXPECT_EQ(CopyFromServer((server / "a.ppt").string(), (local / "a.ppt").string()).code,
              util::OutcomeCode::Done);
    EXPECT_FALSE(fs::is_symlink(local / "a.ppt"));
    EXPECT_EQ(SnapshotFolder(server.path()), before);
    EXPECT_FALSE(HasTemporaryFile(server.path()));
}

TEST_F(ServerCopyTest, RemovesOnlyTheLeftoversOfInterruptedCopies)
{
    const std::string prefix(kCopyTemporaryPrefix);
    WriteFile(local / (prefix + "1a2b"), "rest");
    WriteFile(local / (prefix + "ohne Zahl"), "rest");
    WriteFile(local / "Vortrag.ppt", "keep");
    WriteFile(local / ".qPPP-kopie", "keep");
    WriteFile(local / ("x" + prefix + "1"), "keep");
    fs::create_directory(local / (prefix + "Ordner"));
    fs::create_symlink(local / "Vortrag.ppt", local / (prefix + "link"));

    // No writer holds them, so they go however fresh.
    EXPECT_EQ(RemoveCopyLeftovers(local.str()), 2u);
    const auto left = SnapshotFolder(local.path());
    EXPECT_EQ(left.size(), 5u);
    EXPECT_FALSE(left.contains(prefix + "1a2b"));
    EXPECT_FALSE(left.contains(prefix + "ohne Zahl"));
    EXPECT_EQ(RemoveCopyLeftovers("", std::chrono::seconds(0)), 0u);
}

} // namespace
