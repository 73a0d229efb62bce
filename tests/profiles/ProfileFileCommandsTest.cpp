#include "profiles/ProfileFileCommands.h"

#include "support/FileRows.h"
#include "support/FolderTree.h"
#include "support/OutcomePrint.h"
#include "support/ScopedFault.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace profiles;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::FolderHolds;
using testsupport::SameSnapshot;
using testsupport::ScopedFault;
using testsupport::SnapshotTree;
using testsupport::TempDir;
using util::Outcome;
using util::OutcomeCode;

namespace {

const std::uint32_t kOld = Dos(2021, 3, 4, 10, 0, 0);
const std::uint32_t kNew = Dos(2023, 5, 17, 9, 30, 0);

const auto kIni = File("qPPP_Profile.ini", "[Profil]\nStartDatei=Neu.ppt\n");
const auto kOldNeu = File("Neu.ppt", "alt", kOld);
const auto kAlt = File("Alt.ppt", "nur im Profil", kOld);
const auto kServerNeu = File("Neu.ppt", "neu", kNew);
const auto kFehlt = File("Fehlt.ppt", "fehlt", kNew);

// A set with the profile "P": Neu.ppt newer on the server (2), Fehlt.ppt only on
// the server (3), Alt.ppt only in the profile (5).
struct ProfileFixture : ::testing::Test
{
    ProfileFixture()
    {
        Build(profile, {kIni, kOldNeu, kAlt});
        Build(server, {kServerNeu, kFehlt});
    }

    static std::vector<Outcome<>> Run(const util::StepPlan& plan)
    {
        std::vector<Outcome<>> results;
        (void)util::ExecutePlan(plan, {{}, [&](const util::StepReport& r) { results.push_back(r.outcome); }});
        return results;
    }
    static std::vector<filesync::FileRow> Rows(const std::vector<std::string>& names)
    {
        std::vector<filesync::FileRow> rows;
        for (const std::string& name : names)
            rows.push_back(testsupport::Row(name));
        return rows;
    }
    std::vector<Outcome<>> Update(const std::vector<std::string>& names, const std::string& name = "P")
    {
        return Run(PlanProfileUpdate(Rows(names), local.str(), name, server.str()));
    }
    std::vector<Outcome<>> Delete(const std::vector<std::string>& names, const std::string& name = "P")
    {
        return Run(PlanProfileDelete(Rows(names), local.str(), name, server.str()));
    }

    TempDir local;
    TempDir server;
    fs::path profile = local / "qPPP_Profile" / "P";
};

} // namespace

TEST(ProfileFileTexts, AreTheProgramsOwn)
{
    EXPECT_EQ(
        UpdateMarkedQuestion(3),
        "Wollen Sie die ausgewählte Datei(en) \r(Anzahl der Dateien: 3)\rlokal wirklich aktualisieren?");
    EXPECT_EQ(DeleteMarkedQuestion(12),
              "Wollen Sie die asugewählte Datei(en)  \r(Anzahl der Dateien: 12)\rlokal wirklich löschen?");
    EXPECT_EQ(DeleteMarkedFailedMessage("a b.ppt"), "Datei a b.ppt konnte nicht gelöscht werden");
    EXPECT_EQ(kDeleteProfileQuestion, "Wollen Sie wirklich die Datein in dem Profil\runwiederuflich löschen");
}

TEST_F(ProfileFixture, UpdatingStatuses235CopiesTwoAndPassesOverTheThird)
{
    const auto serverBefore = SnapshotTree(server.path());
    // No server file for Alt.ppt: silently, and the window does not refresh.
    EXPECT_EQ(Update({"Neu.ppt", "Fehlt.ppt", "Alt.ppt"}),
              (std::vector<Outcome<>>{util::Done(), util::Done(), util::Nothing()}));
    EXPECT_TRUE(FolderHolds(profile, {kIni, kServerNeu, kFehlt, kAlt})) << "contents and server times";
    EXPECT_TRUE(SameSnapshot(serverBefore, SnapshotTree(server.path())));
    EXPECT_FALSE(fs::exists(local / "Neu.ppt")) << "the current set is not touched";
}

