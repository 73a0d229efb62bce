#include "support/TempDir.h"
#include "util/z_global.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(WithTrailingDelimiter, AddsTheDelimiterOnlyWhenMissing)
{
    EXPECT_EQ(util::WithTrailingDelimiter("/home/anna/Daten"), "/home/anna/Daten/");
    EXPECT_EQ(util::WithTrailingDelimiter("/home/anna/Daten/"), "/home/anna/Daten/");
    EXPECT_EQ(util::WithTrailingDelimiter(""), "/");
    EXPECT_EQ(util::WithTrailingDelimiter("/"), "/");
    EXPECT_EQ(util::WithTrailingDelimiter("M\xc3\xbcnchen"), "M\xc3\xbcnchen/");
}

TEST(DriveTypeText, MissingPathHasNoDriveAndAnExistingFolderHasAKnownOne)
{
    testsupport::TempDir dir;
    EXPECT_EQ(util::DriveTypeText((dir / "fehlt" / "auch").string()), "Laufwerk existiert nicht");
    EXPECT_EQ(util::DriveTypeText(""), "Laufwerk existiert nicht");
    const std::string existing = util::DriveTypeText(dir.str());
    EXPECT_NE(existing, "Laufwerk existiert nicht");
    EXPECT_NE(existing, "unbekannt");
}

TEST(DeletePathSilently, RemovesAFolderTreeAndReportsAMissingPathAsFailure)
{
    testsupport::TempDir dir;
    const fs::path profile = dir / "qPPP_Profile" / "Messe";
    fs::create_directories(profile / "Bilder");
    testsupport::WriteFile(profile / "a.ppt", "x");
    testsupport::WriteFile(profile / "Bilder" / "b.jpg", "y");

    EXPECT_TRUE(util::DeletePathSilently(profile.string()));
    EXPECT_FALSE(fs::exists(profile));
    EXPECT_TRUE(fs::exists(dir / "qPPP_Profile"));
    EXPECT_FALSE(util::DeletePathSilently(profile.string()));
}
