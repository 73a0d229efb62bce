#include "platform/FolderListing.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sys/stat.h>

namespace fs = std::filesystem;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::vector<std::string> Names(const std::vector<platform::FolderEntry>& entries)
{
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.name);
    return names;
}

TEST(FolderListing, RegularFilesAndLinksToThemInFileSystemOrder)
{
    TempDir dir;
    for (int i = 0; i < 20; ++i)
        WriteFile(dir / ("f" + std::to_string(i)), "x");
    WriteFile(dir / ".hidden", "x");
    fs::create_directory(dir / "sub");
    WriteFile(dir / "sub" / "deep", "x");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_symlink("f3", dir / "to-file");
    fs::create_symlink("sub", dir / "to-folder");
    fs::create_symlink("nowhere", dir / "dangling");

    std::vector<std::string> expected;
    for (const auto& e : fs::directory_iterator(dir.path()))
        if (fs::is_regular_file(e.path()))
            expected.push_back(e.path().filename().string());

    const auto listed = platform::ListFolderFlat(dir.str());
    ASSERT_TRUE(listed);
    EXPECT_EQ(Names(*listed), expected);
    EXPECT_NE(std::find(expected.begin(), expected.end(), "to-file"), expected.end());
    EXPECT_NE(std::find(expected.begin(), expected.end(), ".hidden"), expected.end());
    EXPECT_EQ(expected.size(), 22u);
}

TEST(FolderListing, TimeIsTheLastWriteTimeOfTheFileALinkLeadsTo)
{
    TempDir dir;
    WriteFile(dir / "target", "x");
    const auto when =
        fs::file_time_type::clock::now() - std::chrono::hours(5000) + std::chrono::nanoseconds(123);
    fs::last_write_time(dir / "target", when);
    fs::create_symlink("target", dir / "link");

    const auto listed = platform::ListFolderFlat(dir.str());
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed->size(), 2u);
    for (const auto& e : *listed)
        EXPECT_EQ(e.lastWriteTime, fs::last_write_time(dir / "target")) << e.name;
}

TEST(FolderListing, FolderThatCannotBeReadIsNoListingWhileAnEmptyOneIs)
{
    TempDir dir;
    WriteFile(dir / "file", "x");
    EXPECT_FALSE(platform::ListFolderFlat((dir / "missing").string()));
    EXPECT_FALSE(platform::ListFolderFlat((dir / "file").string()));
    EXPECT_FALSE(platform::ListFolderFlat(""));
    fs::create_directory(dir / "empty");
    const auto empty = platform::ListFolderFlat((dir / "empty").string());
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

} // namespace
