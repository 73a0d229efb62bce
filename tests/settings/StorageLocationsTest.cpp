#include "settings/StorageLocations.h"

#include "platform/MountTable.h"
#include "settings/Settings.h"
#include "support/FakeShares.h"
#include "support/OutcomePrint.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace settings;
using ini::TLMDIniCtrl;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::string Check(std::string lg, std::string sg, std::string le, std::string se)
{
    return CheckLocationTexts({std::move(lg), std::move(sg), std::move(le), std::move(se)}).message;
}

const std::string kEqual(kEqualPathsMessage);

filesync::MountedShareHost FakeMounts()
{
    return [](const std::string& path) {
        static const platform::MountTable table =
            platform::ParseMountInfo("27 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                     "33 27 0:40 / /mnt/praes rw - cifs //srv01/praes rw\n");
        return platform::NetworkHostOfPathIn(table, path);
    };
}

} // namespace

TEST(StorageLocationTexts, PairsCompareExactlyAndAllFourWithoutRegardToCase)
{
    EXPECT_EQ(Check("/Folien", "/Folien", "/en", "/srv/en"), kGermanPairEqualMessage);
    EXPECT_EQ(Check("/de", "/srv/de", "/Folien", "/Folien"), kEnglishPairEqualMessage);
    // Both pairs equal: the German one is reported first.
    EXPECT_EQ(Check("/a", "/a", "/b", "/b"), kGermanPairEqualMessage);
    // Differing in case only: no pair error, but the all-different one.
    EXPECT_EQ(Check("/Folien", "/folien", "/en", "/srv/en"), kEqual);
    EXPECT_EQ(Check("/Folien", "/srv/de", "/Folien", "/srv/en"), kEqual);
    EXPECT_EQ(Check("/de", "/srv/Präs", "/en", "/SRV/PRÄS"), kEqual) << "case folded beyond ASCII";
    EXPECT_EQ(Check("/de", "/srv/de", "/en", "/srv/en"), "");
}

TEST(StorageLocationTexts, EmptyFieldsNeverCountAsEqual)
{
    EXPECT_EQ(Check("/de", "", "/en", ""), "") << "both server fields empty are accepted";
    EXPECT_EQ(Check("", "", "", ""), "") << "empty local fields are left to the creation step";
    EXPECT_EQ(Check("", "", "/en", "/srv/en"), "");
}

TEST(StorageLocationTexts, PartialPathsAreRefusedAfterTheEqualPathChecks)
{
    EXPECT_EQ(Check("Folien", "/srv/de", "/en", ""),
              "Lokaler Ordner \"Folien\": Bitte einen vollständigen Pfad angeben.");
    EXPECT_EQ(Check("/de", "/srv/de", "/en", "Bitte hier Serverpfad für deutsch eintragen"),
              "Serverpfad \"Bitte hier Serverpfad für deutsch eintragen\": Bitte einen vollständigen Pfad "
              "angeben oder das Feld leer lassen.");
    // The duplicate check still comes first.
    EXPECT_EQ(Check("a", "A", "/en", ""), kEqual);
}

TEST(StorageLocationTexts, ServerFoldersMayBeSharesThatNameTheirHost)
{
    EXPECT_EQ(Check("/de", "smb://anna@srv02/praes/englisch", "/en", "\\\\srv05\\praes\\deutsch"), "");
    EXPECT_EQ(Check("/de", "//srv01/praes", "/en", "\\\\srv01\\praes/englisch"), "");
    // Host but no share: accepted, the host rules name srv01 or none.
    EXPECT_EQ(Check("/de", "\\\\srv01\\", "/en", "\\\\srv02"), "");

    const std::string noHost = "Bitte einen vollständigen Pfad angeben oder das Feld leer lassen.";
    for (const std::string server : {"smb://", "\\\\", "\\\\\\praes", "smb:///praes"})
        EXPECT_NE(Check("/de", server, "/en", "").find(noHost), std::string::npos) << server;
    // Copies are written to a local folder, which must be a folder of this machine.
    EXPECT_EQ(Check("\\\\srv01\\praes", "/srv/de", "/en", ""),
              "Lokaler Ordner \"\\\\srv01\\praes\": Bitte einen vollständigen Pfad angeben.");
    // One share in two spellings is one folder.
    EXPECT_EQ(Check("/de", "\\\\srv01\\praes\\de", "/en", "smb://SRV01/praes/de/"), kEqual);
    EXPECT_EQ(Check("/de", "\\\\srv01\\praes\\de", "/en", "//srv01/praes/en"), "");
}

