#include "settings/Settings.h"

#include "platform/UserFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace settings;
using ini::TLMDIniCtrl;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

const std::string kPrompt = "Bitte hier Serverpfad f\xc3\xbcr deutsch eintragen";

} // namespace

TEST(Settings, FirstRunWithoutAFileGivesEveryDefault)
{
    TempDir dir;
    TLMDIniCtrl ini((dir / "optionen.ini").string());
    const StartupSettings s = LoadStartupSettings(ini, "anna", "WORKGROUP");

    EXPECT_EQ(s.localFolderGerman, platform::HomeFolder() + "/quintor3P_de anna");
    EXPECT_EQ(s.localFolderEnglish, platform::HomeFolder() + "/quintor3P_en_anna");
    EXPECT_EQ(s.serverFolderGerman, kPrompt);
    EXPECT_EQ(s.serverFolderEnglish, kPrompt);
    EXPECT_EQ(s.hostNameGerman, "");
    EXPECT_EQ(s.hostNameEnglish, "");
    EXPECT_EQ(s.chosenProfileGerman, "");
    EXPECT_EQ(s.chosenProfileEnglish, "");
    EXPECT_EQ(s.designIndex, 0);
    EXPECT_EQ(s.languageFlag, 1);
    EXPECT_TRUE(s.compareAtStart);
    EXPECT_FALSE(s.intervalEnabled);
    EXPECT_EQ(s.intervalHours, 2);
    EXPECT_EQ(s.activePage, 0);
    EXPECT_FALSE(fs::exists(dir / "optionen.ini")) << "loading writes nothing";

    util::RuntimeState state;
    ApplyStartupSettings(s, state);
    EXPECT_EQ(state.CurrentLocalFolder, s.localFolderGerman);
    EXPECT_EQ(state.CurrentServerFolder, kPrompt);
    EXPECT_TRUE(state.CompareWithServer);
}

TEST(Settings, OnlyTheExactSiteDomainGetsTheSiteFoldersAndNotice)
{
    const FolderDefaults site = DefaultFolders("anna", "PELLINOR");
    EXPECT_EQ(site.serverGerman, platform::DriveRootFolder('F') +
                                     "/Quintor/Allgemein/Praesentationen/Firmenpraesentation_deutsch/"
                                     "Firmenpraesentation_neu");
    EXPECT_EQ(site.serverEnglish, platform::DriveRootFolder('F') +
                                      "/Quintor/Allgemein/Praesentationen/Firmenpraesentation_englisch/"
                                      "Firmenpraesentation_neu_engl");
    for (const char* other : {"Pellinor", "pellinor", "PELLINOR ", ""}) {
        const FolderDefaults d = DefaultFolders("anna", other);
        EXPECT_EQ(d.serverGerman, kPrompt) << other;
        EXPECT_EQ(d.serverEnglish, kPrompt) << other;
        EXPECT_NE(StatusBarNotice(other), StatusBarNotice("PELLINOR")) << other;
    }
}

TEST(Settings, StoredValuesAreReadCutAndBroughtIntoRange)
{
    TempDir dir;
    const std::string longPath = "/srv/" + std::string(295, 'x'); // 300 characters
    const std::string content = "[Allgemein]\r\n"
                                "EditLPfadDeutsch=" +
                                longPath +
                                "\r\n"
                                "EditSPfadEnglisch=//server/en\r\n"
                                "ServerNameEnglisch=server\r\n"
                                "wahlProfilEnglisch=Messe\r\n"
                                "ComboBoxDesign=7\r\n"
                                "CheckFlage=0\r\n"
                                "CheckBoxStart=0x0\r\n"
                                "CheckBoxInterval=1\r\n"
                                "RxSpinEditInterval=\r\n"
                                "AktivPage=2\r\n";
    WriteFile(dir / "optionen.ini", content);
    TLMDIniCtrl ini((dir / "optionen.ini").string());
    const StartupSettings s = LoadStartupSettings(ini, "anna", "PELLINOR");

    EXPECT_EQ(s.localFolderGerman, longPath.substr(0, 255));
    EXPECT_EQ(s.serverFolderEnglish, "//server/en");
    EXPECT_EQ(s.designIndex, 7);
    EXPECT_EQ(s.languageFlag, 0);
    EXPECT_FALSE(s.compareAtStart);
    EXPECT_TRUE(s.intervalEnabled);
    EXPECT_EQ(s.intervalHours, 2);
    EXPECT_EQ(s.activePage, 2);
    EXPECT_EQ(ReadFile(dir / "optionen.ini"), content) << "loading writes nothing";

    util::RuntimeState state;
    ApplyStartupSettings(s, state);
    EXPECT_EQ(state.LanguageFlag, 0);
    EXPECT_EQ(state.CurrentLocalFolder, platform::HomeFolder() + "/quintor3P_en_anna");
    EXPECT_EQ(state.CurrentServerFolder, "//server/en");
    EXPECT_EQ(state.HostNameEnglish, "server");
    EXPECT_EQ(state.CurrentProfile, "Messe");
    EXPECT_FALSE(state.CompareWithServer);
}

TEST(Settings, IntervalIsClampedLikeTheSpinEdit)
{
    TempDir dir;
    TLMDIniCtrl ini((dir / "optionen.ini").string());
    for (const auto& [stored, hours] :
         {std::pair{"5", 5}, {"10", 10}, {"11", 10}, {"0", 1}, {"-3", 1}, {"zwei", 2}}) {
        ini.WriteString(kSectionAllgemein, key::RxSpinEditInterval, stored);
        EXPECT_EQ(LoadStartupSettings(ini, "anna", "").intervalHours, hours) << stored;
    }
    EXPECT_EQ(IntervalMilliseconds(5), 18'000'000);
    EXPECT_EQ(IntervalMilliseconds(10), 36'000'000);
    EXPECT_EQ(IntervalMilliseconds(1000000), 36'000'000);
}
