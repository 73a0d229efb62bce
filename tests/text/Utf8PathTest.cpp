#include "text/Utf8Path.h"

#include "platform/FolderListing.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

// A name made through the path is the name the file system lists: a narrow path
// read in another encoding would give another name.
TEST(Utf8Path, NamesOutsideAsciiReachTheFileSystemAsWritten)
{
    testsupport::TempDir dir;
    const std::vector<std::string> names{"Pr\u00e4sentation f\u00fcr Gr\u00f6\u00dfe.ppt",
                                         "\u0414\u043e\u043a\u043b\u0430\u0434.pptx",
                                         "\U0001F3A4 Vortrag.ppt"};
    for (const std::string& name : names) {
        std::ofstream(dir.path() / text::PathFromUtf8(name)) << "x";
        EXPECT_EQ(text::Utf8FromPath(text::PathFromUtf8(name)), name);
    }
    const auto listed = platform::ListFolderFlat(dir.str());
    ASSERT_TRUE(listed);
    std::vector<std::string> found;
    for (const auto& entry : *listed)
        found.push_back(entry.name);
    std::sort(found.begin(), found.end());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
}

} // namespace
