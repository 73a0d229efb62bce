#include "launch/StartFile.h"
#include "support/OutcomePrint.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using testsupport::ReadFile;
using testsupport::WriteFile;

namespace {

struct StartFileFolders : ::testing::Test
{
    StartFileFolders()
    {
        std::filesystem::create_directories(local / "qPPP_Profile" / "Messe");
        state.CurrentLocalFolder = local.str();
        state.CurrentProfile = "Messe";
    }

    std::filesystem::path SetIni() const { return local / "qPPP_Profile.ini"; }
    std::filesystem::path ProfileIni() const { return local / "qPPP_Profile" / "Messe" / "qPPP_Profile.ini"; }

    testsupport::TempDir local;
    util::RuntimeState state;
    ini::TLMDIniCtrl ini;
};

} // namespace

TEST(StartFileText, QuestionAndNameAreAsTheUserSeesThem)
{
    EXPECT_EQ(launch::StartFileQuestion("Intro.ppt"),
              "Wollen Sie die Datei \"Intro.ppt\" als Startdatei definieren");
    const std::string longName = std::string(300, 'a') + ".ppt";
    EXPECT_EQ(launch::StartFileName(longName), std::string(255, 'a'));
    EXPECT_TRUE(launch::IsStartFile("Intro.ppt", "Intro.ppt"));
    EXPECT_FALSE(launch::IsStartFile("Intro.ppt", "intro.ppt"));
    EXPECT_FALSE(launch::IsStartFile("", ""));
}

TEST_F(StartFileFolders, TheCurrentSetsStartFileGoesOnlyIntoItsOwnIniFile)
{
    ASSERT_TRUE(launch::DefineCurrentSetStartFile(ini, state, "Intro.ppt").IsDone());
    EXPECT_EQ(ReadFile(SetIni()), "[Profil]\nStartDatei=Intro.ppt\n");
    EXPECT_FALSE(std::filesystem::exists(ProfileIni()));
    EXPECT_EQ(state.CurrentSetStartFile, "Intro.ppt");
    EXPECT_EQ(state.ProfileStartFile, "");

    // A second name replaces the first.
    ASSERT_TRUE(launch::DefineCurrentSetStartFile(ini, state, "Neu 2.ppt").IsDone());
    EXPECT_EQ(ReadFile(SetIni()), "[Profil]\nStartDatei=Neu 2.ppt\n");
}

TEST_F(StartFileFolders, TheProfilesStartFileGoesOnlyIntoTheProfilesIniFileAndKeepsItsDescription)
{
    WriteFile(ProfileIni(), "[Profil]\nBeschreibung=Messe\bStand 4\nStartDatei=Alt.ppt\n");
    ASSERT_TRUE(launch::DefineProfileStartFile(ini, state, "Für alle.ppt").IsDone());
    EXPECT_EQ(ReadFile(ProfileIni()), "[Profil]\nBeschreibung=Messe\bStand 4\nStartDatei=Für alle.ppt\n");
    EXPECT_FALSE(std::filesystem::exists(SetIni()));
    EXPECT_EQ(state.ProfileStartFile, "Für alle.ppt");
    EXPECT_EQ(state.CurrentSetStartFile, "");
}

TEST_F(StartFileFolders, AFailedWriteLeavesTheNameInMemoryAsItWas)
{
    state.CurrentSetStartFile = "Alt.ppt";
    std::filesystem::create_directory(SetIni()); // a folder where the file should be
    EXPECT_EQ(launch::DefineCurrentSetStartFile(ini, state, "Neu.ppt"),
              util::Failed("nach " + SetIni().string() + " kann nicht geschrieben werden"));
    EXPECT_EQ(state.CurrentSetStartFile, "Alt.ppt");

    // A profile deleted outside the program: its folder is gone.
    state.ProfileStartFile = "Alt.ppt";
    std::filesystem::remove_all(local / "qPPP_Profile");
    EXPECT_EQ(launch::DefineProfileStartFile(ini, state, "Neu.ppt").code, util::OutcomeCode::Failed);
    EXPECT_EQ(state.ProfileStartFile, "Alt.ppt");
    EXPECT_FALSE(std::filesystem::exists(local / "qPPP_Profile"));
}

TEST_F(StartFileFolders, WithoutAFolderNothingIsWrittenAnywhere)
{
    state.CurrentProfile.clear();
    EXPECT_EQ(launch::DefineProfileStartFile(ini, state, "Neu.ppt"),
              util::Failed("Es ist kein Profil ausgewählt."));
    EXPECT_FALSE(std::filesystem::exists(local / "qPPP_Profile" / "qPPP_Profile.ini"));
    EXPECT_EQ(state.ProfileStartFile, "");

    // A profile name edited by hand in the settings file must not lead out of the
    // profiles folder, even to a folder that exists.
    std::filesystem::create_directories(local / "x");
    std::filesystem::create_directories(local / "Satz" / "qPPP_Profile");
    state.CurrentLocalFolder = (local / "Satz").string();
    for (const char* hostile : {"../../x", "../..", "/tmp", "..\\..\\x"}) {
        state.CurrentProfile = hostile;
        EXPECT_EQ(launch::DefineProfileStartFile(ini, state, "Neu.ppt"),
                  util::Failed("Es ist kein Profil ausgewählt."))
            << hostile;
    }
    EXPECT_FALSE(std::filesystem::exists(local / "x" / "qPPP_Profile.ini"));
    EXPECT_FALSE(std::filesystem::exists(local / "qPPP_Profile.ini"));
    EXPECT_EQ(state.ProfileStartFile, "");

    state.CurrentLocalFolder.clear();
    EXPECT_EQ(launch::DefineCurrentSetStartFile(ini, state, "Neu.ppt"),
              util::Failed("Es ist kein lokaler Ordner eingestellt."));
    EXPECT_EQ(state.CurrentSetStartFile, "");
}

TEST(StartFile, ReadFromSectionProfilCutTo255)
{
    testsupport::TempDir dir;
    ini::TLMDIniCtrl ini;
    EXPECT_EQ(launch::ReadStartFile(ini, (dir / "qPPP_Profile.ini").string()), "");
    EXPECT_EQ(ini.FileName(), (dir / "qPPP_Profile.ini").string());

    WriteFile(dir / "qPPP_Profile.ini",
              "[Profil]\r\nBeschreibung=a\bb\r\nStartDatei=" + std::string(300, 's') + ".ppt\r\n");
    EXPECT_EQ(launch::ReadStartFile(ini, (dir / "qPPP_Profile.ini").string()), std::string(255, 's'));
}