TEST(StorageLocationTexts, OneFolderSpeltTwoWaysCountsAsEqual)
{
    EXPECT_EQ(Check("/data/de", "/srv/de", "/data/de/", "/srv/en"), kEqual);
    EXPECT_EQ(Check("/data/de", "/srv/de", "/data/./x/../de", "/srv/en"), kEqual);
    EXPECT_EQ(Check("/data/de", "/srv/de/", "/data/en", "/SRV/DE"), kEqual);
    EXPECT_EQ(Check("/data/de/", "/srv/de/", "/data/en/", "/srv/en/"), "") << "trailing delimiters are fine";
}

TEST(StorageLocationTexts, ALocalFolderMayNotLieInAServerFolderNorTheReverse)
{
    const std::string inside = Check("/srv/de/kopie", "/srv/de", "/en", "");
    EXPECT_NE(inside.find("\"/srv/de/kopie\""), std::string::npos) << inside;
    EXPECT_NE(inside.find("\"/srv/de\""), std::string::npos) << inside;
    EXPECT_NE(Check("/data", "/data/server", "/en", ""), "");
    EXPECT_NE(Check("/de", "/srv/de", "/srv/DE/en", "/srv/en"), "") << "across the languages, any case";
    EXPECT_NE(Check("/", "/srv/de", "/en", ""), "");
    // A common beginning of the name is not nesting.
    EXPECT_EQ(Check("/srv/de2", "/srv/de", "/srv/en2", "/srv/en"), "");
    // Two local folders inside one another harm no server folder.
    EXPECT_EQ(Check("/data", "/srv/de", "/data/en", "/srv/en"), "");
}

TEST(StorageLocationsOnDisk, AFileIsNoFolderAndLinksDoNotHideNesting)
{
    TempDir dir;
    WriteFile(dir / "datei", "x");
    fs::create_directories(dir / "server" / "de");
    fs::create_directory_symlink(dir / "server", dir / "verweis");
    const std::string local = (dir / "datei").string();
    const std::string server = (dir / "server" / "de").string();

    EXPECT_EQ(CheckLocationsOnDisk({local, server, "", ""}),
              util::Refused("Lokaler Ordner \"" + local + "\" ist eine Datei. Bitte einen Ordner angeben."));
    EXPECT_TRUE(CheckLocationsOnDisk({(dir / "neu").string(), server, "", ""}).IsDone());
    const std::string throughLink = (dir / "verweis" / "de" / "kopie").string();
    EXPECT_TRUE(CheckLocationTexts({throughLink, server, "", ""}).IsDone()) << "the texts do not nest";
    EXPECT_EQ(CheckLocationsOnDisk({throughLink, server, "", ""}).code, util::OutcomeCode::Refused);
}

TEST(StorageLocationsOnDisk, ALocalFolderInsideAMountedShareIsNested)
{
    TempDir dir;
    testsupport::FakeShares shares;
    shares.Mount("//srv01/praes", dir / "mnt");
    fs::create_directories(dir / "mnt" / "de" / "kopie");
    const std::string local = (dir / "mnt" / "de" / "kopie").string();

    EXPECT_EQ(CheckLocationsOnDisk({local, "\\\\srv01\\Praes\\de", "", ""}).code, util::OutcomeCode::Refused);
    EXPECT_TRUE(CheckLocationsOnDisk({local, "smb://srv01/praes/en", "", ""}).IsDone());
    EXPECT_TRUE(CheckLocationsOnDisk({local, "smb://srv09/praes", "", ""}).IsDone())
        << "not mounted: nothing to nest in";
}

TEST(LocalFolderCreation, MakesOneLevelOnlyAndNeverAnEmptyName)
{
    TempDir dir;
    EXPECT_TRUE(CreateLocalFolder((dir / "neu").string()).IsDone());
    EXPECT_TRUE(LocalFolderExists((dir / "neu").string()));
    EXPECT_TRUE(CreateLocalFolder((dir / "mit").string() + "/").IsDone());
    const std::string deep = (dir / "a" / "b").string();
    EXPECT_EQ(CreateLocalFolder(deep), util::Failed("Ordner \"" + deep + "\" kann nicht erstellt werden."));
    EXPECT_FALSE(fs::exists(dir / "a"));
    EXPECT_FALSE(CreateLocalFolder("").IsDone());
    EXPECT_FALSE(LocalFolderExists(""));
    EXPECT_EQ(CreateLocalFolderQuestion("/x y"),
              "Lokaler Ordner \"/x y\" existiert nicht.\rWollen Sie es jetzt erstellen?");
    EXPECT_EQ(FolderNotCreatableMessage("/x"), "Ordner \"/x\" kann nicht erstellt werden.");
}

