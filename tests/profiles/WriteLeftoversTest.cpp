#include "profiles/WriteLeftovers.h"

#include "platform/AtomicFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(WriteLeftovers, EveryFolderTheProgramWritesToIsSweptAndNothingElse)
{
    TempDir settings, german, english, elsewhere;
    fs::create_directories(german / "qPPP_Profile" / "Messe");
    fs::create_directories(german / "qPPP_Profile" / "Kunde A");
    const std::string leftover = std::string(platform::kTemporaryFilePrefix) + "0badf00d.tmp";
    const std::vector<fs::path> swept{settings / leftover,
                                      german / leftover,
                                      german / "qPPP_Profile" / leftover,
                                      german / "qPPP_Profile" / "Messe" / leftover,
                                      german / "qPPP_Profile" / "Kunde A" / leftover,
                                      english / leftover};
    for (const auto& path : swept)
        WriteFile(path, "half");
    WriteFile(elsewhere / leftover, "not ours to judge");
    WriteFile(german / "Vortrag.ppt", "keep");

    // The English folder has no profiles folder; an empty one is no folder at all.
    const auto folders = profiles::FoldersWrittenTo(settings.str(), {german.str(), english.str(), ""});
    EXPECT_EQ(folders.size(), 7u);
    EXPECT_EQ(profiles::RemoveWriteLeftovers(folders), swept.size());
    for (const auto& path : swept)
        EXPECT_FALSE(fs::exists(path)) << path;
    EXPECT_TRUE(fs::exists(elsewhere / leftover));
    EXPECT_TRUE(fs::exists(german / "Vortrag.ppt"));
}
