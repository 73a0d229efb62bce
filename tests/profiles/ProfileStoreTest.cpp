#include "profiles/ProfileStore.h"
#include "support/FolderTree.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace profiles;
using testsupport::Build;
using testsupport::File;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(ProfileDescription, LineBreaksBecomeOneBackspaceAndComeBack)
{
    EXPECT_EQ(EncodeDescription("Erste\r\nZweite"), "Erste\x08Zweite");
    EXPECT_EQ(DecodeDescription("Erste\x08Zweite"), "Erste\r\nZweite");
    // An empty line between two lines, and a text of line breaks only.
    EXPECT_EQ(EncodeDescription("a\r\n\r\nb"), "a\x08\x08"
                                               "b");
    EXPECT_EQ(DecodeDescription("a\x08\x08"
                                "b"),
              "a\r\n\r\nb");
    EXPECT_EQ(EncodeDescription("\r\n\r\n"), "\x08\x08");
    // Only the pair counts; single CR or LF stay, nothing else is escaped.
    EXPECT_EQ(EncodeDescription("a\rb\nc\n\rd=[x]"), "a\rb\nc\n\rd=[x]");
    // A backspace put in by hand reads as a line break.
    EXPECT_EQ(DecodeDescription("von Hand\x08gesetzt"), "von Hand\r\ngesetzt");
    EXPECT_EQ(DecodeDescription(EncodeDescription("Größe\r\nÄnderung")), "Größe\r\nÄnderung");
}

TEST(ProfileDescription, EditedTextIsCutAt255WithLineBreaksCountingTwo)
{
    const std::string plain(300, 'x');
    EXPECT_EQ(CutDescription(plain), std::string(255, 'x'));
    EXPECT_EQ(CutDescription("kurz\r\ntext"), "kurz\r\ntext");

    // 250 characters, a line break (two), then more: 252 kept plus three.
    const std::string lines = std::string(250, 'a') + "\r\n" + std::string(10, 'b');
    EXPECT_EQ(CutDescription(lines), std::string(250, 'a') + "\r\nbbb");

    // The cut falls between CR and LF: no half line break is kept.
    const std::string split = std::string(254, 'a') + "\r\nb";
    EXPECT_EQ(CutDescription(split), std::string(254, 'a'));

    // Characters, not bytes: 300 umlauts give 255 of them.
    std::string umlauts;
    for (int i = 0; i < 300; ++i)
        umlauts += "ä";
    EXPECT_EQ(CutDescription(umlauts).size(), 255u * 2);
}

TEST(ProfileStore, PathsAreFormedFromTheLocalFolder)
{
    EXPECT_EQ(ProfilesFolderPath("/lokal"), "/lokal/qPPP_Profile");
    EXPECT_EQ(ProfilesFolderPath("/lokal/"), "/lokal/qPPP_Profile");
    EXPECT_EQ(ProfileFolderPath("/lokal", "Messe"), "/lokal/qPPP_Profile/Messe");
    EXPECT_EQ(ProfileIniPath("/lokal/", "Messe"), "/lokal/qPPP_Profile/Messe/qPPP_Profile.ini");
    EXPECT_EQ(CurrentSetIniPath("/lokal/"), "/lokal/qPPP_Profile.ini");
}

TEST(ProfileStore, OnlyAPlainNameInAKnownLocalFolderAddressesAProfileFolder)
{
    EXPECT_EQ(ProfileFolderPath("/lokal", "Messe 2024"), "/lokal/qPPP_Profile/Messe 2024");
    EXPECT_EQ(ProfileFolderPath("/lokal", "a:b"), "/lokal/qPPP_Profile/a:b");
    EXPECT_EQ(ProfileFolderPath("/lokal", "..."), "/lokal/qPPP_Profile/...");
    // These would name the profiles folder, its parent, or a folder elsewhere.
    for (const char* name : {"", ".", "..", "../x", "x/..", "a/b", "/etc", "a\\b", "..\\x"}) {
        EXPECT_FALSE(ProfileFolderPath("/lokal", name)) << name;
        EXPECT_FALSE(ProfileIniPath("/lokal", name)) << name;
    }
    EXPECT_FALSE(ProfileFolderPath("", "Messe")) << "no local folder: no path in the root folder";
    EXPECT_FALSE(ProfileFolderPath("/lokal", std::string("a\0b", 3)));
}

TEST(ProfileStore, ListsEverySubfolderOfTheProfilesFolderOnly)
{
    TempDir local;
    EXPECT_TRUE(ListProfiles(local.str()).empty()) << "no profiles folder yet";
    fs::create_directories(local / "qPPP_Profile" / "Messe");
    fs::create_directories(local / "qPPP_Profile" / ".versteckt");
    fs::create_directories(local / "qPPP_Profile" / "Ohne INI" / "Unterordner");
    Build(local,
          {File("qPPP_Profile/Messe/qPPP_Profile.ini", "[Profil]\n"), File("qPPP_Profile/datei.ppt", "x")});
    fs::create_directories(local / "Andere");

    std::vector<std::string> names = ListProfiles(local.str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".versteckt", "Messe", "Ohne INI"}));
    EXPECT_TRUE(ListProfiles("").empty());
}
