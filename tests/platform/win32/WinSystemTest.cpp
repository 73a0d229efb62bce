// The Windows side's answers about the user, the drives and the network form of
// paths, letter case, and starting the presentation program.
#include "platform/FileSystem.h"
#include "platform/Identity.h"
#include "platform/Launcher.h"
#include "platform/TextCase.h"
#include "platform/TickCount.h"
#include "platform/UserFolders.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "util/z_global.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A drive letter that names no drive on this machine.
std::string UnusedDrive()
{
    const DWORD used = ::GetLogicalDrives();
    for (char letter = 'Y'; letter > 'D'; --letter)
        if (!(used & (1u << (letter - 'A'))))
            return std::string(1, letter) + ":";
    return {};
}

TEST(WinIdentity, NamesTheUserAndTheAccountsDomain)
{
    const std::string user = platform::UserName();
    EXPECT_FALSE(user.empty());
    EXPECT_EQ(user, Environment("USERNAME"));
    EXPECT_FALSE(platform::AccountDomain().empty());
}

TEST(WinUserFolders, AreTheProfileAndItsRoamingDataAndDefaultsKeepTheirDriveLetters)
{
    const std::string appData = platform::UserAppDataFolder();
    EXPECT_TRUE(fs::is_directory(appData)) << appData;
    EXPECT_EQ(appData, Environment("APPDATA"));
    EXPECT_TRUE(fs::is_directory(platform::HomeFolder()));
    EXPECT_EQ(platform::DriveRootFolder('C'), "C:");
    EXPECT_EQ(platform::DriveRootFolder('c'), "c:");

    const settings::FolderDefaults outside = settings::DefaultFolders("anna", "ANDERSWO");
    EXPECT_EQ(outside.localGerman, "C:\\quintor3P_de anna");
    EXPECT_EQ(outside.localEnglish, "c:\\quintor3P_en_anna");
    EXPECT_EQ(outside.serverGerman, settings::kServerFolderPrompt);
    const settings::FolderDefaults site = settings::DefaultFolders("anna", settings::kSiteDomain);
    EXPECT_EQ(
        site.serverGerman,
        "F:\\Quintor\\Allgemein\\Praesentationen\\Firmenpraesentation_deutsch\\Firmenpraesentation_neu");
    EXPECT_EQ(site.serverEnglish, "F:\\Quintor\\Allgemein\\Praesentationen\\Firmenpraesentation_"
                                  "englisch\\Firmenpraesentation_neu_engl");
}

TEST(WinDrives, TypesOfDrivesFoldersAndMissingPathsInTheProgramsWords)
{
    testsupport::TempDir dir;
    EXPECT_EQ(platform::DriveTypeOf("C:\\"), platform::DriveType::Fixed);
    EXPECT_EQ(platform::DriveTypeOf("c:"), platform::DriveType::Fixed);
    EXPECT_EQ(util::DriveTypeText(dir.str()), "Festplatte");
    EXPECT_EQ(util::DriveTypeText(dir.str() + "\\fehlt\\auch"), "Laufwerk existiert nicht");
    const std::string unused = UnusedDrive();
    ASSERT_FALSE(unused.empty());
    EXPECT_EQ(util::DriveTypeText(unused + "\\"), "Laufwerk existiert nicht");
    EXPECT_EQ(util::DriveTypeText(unused + "\\Praesentationen"), "Laufwerk existiert nicht");
}

TEST(WinNetworkHost, ComesFromTheShareNameOfThePathAndNeverFromALocalOne)
{
    EXPECT_EQ(platform::NetworkHostOfPath("\\\\fileserver\\praesentationen\\deutsch"), "fileserver");
    EXPECT_EQ(platform::NetworkHostOfPath("\\\\fs01.firma.local\\ppp"), "fs01.firma.local");
    EXPECT_EQ(platform::NetworkHostOfPath("//fileserver/praesentationen"), "fileserver");
    EXPECT_EQ(platform::NetworkHostOfPath("\\\\?\\UNC\\srv\\share\\x.ppt"), "srv");
    EXPECT_EQ(platform::NetworkHostOfPath("\\\\Сервер\\доклады"), "\u0421\u0435\u0440\u0432\u0435\u0440");
    EXPECT_EQ(platform::NetworkHostOfPath("C:\\quintor3P_de anna"), "");
    EXPECT_EQ(platform::NetworkHostOfPath("\\\\?\\C:\\lokal"), "");
    EXPECT_EQ(platform::NetworkHostOfPath("\\\\.\\CON"), "");
    EXPECT_EQ(platform::NetworkHostOfPath(UnusedDrive() + "\\Praesentationen"), "");
    EXPECT_EQ(platform::NetworkHostOfPath(""), "");
}

TEST(WinTextCase, FoldsNamesAsTheFileSystemMatchesThem)
{
    using platform::FoldCase;
    EXPECT_EQ(FoldCase("Intro.ppt"), FoldCase("INTRO.PPT"));
    EXPECT_EQ(FoldCase("\u00c4rger \u00fcber \u00d6l.ppt"), FoldCase("\u00e4RGER \u00dcBER \u00f6L.PPT"));
    EXPECT_EQ(FoldCase("\u0414\u043e\u043a\u043b\u0430\u0434"),
              FoldCase("\u0434\u041e\u041a\u041b\u0410\u0414"));
    EXPECT_NE(FoldCase("a.ppt"), FoldCase("b.ppt"));
    EXPECT_EQ(FoldCase("\U0001F3A4 talk"), FoldCase("\U0001F3A4 TALK"));
    // Bytes that are no UTF-8 stay as they are.
    EXPECT_EQ(FoldCase("Pr\xe4sentation"), "PR\xe4SENTATION");
    EXPECT_EQ(platform::ToLowerChar(U'\u00c4'), U'\u00e4');
    EXPECT_EQ(platform::ToUpperChar(U'\u0434'), U'\u0414');
    EXPECT_EQ(platform::ToUpperChar(U'1'), U'1');
    EXPECT_EQ(platform::ToUpperChar(U'\U0001F3A4'), U'\U0001F3A4');
}

TEST(WinTickCount, CountsMilliseconds)
{
    const std::uint32_t start = platform::TickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    const std::uint32_t elapsed = platform::TickCount() - start;
    EXPECT_GE(elapsed, 100u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(WinLauncher, HandsThePresentationProgramTheSwitchAndTheWholePathAndSaysWhenItIsMissing)
{
    testsupport::TempDir dir;
    const std::string path = dir.str() + "\\Vortrag \u00fcber \u041c\u043e\u0441\u043a\u0432\u0430.ppt";
    const platform::LaunchCommand show =
        platform::BuildLaunchCommand({platform::LaunchAction::SlideShow, path, "/S"});
    EXPECT_EQ(show.program, "POWERPNT.EXE");
    EXPECT_EQ(show.arguments, (std::vector<std::string>{"POWERPNT.EXE", "/S", path}));
    const platform::LaunchCommand open =
        platform::BuildLaunchCommand({platform::LaunchAction::OpenAssociated, dir.str() + "/a/../b.pdf", ""});
    EXPECT_EQ(open.arguments, std::vector<std::string>{dir.str() + "\\b.pdf"});

    // No presentation program here: each way of reaching it says so in the same words.
    const std::string missing = "Das Programm \"POWERPNT.EXE\" (Microsoft PowerPoint) ist nicht installiert.";
    EXPECT_EQ(platform::Launch({platform::LaunchAction::SlideShow, path, "/s"}), missing);
    EXPECT_EQ(platform::Launch({platform::LaunchAction::Edit, path, ""}), missing);
}

} // namespace