TEST(StorageLocations, HostNamesComeFromSharePathsAndMountedShares)
{
    const HostNames hosts =
        DeriveHostNames({"/de", "/mnt/praes/deutsch", "/en", "\\\\srv02\\praes"}, FakeMounts());
    EXPECT_EQ(hosts.german, "srv01") << "the share's host, not the mount point";
    EXPECT_EQ(hosts.english, "srv02");
    const HostNames none = DeriveHostNames({"/de", "", "/en", "/home/anna/Folien"}, FakeMounts());
    EXPECT_EQ(none.german, "");
    EXPECT_EQ(none.english, "");
}

namespace {

// Stores the fields with the host names the fake mounts give.
util::Outcome<> Store(const StorageLocations& fields, TLMDIniCtrl& ini, util::RuntimeState& state)
{
    return StoreLocations(fields, DeriveHostNames(fields, FakeMounts()), ini, state);
}

} // namespace

TEST(StorageLocations, StoringWritesTheKeysInOrderAndSetsTheCurrentPairByLanguage)
{
    TempDir dir;
    const fs::path file = dir / "optionen.ini";
    WriteFile(file, "[Allgemein]\r\nCheckFlage=0\r\n");
    TLMDIniCtrl ini(file.string());
    util::RuntimeState state;
    state.LanguageFlag = 0;
    const std::string longPath = "/" + std::string(300, 'x');
    ASSERT_TRUE(Store({"/de", "/mnt/praes/de", longPath, "//srv02/en"}, ini, state).IsDone());

    EXPECT_EQ(ReadFile(file), "[Allgemein]\r\nCheckFlage=0\r\nEditLPfadDeutsch=/de\r\n"
                              "EditSPfadDeutsch=/mnt/praes/de\r\nEditLPfadEnglisch=" +
                                  longPath +
                                  "\r\nEditSPfadEnglisch=//srv02/en\r\n"
                                  "ServerNameDeutsch=srv01\r\nServerNameEnglisch=srv02\r\n");
    EXPECT_EQ(state.LocalFolderEnglish, longPath.substr(0, 255));
    EXPECT_EQ(state.CurrentLocalFolder, longPath.substr(0, 255));
    EXPECT_EQ(state.CurrentServerFolder, "//srv02/en");
    EXPECT_EQ(state.LocalFolderGerman, "/de");
    EXPECT_EQ(state.HostNameGerman, "srv01");
    EXPECT_EQ(state.HostNameEnglish, "srv02");

    state.LanguageFlag = 1;
    ASSERT_TRUE(Store({"/de", "", "/en", ""}, ini, state).IsDone());
    EXPECT_EQ(state.CurrentLocalFolder, "/de");
    EXPECT_EQ(state.CurrentServerFolder, "");
    EXPECT_EQ(state.HostNameGerman, "");
    EXPECT_EQ(ini.ReadString("Allgemein", "ServerNameDeutsch", "?"), "");
}

TEST(StorageLocations, AFailedWriteStopsBeforeTheStateChanges)
{
    TempDir dir;
    WriteFile(dir / "datei", "x");
    TLMDIniCtrl ini((dir / "datei" / "optionen.ini").string()); // a file where its folder should be
    util::RuntimeState state;
    state.LocalFolderGerman = "/alt";
    EXPECT_EQ(
        Store({"/de", "", "/en", ""}, ini, state),
        util::Failed("nach " + (dir / "datei" / "optionen.ini").string() + " kann nicht geschrieben werden"));
    EXPECT_EQ(state.LocalFolderGerman, "/alt");
}

TEST(StorageLocationTexts, FoldersCountAsNotSetUpUntilAServerFolderIsGivenAndTheLocalOneIsThere)
{
    TempDir local;
    EXPECT_FALSE(FoldersNotSetUp(local.str(), "/mnt/server/praesentationen"));
    EXPECT_TRUE(FoldersNotSetUp(local.str(), std::string(kServerFolderPrompt)));
    EXPECT_TRUE(FoldersNotSetUp(local.str(), ""));
    EXPECT_TRUE(FoldersNotSetUp(local.str(), "   "));
    EXPECT_TRUE(FoldersNotSetUp((local / "fehlt").string(), "/mnt/server/praesentationen"));
    EXPECT_TRUE(FoldersNotSetUp("", "/mnt/server/praesentationen"));
}
