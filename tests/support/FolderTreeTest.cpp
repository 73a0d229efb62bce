#include "support/FolderTree.h"

#include "platform/FileDelete.h"
#include "support/ScopedFault.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::Folder;
using testsupport::FolderHolds;
using testsupport::SameSnapshot;
using testsupport::SnapshotTree;

// The harness itself: a comparison that always passed would hide every fault.
TEST(FolderTree, BuildsSnapshotsAndNamesEachDifference)
{
    testsupport::TempDir dir;
    const testsupport::Tree tree{File("a.ppt", "eins", Dos(2021, 3, 4, 10, 0, 0)), File("sub/b.ppt", "zwei"),
                                 Folder("leer")};
    Build(dir, tree);
    EXPECT_TRUE(FolderHolds(dir.path(), tree));
    const auto before = SnapshotTree(dir.path());
    EXPECT_EQ(before.size(), 4u) << "a.ppt, sub, sub/b.ppt, leer";

    Build(dir, {File("a.ppt", "anders", Dos(2022, 1, 2, 3, 4, 6)), File("neu.ppt", "x")});
    fs::remove(dir / "sub" / "b.ppt");
    const auto result = SameSnapshot(before, SnapshotTree(dir.path()));
    ASSERT_FALSE(result);
    const std::string text = result.message();
    EXPECT_NE(text.find("missing sub/b.ppt \"zwei\" (4 bytes)"), std::string::npos) << text;
    EXPECT_NE(text.find("extra neu.ppt"), std::string::npos) << text;
    EXPECT_NE(text.find("changed a.ppt: content \"eins\" (4 bytes) -> \"anders\" (6 bytes) time 2021-03-04 "
                        "10:00:00 -> 2022-01-02 03:04:06"),
              std::string::npos)
        << text;
    EXPECT_FALSE(FolderHolds(dir.path(), tree));
}

TEST(FolderTree, AScopedFaultIsGoneWithItsScope)
{
    testsupport::TempDir dir;
    Build(dir, {File("a.ppt"), File("b.ppt")});
    {
        const auto fault = testsupport::ScopedFault::DeleteRefused("a.ppt");
        EXPECT_EQ(platform::DeleteRegularFile((dir / "a.ppt").string()), platform::DeleteOutcome::Refused);
    }
    EXPECT_EQ(platform::DeleteRegularFile((dir / "a.ppt").string()), platform::DeleteOutcome::Deleted);
    EXPECT_TRUE(FolderHolds(dir.path(), {File("b.ppt")}));
}
