#include "platform/AtomicFile.h"

#include "support/FolderSnapshot.h"
#include "support/OpenFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::CopyFailure;
using testsupport::ReadFile;
using testsupport::SnapshotFolder;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::string Pattern(std::size_t size, unsigned seed = 0)
{
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i * 131 + i / 4093 + seed) & 0xff);
    return s;
}

bool HasTemporaryFile(const fs::path& folder)
{
    return std::any_of(fs::directory_iterator(folder), fs::directory_iterator(), [](const auto& e) {
        return e.path().filename().string().starts_with(platform::kTemporaryFilePrefix);
    });
}

class AtomicFileTest : public testing::Test
{
protected:
    void TearDown() override { platform::SetAtomicWriteFaultForTesting({}); }

    TempDir server;
    TempDir local;
};

// The server's file changes under a running copy, as when a share drops mid-file
// or someone saves over the presentation: the copy must not count.
struct ChangeCase
{
    const char* name;
    void (*change)(const fs::path& source);
};

class SourceChangesDuringCopy : public AtomicFileTest, public testing::WithParamInterface<ChangeCase>
{
};

TEST_P(SourceChangesDuringCopy, FailsAndLeavesTheOldFileAndNoTemporary)
{
    const fs::path source = server / "Vortrag.ppt";
    WriteFile(source, Pattern(12 << 20));
    WriteFile(local / "Vortrag.ppt", "the old local copy");
    const auto before = SnapshotFolder(local.path());

    platform::FileCopyOptions options;
    options.chunkSize = options.maxChunkSize = std::size_t{1} << 20;
    bool changed = false;
    options.afterChunk = [&](std::uint64_t, std::uint64_t) {
        if (!std::exchange(changed, true))
            GetParam().change(source);
    };
    const auto result = platform::CopyFileAtomically(source, (local / "Vortrag.ppt").string(), options);

    EXPECT_TRUE(changed);
    EXPECT_EQ(result.failure, CopyFailure::SourceChanged) << result.errorText;
    EXPECT_EQ(SnapshotFolder(local.path()), before);
    EXPECT_FALSE(HasTemporaryFile(local.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SourceChangesDuringCopy,
    testing::Values(
        // Past what was copied so far: today's end of file comes early.
        ChangeCase{"ShrinksPartWay", [](const fs::path& p) { fs::resize_file(p, 6 << 20); }},
        // Below what was copied: the next read finds the end at once.
        ChangeCase{"ShrinksBelowTheCopiedPart", [](const fs::path& p) { fs::resize_file(p, 100); }},
        ChangeCase{"Grows", [](const fs::path& p) { fs::resize_file(p, 13 << 20); }},
        // Same size, new content: only the last-write time tells.
        ChangeCase{"RewrittenInPlace",
                   [](const fs::path& p) {
                       const int fd = ::open(p.c_str(), O_WRONLY | O_CLOEXEC);
                       ASSERT_GE(fd, 0);
                       ASSERT_EQ(::pwrite(fd, "X", 1, 0), 1);
                       const timespec times[2] = {{0, UTIME_OMIT}, {1'800'000'000, 0}};
                       ASSERT_EQ(::futimens(fd, times), 0);
                       ::close(fd);
                   }}),
    [](const testing::TestParamInfo<ChangeCase>& p) { return std::string(p.param.name); });

// Runs the copy on a thread and fails the test instead of hanging when it blocks;
// the unblock function must then free the thread.
platform::FileCopyResult CopyWithin(const std::string& source, const std::string& target,
                                    const std::function<void()>& unblock)
{
    auto copy = std::async(std::launch::async, [&] { return platform::CopyFileAtomically(source, target); });
    if (copy.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the copy of " << source << " blocked";
        unblock();
    }
    return copy.get();
}

TEST_F(AtomicFileTest, PipesSocketsAndDevicesFailAtOnceWithoutBlocking)
{
    WriteFile(local / "a.ppt", "old a");
    WriteFile(local / "b.ppt", "old b");
    WriteFile(local / "c.ppt", "old c");
    const auto before = SnapshotFolder(local.path());

    // A pipe without a writer blocks a plain open for ever.
    const fs::path fifo = server / "a.ppt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const auto fromFifo = CopyWithin(fifo.string(), (local / "a.ppt").string(), [&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    });
    EXPECT_EQ(fromFifo.failure, CopyFailure::NotARegularFile) << fromFifo.errorText;

    const fs::path socketPath = server / "b.ppt";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.string().size(), sizeof address.sun_path);
    std::copy_n(socketPath.c_str(), socketPath.string().size(), address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const auto fromSocket = platform::CopyFileAtomically(socketPath.string(), (local / "b.ppt").string());
    ::close(sock);
    EXPECT_EQ(fromSocket.failure, CopyFailure::NotARegularFile) << fromSocket.errorText;

    // A device never ends: read as a file it would fill the disk.
    fs::create_symlink("/dev/zero", server / "c.ppt");
    const auto fromDevice = CopyWithin((server / "c.ppt").string(), (local / "c.ppt").string(), [] {});
    EXPECT_EQ(fromDevice.failure, CopyFailure::NotARegularFile) << fromDevice.errorText;

    EXPECT_EQ(SnapshotFolder(local.path()), before);
    EXPECT_FALSE(HasTemporaryFile(local.path()));
}

TEST_F(AtomicFileTest, ACopyReplacesALinkAtTheTargetAndNeverWhatItPointsTo)
{
    TempDir outside;
    WriteFile(outside / "fremd.ppt", "not ours");
    const auto outsideBefore = SnapshotFolder(outside.path());
    WriteFile(server / "x.ppt", "server x");
    WriteFile(server / "y.ppt", "server y");
    fs::create_symlink(outside / "fremd.ppt", local / "x.ppt");
    fs::create_symlink(outside / "nirgends.ppt", local / "y.ppt"); // dangling

    for (const char* name : {"x.ppt", "y.ppt"}) {
        const auto result = platform::CopyFileAtomically((server / name).string(), (local / name).string());
        ASSERT_TRUE(result.Succeeded()) << name << ": " << result.errorText;
        EXPECT_FALSE(fs::is_symlink(local / name)) << name;
        EXPECT_EQ(ReadFile(local / name), ReadFile(server / name));
    }
    EXPECT_EQ(SnapshotFolder(outside.path()), outsideBefore);
}

TEST_F(AtomicFileTest, ABatchPutsEveryCopyInPlaceOnlyAtCommit)
{
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) {
        names.push_back("f" + std::to_string(i) + ".ppt");
        WriteFile(server / names.back(), Pattern(4096 + i, i));
        fs::last_write_time(server / names.back(),
                            fs::file_time_type::clock::now() - std::chrono::hours(i + 1));
        if (i % 2)
            WriteFile(local / names.back(), "old");
    }
    const auto before = SnapshotFolder(local.path());
    {
        platform::ReplaceBatch batch;
        for (const auto& name : names)
            ASSERT_TRUE(batch.Copy((server / name).string(), (local / name).string()).Succeeded());
        EXPECT_EQ(batch.Count(), names.size());
        // Nothing visible before the commit: the old copies stay where they were.
        auto visible = SnapshotFolder(local.path());
        std::erase_if(visible,
                      [](const auto& e) { return e.first.starts_with(platform::kTemporaryFilePrefix); });
        EXPECT_EQ(visible, before);

        const auto results = batch.Commit();
        ASSERT_EQ(results.size(), names.size());
        for (const auto& r : results)
            EXPECT_TRUE(r.Succeeded()) << r.errorText;
        EXPECT_EQ(batch.Count(), 0u);
    }
    EXPECT_EQ(SnapshotFolder(local.path()), SnapshotFolder(server.path()));

    // A batch dropped without a commit leaves nothing behind.
    WriteFile(server / "neu.ppt", "neu");
    {
        platform::ReplaceBatch batch;
        ASSERT_TRUE(batch.Copy((server / "neu.ppt").string(), (local / "neu.ppt").string()).Succeeded());
    }
    EXPECT_FALSE(fs::exists(local / "neu.ppt"));
    EXPECT_FALSE(HasTemporaryFile(local.path()));
}

// Reading ahead opens sources early; it must neither block on what is no file nor
// keep more open than it says, and the batch lets go of all of it.
TEST_F(AtomicFileTest, ReadingAheadHoldsFewSourcesAndNeverBlocks)
{
    const fs::path fifo = server / "pipe.ppt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::vector<std::string> sources{fifo.string()};
    for (std::size_t i = 0; i < 3 * platform::ReplaceBatch::kMostAhead; ++i) {
        sources.push_back((server / ("f" + std::to_string(i) + ".ppt")).string());
        WriteFile(sources.back(), Pattern(5000, static_cast<unsigned>(i)));
    }
    const std::size_t before = testsupport::OpenFileCount();
    {
        platform::ReplaceBatch batch;
        auto readAhead = std::async(std::launch::async, [&] {
            for (const auto& source : sources)
                batch.ReadAhead(source);
        });
        ASSERT_EQ(readAhead.wait_for(std::chrono::seconds(5)), std::future_status::ready)
            << "reading ahead blocked on the pipe";
        EXPECT_LE(testsupport::OpenFileCount(), before + platform::ReplaceBatch::kMostAhead);

        // The last ones read ahead and the first file, let go and opened anew, copy alike.
        const auto fromPipe = batch.Copy(fifo.string(), (local / "pipe.ppt").string());
        EXPECT_EQ(fromPipe.failure, CopyFailure::NotARegularFile);
        for (const std::size_t i : {std::size_t{1}, sources.size() - 2, sources.size() - 1}) {
            const auto name = fs::path(sources[i]).filename().string();
            EXPECT_TRUE(batch.Copy(sources[i], (local / name).string()).Succeeded()) << name;
        }
        for (const auto& r : batch.Commit())
            EXPECT_TRUE(r.Succeeded()) << r.errorText;
        EXPECT_TRUE(ReadFile(local / "f0.ppt") == ReadFile(server / "f0.ppt"));
        EXPECT_TRUE(ReadFile(local / fs::path(sources.back()).filename().string()) ==
                    ReadFile(sources.back()));
    }
    EXPECT_EQ(testsupport::OpenFileCount(), before) << "the batch let go of what it read ahead";
    EXPECT_FALSE(HasTemporaryFile(local.path()));
}

TEST_F(AtomicFileTest, AFailedFlushInABatchKeepsThoseOldFilesAndPlacesNone)
{
    for (int i = 0; i < 6; ++i) {
        const std::string name = "f" + std::to_string(i) + ".ppt";
        WriteFile(server / name, "new " + name);
        WriteFile(local / name, "old " + name);
    }
    const auto before = SnapshotFolder(local.path());
    platform::ReplaceBatch batch;
    for (int i = 0; i < 6; ++i) {
        const std::string name = "f" + std::to_string(i) + ".ppt";
        ASSERT_TRUE(batch.Copy((server / name).string(), (local / name).string()).Succeeded());
    }
    platform::SetAtomicWriteFaultForTesting(
        [](platform::AtomicWriteStep step) { return step == platform::AtomicWriteStep::Sync; });
    for (const auto& r : batch.Commit())
        EXPECT_EQ(r.failure, CopyFailure::TransferFailed);
    EXPECT_EQ(SnapshotFolder(local.path()), before);
}

// The sweep tells a running writer's temporary file from the debris of a killed
// one by the writer's lock, so a fresh leftover goes at once and a live one stays.
TEST_F(AtomicFileTest, TheSweepRemovesTheDebrisOfAKilledWriteAndKeepsARunningOne)
{
    const fs::path settings = local / "quintorPPP.ini";
    WriteFile(settings, "[Pfade]\nLokal=/a\n");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Killed between writing the temporary file and putting it in place.
        platform::SetAtomicWriteFaultForTesting([](platform::AtomicWriteStep step) {
            if (step == platform::AtomicWriteStep::Sync)
                ::raise(SIGKILL);
            return false;
        });
        platform::WriteFileAtomically(settings.string(), "[Pfade]\nLokal=/b\n");
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(HasTemporaryFile(local.path()));

    platform::AtomicFileWriter running((local / "other.ini").string());
    ASSERT_TRUE(running.Open());
    ASSERT_TRUE(running.Write("half"));

    EXPECT_EQ(platform::RemoveStaleTemporaryFiles(local.str(), std::chrono::hours(1)), 1u);
    EXPECT_TRUE(fs::exists(running.TemporaryPath()));
    EXPECT_EQ(ReadFile(settings), "[Pfade]\nLokal=/a\n");
    ASSERT_TRUE(running.Commit());
    EXPECT_EQ(ReadFile(local / "other.ini"), "half");
    EXPECT_FALSE(HasTemporaryFile(local.path()));
}

} // namespace
