// The file services of the Windows side, on real files: listing, file times,
// the safe copy and write, deleting.
#include "platform/AtomicFile.h"
#include "platform/DosTime.h"
#include "platform/FileDelete.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/WinSeam_win32.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using testsupport::Dos;

namespace {

// Test paths are built from UTF-16, as the system holds them.
fs::path operator/(const testsupport::TempDir& dir, const std::wstring& name)
{
    return dir.path() / name;
}

std::string Utf8(const fs::path& path)
{
    return path.string(); // UTF-8 on this system
}

std::wstring LongForm(const fs::path& path)
{
    return L"\\\\?\\" + path.wstring();
}

void Write(const std::wstring& path, std::string_view content)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << ::GetLastError();
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string Read(const std::wstring& path)
{
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Listed(const fs::path& folder)
{
    std::vector<std::string> names;
    const auto entries = platform::ListFolderFlat(Utf8(folder));
    if (entries)
        for (const auto& e : *entries)
            names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

// Everything in the folder, temporary files included.
std::vector<std::wstring> AllNames(const fs::path& folder)
{
    std::vector<std::wstring> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

std::uint32_t DosTimeOf(const fs::path& file)
{
    return platform::ToDosDateTime(fs::last_write_time(file)).value_or(0);
}

void SetDosTime(const fs::path& file, std::uint32_t dos)
{
    fs::last_write_time(file, platform::FromDosDateTime(dos));
}

const std::uint32_t kOld = Dos(2020, 3, 1, 8, 0, 0);
const std::uint32_t kNew = Dos(2024, 5, 6, 10, 20, 30);

class WinFiles : public ::testing::Test
{
protected:
    void TearDown() override
    {
        platform::SetCopyFaultForTesting({});
        platform::SetAtomicWriteFaultForTesting({});
        platform::SetDeleteFaultForTesting({});
    }
    testsupport::TempDir dir;
};

TEST_F(WinFiles, ListingGivesUnicodeNamesAsUtf8AndOneEntryForNamesDifferingInCase)
{
    Write((dir / L"Доклад Москва.ppt").wstring(), "ru");
    Write((dir / L"Präsentation 🎤.pptx").wstring(), "de");
    Write((dir / L"Intro.ppt").wstring(), "first");
    // The same file under another spelling: the folder keeps the first one.
    Write((dir / L"INTRO.PPT").wstring(), "second");
    Write((dir / L".versteckt").wstring(), "h");
    ::SetFileAttributesW((dir / L".versteckt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    fs::create_directory(dir / L"Unterordner");

    EXPECT_EQ(Listed(dir.path()),
              (std::vector<std::string>{".versteckt", "Intro.ppt", "Pr\u00e4sentation \U0001F3A4.pptx",
                                        "\u0414\u043e\u043a\u043b\u0430\u0434 "
                                        "\u041c\u043e\u0441\u043a\u0432\u0430.ppt"}));
    EXPECT_EQ(Read((dir / L"Intro.ppt").wstring()), "second");
    // A name from the listing finds its file again.
    EXPECT_EQ(platform::DeleteRegularFile(dir.str() + "\\Pr\u00e4sentation \U0001F3A4.pptx"),
              platform::DeleteOutcome::Deleted);
    EXPECT_FALSE(fs::exists(dir / L"Präsentation 🎤.pptx"));
}

TEST_F(WinFiles, ListingTellsAMissingFolderFromAnEmptyOneAndGivesLastWriteTimes)
{
    EXPECT_FALSE(platform::ListFolderFlat(Utf8(dir / L"fehlt")));
    EXPECT_FALSE(platform::ListFolderFlat(""));
    Write((dir / L"datei.ppt").wstring(), "x");
    EXPECT_FALSE(platform::ListFolderFlat(Utf8(dir / L"datei.ppt")));
    fs::create_directory(dir / L"leer");
    const auto empty = platform::ListFolderFlat(Utf8(dir / L"leer"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());

    SetDosTime(dir / L"datei.ppt", kNew);
    const auto listed = platform::ListFolderFlat(dir.str() + "/"); // either delimiter will do
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed->size(), 1u);
    EXPECT_EQ(platform::ToDosDateTime(listed->front().lastWriteTime), kNew);
    EXPECT_EQ(listed->front().size, 1u);
}

TEST_F(WinFiles, PathsPastTheOldLengthLimitWorkWithoutTheLongPrefix)
{
    fs::path deep = dir.path();
    while (deep.wstring().size() < 300)
        deep /= L"Ordner mit langem Namen äöü";
    // Every level made through the long form.
    for (fs::path level = dir / L"Ordner mit langem Namen äöü";; level /= L"Ordner mit langem Namen äöü") {
        ASSERT_TRUE(::CreateDirectoryW(LongForm(level).c_str(), nullptr)) << ::GetLastError();
        if (level == deep)
            break;
    }
    Write(LongForm(deep / L"server.ppt"), "vom Server");
    SetDosTime(LongForm(deep / L"server.ppt"), kNew);
    const std::string folder = Utf8(deep);
    ASSERT_GT(folder.size(), 260u);

    EXPECT_EQ(Listed(deep), std::vector<std::string>{"server.ppt"});
    const auto copied = platform::CopyFileAtomically(folder + "\\server.ppt", folder + "\\lokal.ppt");
    EXPECT_TRUE(copied.Succeeded()) << copied.errorText;
    EXPECT_EQ(Read(LongForm(deep / L"lokal.ppt")), "vom Server");
    EXPECT_EQ(DosTimeOf(LongForm(deep / L"lokal.ppt")), kNew);
    EXPECT_TRUE(platform::WriteFileAtomically(folder + "\\qPPP_Profile.ini", "[Allgemein]\r\n"));
    EXPECT_EQ(platform::DeleteRegularFile(folder + "\\lokal.ppt"), platform::DeleteOutcome::Deleted);
    EXPECT_EQ(Listed(deep), (std::vector<std::string>{"qPPP_Profile.ini", "server.ppt"}));
    EXPECT_TRUE(platform::DeletePathSilently(Utf8(dir / L"Ordner mit langem Namen äöü")));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(WinDosTime, PacksLocalTimeAndHoldsTheWholeRangeOfTheFormat)
{
    // 2044 sets the top bit: the value is negative as a signed number.
    EXPECT_EQ(Dos(2044, 1, 1, 0, 0, 0), 0x80210000u);
    for (const std::uint32_t dos :
         {Dos(1980, 1, 1, 0, 0, 0), Dos(2043, 12, 31, 23, 59, 58), Dos(2044, 1, 1, 0, 0, 0),
          Dos(2044, 1, 1, 0, 0, 2), Dos(2107, 12, 31, 23, 59, 58)})
        EXPECT_EQ(platform::ToDosDateTime(platform::FromDosDateTime(dos)), dos) << std::hex << dos;

    // Two seconds apart across the boundary stay two values apart.
    const auto before = platform::FromDosDateTime(Dos(2043, 12, 31, 23, 59, 58));
    EXPECT_EQ(platform::ToDosDateTime(before + std::chrono::seconds(2)), Dos(2044, 1, 1, 0, 0, 0));
    EXPECT_EQ(platform::ToDosDateTime(before + std::chrono::seconds(1)), Dos(2043, 12, 31, 23, 59, 58));

    // Outside what the format holds.
    const auto first = platform::FromDosDateTime(Dos(1980, 1, 1, 0, 0, 0));
    EXPECT_FALSE(platform::ToDosDateTime(first - std::chrono::hours(24 * 400)));
    const auto last = platform::FromDosDateTime(Dos(2107, 12, 31, 23, 59, 58));
    EXPECT_FALSE(platform::ToDosDateTime(last + std::chrono::hours(24 * 400)));
}

TEST_F(WinFiles, CopyReplacesTheOldFileWithTheServersTimeAndLeavesNoTemporaryFile)
{
    const fs::path server = dir / L"Präsentation «neu».ppt";
    const fs::path local = dir / L"lokal Доклад.ppt";
    Write(server.wstring(), "neuer Inhalt");
    SetDosTime(server, kNew);
    Write(local.wstring(), "alt");
    ::SetFileAttributesW(local.c_str(), FILE_ATTRIBUTE_HIDDEN);

    std::uint64_t reported = 0;
    platform::FileCopyOptions options;
    options.afterChunk = [&](std::uint64_t copied, std::uint64_t total) {
        reported = copied;
        EXPECT_EQ(total, 12u);
    };
    const auto result = platform::CopyFileAtomically(Utf8(server), Utf8(local), options);
    EXPECT_TRUE(result.Succeeded()) << result.errorText;
    EXPECT_EQ(reported, 12u);
    EXPECT_EQ(Read(local.wstring()), "neuer Inhalt");
    EXPECT_EQ(DosTimeOf(local), kNew);
    // What belonged to the old file stays.
    EXPECT_TRUE(::GetFileAttributesW(local.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(AllNames(dir.path()),
              (std::vector<std::wstring>{L"Präsentation «neu».ppt", L"lokal Доклад.ppt"}));

    const auto onItself = platform::CopyFileAtomically(Utf8(local), Utf8(local));
    EXPECT_EQ(onItself.failure, platform::CopyFailure::SameFile);
    EXPECT_EQ(platform::CopyFileAtomically(Utf8(dir / L"fehlt.ppt"), Utf8(local)).failure,
              platform::CopyFailure::SourceMissing);
    EXPECT_EQ(platform::CopyFileAtomically(dir.str(), Utf8(local)).failure,
              platform::CopyFailure::SourceMissing);
    EXPECT_EQ(Read(local.wstring()), "neuer Inhalt");
}

TEST_F(WinFiles, ACopyFailingHalfWayOrASourceChangingMeanwhileLeavesTheOldFile)
{
    const fs::path server = dir / L"gross.ppt";
    const fs::path local = dir / L"lokal.ppt";
    Write(server.wstring(), std::string(3 << 20, 's'));
    SetDosTime(server, kNew);
    Write(local.wstring(), "alt");
    SetDosTime(local, kOld);
    const auto unchanged = [&] {
        EXPECT_EQ(Read(local.wstring()), "alt");
        EXPECT_EQ(DosTimeOf(local), kOld);
        EXPECT_EQ(AllNames(dir.path()), (std::vector<std::wstring>{L"gross.ppt", L"lokal.ppt"}));
    };

    platform::SetCopyFaultForTesting(
        [](const std::string&) { return std::optional<std::uint64_t>(1 << 20); });
    EXPECT_EQ(platform::CopyFileAtomically(Utf8(server), Utf8(local)).failure,
              platform::CopyFailure::TransferFailed);
    unchanged();
    platform::SetCopyFaultForTesting({});

    // The source shrinks after the first chunk, as when a share drops a file.
    platform::FileCopyOptions shrinking;
    shrinking.chunkSize = shrinking.maxChunkSize = 1 << 20;
    shrinking.afterChunk = [&](std::uint64_t copied, std::uint64_t) {
        if (copied == (1u << 20))
            fs::resize_file(server, 1 << 20);
    };
    EXPECT_EQ(platform::CopyFileAtomically(Utf8(server), Utf8(local), shrinking).failure,
              platform::CopyFailure::SourceChanged);
    unchanged();

    // The copy's own writes fail through the copy fault above.
    for (const auto step : {platform::AtomicWriteStep::Create, platform::AtomicWriteStep::Sync,
                            platform::AtomicWriteStep::Rename}) {
        platform::SetAtomicWriteFaultForTesting([step](platform::AtomicWriteStep s) { return s == step; });
        EXPECT_FALSE(platform::CopyFileAtomically(Utf8(server), Utf8(local)).Succeeded());
        unchanged();
    }
}

TEST_F(WinFiles, TargetsThatAreNoPlainFileOfTheFolderAreRefusedAndNothingIsWritten)
{
    Write((dir / L"server.ppt").wstring(), "s");
    Write((dir / L"schreibgeschützt.ppt").wstring(), "bleibt");
    ::SetFileAttributesW((dir / L"schreibgeschützt.ppt").c_str(), FILE_ATTRIBUTE_READONLY);
    fs::create_directory(dir / L"ordner.ppt");
    const std::string source = Utf8(dir / L"server.ppt");
    for (const char* name : {"schreibgeschützt.ppt", "ordner.ppt", "CON", "aux.ppt", "Lpt1 .txt",
                             "Punkt am Ende.", "Blank am Ende "}) {
        const auto result = platform::CopyFileAtomically(source, dir.str() + "\\" + name);
        EXPECT_EQ(result.failure, platform::CopyFailure::TargetRefused) << name;
        EXPECT_FALSE(platform::WriteFileAtomically(dir.str() + "\\" + name, "x")) << name;
    }
    EXPECT_EQ(Read((dir / L"schreibgeschützt.ppt").wstring()), "bleibt");
    EXPECT_EQ(AllNames(dir.path()),
              (std::vector<std::wstring>{L"ordner.ppt", L"schreibgeschützt.ppt", L"server.ppt"}));
    EXPECT_EQ(platform::CopyFileAtomically(source, Utf8(dir / L"fehlt" / L"x.ppt")).failure,
              platform::CopyFailure::TargetRefused);
    ::SetFileAttributesW((dir / L"schreibgeschützt.ppt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WinFiles, AtomicWriteReplacesWholeOrNotAtAll)
{
    const fs::path ini = dir / L"optionen.ini";
    EXPECT_TRUE(platform::WriteFileAtomically(Utf8(ini), "[Allgemein]\r\nCheckFlage=1\r\n"));
    EXPECT_EQ(Read(ini.wstring()), "[Allgemein]\r\nCheckFlage=1\r\n");
    for (const auto step : {platform::AtomicWriteStep::Create, platform::AtomicWriteStep::Write,
                            platform::AtomicWriteStep::Sync, platform::AtomicWriteStep::Rename}) {
        platform::SetAtomicWriteFaultForTesting([step](platform::AtomicWriteStep s) { return s == step; });
        std::string why;
        EXPECT_FALSE(platform::WriteFileAtomically(Utf8(ini), "[Allgemein]\r\nCheckFlage=0\r\n", &why));
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(Read(ini.wstring()), "[Allgemein]\r\nCheckFlage=1\r\n");
        EXPECT_EQ(AllNames(dir.path()), std::vector<std::wstring>{L"optionen.ini"});
    }
    platform::SetAtomicWriteFaultForTesting({});

    // A writer dropped before its commit leaves nothing.
    {
        platform::AtomicFileWriter writer(Utf8(ini));
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.Write("halb"));
        EXPECT_TRUE(fs::exists(fs::path(platform::win::ToWide(writer.TemporaryPath()))));
        EXPECT_EQ(AllNames(dir.path()).size(), 2u);
    }
    EXPECT_EQ(AllNames(dir.path()), std::vector<std::wstring>{L"optionen.ini"});
}

TEST_F(WinFiles, LeftoverTemporaryFilesGoWhileARunningWritersStaysAndNothingElseIsTouched)
{
    const std::wstring prefix(platform::kTemporaryFilePrefix.begin(), platform::kTemporaryFilePrefix.end());
    Write((dir / (prefix + L"abgebrochen.tmp")).wstring(), "x");
    Write((dir / L"alt.ppt").wstring(), "x");
    SetDosTime(dir / L"alt.ppt", kOld);
    platform::AtomicFileWriter running(Utf8(dir / L"neu.ppt"));
    ASSERT_TRUE(running.Open());
    const std::wstring runningName =
        fs::path(platform::win::ToWide(running.TemporaryPath())).filename().wstring();

    EXPECT_EQ(platform::RemoveStaleTemporaryFiles(dir.str(), std::chrono::seconds(0)), 1u);
    EXPECT_EQ(AllNames(dir.path()), (std::vector<std::wstring>{runningName, L"alt.ppt"}));
    ASSERT_TRUE(running.Write("neu"));
    EXPECT_TRUE(running.Commit());
    EXPECT_EQ(AllNames(dir.path()), (std::vector<std::wstring>{L"alt.ppt", L"neu.ppt"}));
}

TEST_F(WinFiles, ABatchFlushesAndRenamesOnlyOnCommitAndLeavesNothingWhenDropped)
{
    Write((dir / L"a.ppt").wstring(), "server a");
    Write((dir / L"b.ppt").wstring(), "server b");
    Write((dir / L"lokal-a.ppt").wstring(), "alt");
    {
        platform::ReplaceBatch batch;
        EXPECT_TRUE(batch.Copy(Utf8(dir / L"a.ppt"), Utf8(dir / L"lokal-a.ppt")).Succeeded());
        EXPECT_TRUE(batch.Copy(Utf8(dir / L"b.ppt"), Utf8(dir / L"lokal-b.ppt")).Succeeded());
        EXPECT_EQ(batch.Copy(Utf8(dir / L"fehlt.ppt"), Utf8(dir / L"lokal-c.ppt")).failure,
                  platform::CopyFailure::SourceMissing);
        EXPECT_EQ(batch.Count(), 2u);
        EXPECT_EQ(batch.Bytes(), 16u);
        EXPECT_EQ(Read((dir / L"lokal-a.ppt").wstring()), "alt");
        EXPECT_FALSE(fs::exists(dir / L"lokal-b.ppt"));
        const auto results = batch.Commit();
        ASSERT_EQ(results.size(), 2u);
        EXPECT_TRUE(results[0].Succeeded() && results[1].Succeeded());
        EXPECT_EQ(Read((dir / L"lokal-a.ppt").wstring()), "server a");
        EXPECT_EQ(Read((dir / L"lokal-b.ppt").wstring()), "server b");

        EXPECT_TRUE(batch.Copy(Utf8(dir / L"a.ppt"), Utf8(dir / L"lokal-c.ppt")).Succeeded());
    }
    EXPECT_EQ(AllNames(dir.path()),
              (std::vector<std::wstring>{L"a.ppt", L"b.ppt", L"lokal-a.ppt", L"lokal-b.ppt"}));
}

TEST_F(WinFiles, DeletesForGoodAndRefusesReadOnlyFiles)
{
    Write((dir / L"weg.ppt").wstring(), "x");
    Write((dir / L"fest.ppt").wstring(), "x");
    ::SetFileAttributesW((dir / L"fest.ppt").c_str(), FILE_ATTRIBUTE_READONLY);
    fs::create_directory(dir / L"ordner");
    EXPECT_EQ(platform::DeleteRegularFile(Utf8(dir / L"weg.ppt")), platform::DeleteOutcome::Deleted);
    EXPECT_EQ(platform::DeleteRegularFile(Utf8(dir / L"weg.ppt")), platform::DeleteOutcome::NoFile);
    EXPECT_EQ(platform::DeleteRegularFile(Utf8(dir / L"ordner")), platform::DeleteOutcome::NoFile);
    EXPECT_EQ(platform::DeleteRegularFile(Utf8(dir / L"fest.ppt")), platform::DeleteOutcome::Refused);
    EXPECT_TRUE(fs::exists(dir / L"fest.ppt"));
    ::SetFileAttributesW((dir / L"fest.ppt").c_str(), FILE_ATTRIBUTE_NORMAL);

    // A profile folder goes whole, read-only items and all; no recycle bin asks.
    const fs::path tree = dir / L"Profil Über 2024";
    fs::create_directories(tree / L"a" / L"b");
    Write((tree / L"a" / L"b" / L"1.ppt").wstring(), "1");
    Write((tree / L"schreibgeschützt.ppt").wstring(), "2");
    ::SetFileAttributesW((tree / L"schreibgeschützt.ppt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(platform::DeletePathSilently(Utf8(tree) + "\\"));
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_FALSE(platform::DeletePathSilently(Utf8(tree)));
    EXPECT_FALSE(platform::DeletePathSilently(""));
    EXPECT_FALSE(platform::DeletePathSilently("C:\\"));
    EXPECT_FALSE(platform::DeletePathSilently(dir.str() + "\\ordner\\.."));
    EXPECT_TRUE(fs::exists(dir / L"ordner"));
}

} // namespace