TEST_F(ProfileFixture, AFailedCopyIsReportedKeepsTheOldFileAndGoesOn)
{
    const auto fault = ScopedFault::CopyFailsAfter("Neu.ppt", 1);
    EXPECT_EQ(Update({"Neu.ppt", "Fehlt.ppt"}),
              (std::vector<Outcome<>>{util::Failed("Datei konnte nicht kopiert werden."), util::Done()}));
    EXPECT_TRUE(FolderHolds(profile, {kIni, kOldNeu, kAlt, kFehlt})) << "the old file, no temporary file";
}

TEST_F(ProfileFixture, DeletingRemovesOnlyProfileFilesAndPassesOverServerOnlyRows)
{
    const auto serverBefore = SnapshotTree(server.path());
    EXPECT_EQ(Delete({"Fehlt.ppt"}), std::vector<Outcome<>>{util::Nothing()})
        << "status 3: nothing, no refresh";
    // The profile's own INI is never a target.
    EXPECT_EQ(Delete({"Neu.ppt", "Alt.ppt", "qPPP_Profile.ini"}),
              (std::vector<Outcome<>>{util::Done(), util::Done()}));
    EXPECT_TRUE(FolderHolds(profile, {kIni}));
    EXPECT_TRUE(SameSnapshot(serverBefore, SnapshotTree(server.path())));
}

TEST_F(ProfileFixture, ARefusedDeleteNamesTheFileAndTheOthersGo)
{
    {
        const auto fault = ScopedFault::DeleteRefused("Neu.ppt");
        EXPECT_EQ(Delete({"Neu.ppt", "Alt.ppt"}),
                  (std::vector<Outcome<>>{util::Failed("Datei Neu.ppt konnte nicht gelöscht werden"),
                                          util::Done()}));
        EXPECT_TRUE(FolderHolds(profile, {kIni, kOldNeu}));
    }
    // A read-only file is refused too.
    fs::permissions(profile / "Neu.ppt",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(Delete({"Neu.ppt"}).at(0).code, OutcomeCode::Failed);
    EXPECT_TRUE(FolderHolds(profile, {kIni, kOldNeu}));
}

TEST_F(ProfileFixture, NamesThatDoNotAddressTheProfileFolderTouchNothing)
{
    Build(local, {File("Neu.ppt", "Satz"), File("qPPP_Profile/Neu.ppt", "Profilordner")});
    const auto localBefore = SnapshotTree(local.path());
    for (const std::string name : {"", ".", "..", "../..", "P/..", "../qPPP_Profile"}) {
        EXPECT_TRUE(Delete({"Neu.ppt"}, name).empty()) << name;
        EXPECT_TRUE(Update({"Fehlt.ppt"}, name).empty()) << name;
        EXPECT_FALSE(DeleteProfile(local.str(), name).IsDone()) << name;
    }
    EXPECT_TRUE(PlanProfileUpdate(Rows({"Neu.ppt"}), "", "P", server.str()).steps.empty());
    EXPECT_FALSE(DeleteProfile("", "P").IsDone());
    // Row names that climb out are dropped too.
    EXPECT_TRUE(Delete({"../Neu.ppt", "../../Neu.ppt", ".."}).empty());
    EXPECT_TRUE(SameSnapshot(localBefore, SnapshotTree(local.path())));
}

TEST_F(ProfileFixture, AProfileFolderThatIsTheServerFolderIsNeverWritten)
{
    // The server folder configured as the profile's own folder, through a link.
    fs::remove_all(profile);
    fs::create_directory_symlink(server.path(), profile);
    const auto serverBefore = SnapshotTree(server.path());
    EXPECT_EQ(Delete({"Neu.ppt"}),
              std::vector<Outcome<>>{util::Failed("Datei Neu.ppt konnte nicht gelöscht werden")});
    EXPECT_EQ(Update({"Neu.ppt"}),
              std::vector<Outcome<>>{util::Failed("Datei konnte nicht kopiert werden.")});
    EXPECT_TRUE(SameSnapshot(serverBefore, SnapshotTree(server.path())));
}

TEST_F(ProfileFixture, DeletingAProfileRemovesItsFolderOnly)
{
    Build(local, {File("Satz.ppt", "x"), testsupport::Folder("qPPP_Profile/Q")});
    EXPECT_TRUE(DeleteProfile(local.str(), "P").IsDone());
    EXPECT_TRUE(FolderHolds(local.path(), {File("Satz.ppt", "x"), testsupport::Folder("qPPP_Profile/Q")}));
    EXPECT_EQ(DeleteProfile(local.str(), "P"), util::Failed(std::string(kDeleteProfileFailedMessage)))
        << "already gone";
}
