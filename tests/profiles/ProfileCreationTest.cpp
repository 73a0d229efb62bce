#include "profiles/ProfileCreation.h"
#include "ini/LMDIniCtrl.h"
#include "platform/AtomicFile.h"
#include "support/FolderTree.h"
#include "support/OutcomePrint.h"
#include "support/ScopedFault.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace profiles;
using testsupport::Build;
using testsupport::File;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

class ProfileCreation : public ::testing::Test
{
protected:
    util::Outcome<std::string> Create(const std::string& name, const std::string& description = "",
                                      const std::string& startFile = "")
    {
        return CreateProfile({local.str(), name, description, startFile}, ini);
    }
    fs::path Profiles() const { return local / "qPPP_Profile"; }
    bool NothingCreated() const { return !fs::exists(Profiles()); }

    TempDir local;
    ini::TLMDIniCtrl ini;
};

} // namespace

TEST_F(ProfileCreation, MessagesAreTheProgramsOwn)
{
    EXPECT_EQ(kNoLocalFolderMessage, "Bitte zuerst den Profilordner definieren.\r"
                                     "Wählen Sie in Hautfenster den Reiter \"Einstellungen\"\r"
                                     "und dann auf die Schaltfläche Speicherorte.");
    EXPECT_EQ(kNameTakenMessage,
              "Profil mit diesem Namen existiert schon.\rLöschen Sie zuerst das alte Profil.");
    EXPECT_EQ(ProfilesFolderNotCreatedMessage("/a/qPPP_Profile"),
              "Ordner \"/a/qPPP_Profile\" kann nicht erstellt werden.");
}

TEST_F(ProfileCreation, EmptyOrInvalidNamesCreateNothing)
{
    EXPECT_EQ(Create(""), util::Refused("Profilname bitte eintragen."));
    for (const char* name : {"Ende.", "..", ".", "con", "Lpt1", "COM9", "CLOCK$", "a/b", "a\\b", "a*b",
                             "Was?", "x|y", "<x>", "\"x\""}) {
        EXPECT_EQ(Create(name), util::Refused("Profilname ist ungültig. Bitte keine Sonderzeichen")) << name;
    }
    EXPECT_TRUE(NothingCreated());
    // The name comes before the local folder.
    EXPECT_EQ(CreateProfile({"", "", "", ""}, ini), util::Refused("Profilname bitte eintragen."));
}

TEST_F(ProfileCreation, MissingLocalFolderIsAskedForAndNothingIsMadeElsewhere)
{
    for (const std::string& folder : {std::string(), (local / "fehlt").string()}) {
        const auto r = CreateProfile({folder, "Messe", "", ""}, ini);
        EXPECT_EQ(r, util::Failed(std::string(kNoLocalFolderMessage))) << folder;
    }
    EXPECT_FALSE(fs::exists(local / "fehlt"));
    EXPECT_TRUE(NothingCreated());
}

TEST_F(ProfileCreation, FirstProfileMakesTheProfilesFolderAndTheIniInOrder)
{
    const std::string description = "Zeile eins\r\nZeile zwei\r\n" + std::string(300, 'x');
    const auto r = Create("Messe 2024", description, "gibt es nicht.ppt");
    ASSERT_TRUE(r.IsDone()) << r.message;
    EXPECT_EQ(r.value, (Profiles() / "Messe 2024").string());
    EXPECT_TRUE(fs::is_directory(r.value));
    // The whole description, not cut; the start file as typed, not checked.
    EXPECT_EQ(ReadFile(Profiles() / "Messe 2024" / "qPPP_Profile.ini"),
              "[Profil]\nBeschreibung=Zeile eins\x08Zeile zwei\x08" + std::string(300, 'x') +
                  "\nStartDatei=gibt es nicht.ppt\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(r.value), fs::directory_iterator()), 1);
}

TEST_F(ProfileCreation, OddButValidNamesMakeTheirFolder)
{
    std::string longName(255, 'n');
    for (const std::string& name :
         {std::string("  Blanks  "), std::string("Präsentation für Größe"), std::string("10:30 Uhr"),
          std::string("com10"), std::string("CON.txt"), longName}) {
        const auto r = Create(name, "\r\n\r\n");
        ASSERT_TRUE(r.IsDone()) << name << ": " << r.message;
        EXPECT_TRUE(fs::is_directory(Profiles() / name));
        EXPECT_EQ(ReadFile(Profiles() / name / "qPPP_Profile.ini"),
                  "[Profil]\nBeschreibung=\x08\x08\nStartDatei=\n");
    }
}

TEST_F(ProfileCreation, ExistingNameChangesNothing)
{
    ASSERT_TRUE(Create("Messe", "alt", "alt.ppt").IsDone());
    const std::string before = ReadFile(Profiles() / "Messe" / "qPPP_Profile.ini");
    auto r = Create("Messe", "neu", "neu.ppt");
    EXPECT_EQ(r, util::Failed(std::string(kNameTakenMessage)));
    EXPECT_EQ(ReadFile(Profiles() / "Messe" / "qPPP_Profile.ini"), before);
    // A file of that name takes the name as well.
    Build(Profiles(), {File("Datei", "x")});
    EXPECT_EQ(Create("Datei"), util::Failed(std::string(kNameTakenMessage)));
    EXPECT_EQ(ReadFile(Profiles() / "Datei"), "x");
}

TEST_F(ProfileCreation, FolderFailuresAreReportedWithTheirMessages)
{
    // A name too long for the file system in bytes (255 umlauts are 510 bytes).
    std::string umlauts;
    for (int i = 0; i < 255; ++i)
        umlauts += "ü";
    auto r = Create(umlauts);
    EXPECT_EQ(r, util::Failed("Profil konnte nicht erstellt werden."));
    EXPECT_TRUE(fs::is_directory(Profiles())) << "the profiles folder stays";
    EXPECT_TRUE(fs::is_empty(Profiles()));

    // The profiles folder's place is taken by a file.
    TempDir other;
    Build(other, {File("qPPP_Profile", "x")});
    r = CreateProfile({other.str(), "Messe", "", ""}, ini);
    EXPECT_EQ(r, util::Failed(ProfilesFolderNotCreatedMessage((other / "qPPP_Profile").string())));
    EXPECT_EQ(ReadFile(other / "qPPP_Profile"), "x");
}

TEST_F(ProfileCreation, FailedIniWriteIsReportedAndLeavesTheFolder)
{
    {
        const auto fault = testsupport::ScopedFault::AtomicWriteFailsAt(platform::AtomicWriteStep::Create);
        EXPECT_EQ(Create("Messe", "x"),
                  util::Failed("nach " + (Profiles() / "Messe" / "qPPP_Profile.ini").string() +
                               " kann nicht geschrieben werden"));
    }
    EXPECT_TRUE(fs::is_directory(Profiles() / "Messe"));
    EXPECT_FALSE(fs::exists(Profiles() / "Messe" / "qPPP_Profile.ini"));
}
