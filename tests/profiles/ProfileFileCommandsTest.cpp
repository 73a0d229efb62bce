#include "profiles/ProfileFileCommands.h"
#include "platform/AtomicFile.h"
#include "platform/FileDelete.h"
#include "support/FolderSnapshot.h"
#include "support/OutcomePrint.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace profiles;
using testsupport::Dos;
using testsupport::ReadFile;
using testsupport::SnapshotFolder;
using testsupport::TempDir;
using testsupport::WriteFile;
using testsupport::WriteFileAt;
using util::Outcome;
using util::OutcomeCode;

namespace {

const std::uint32_t kOld = Dos(2021, 3, 4, 10, 0, 0);
const std::uint32_t kNew = Dos(2023, 5, 17, 9, 30, 0);

// A set with the profile "P": Neu.ppt newer on the server (2), Fehlt.ppt only on
// the server (3), Alt.ppt only in the profile (5).
struct ProfileFixture : ::testing::Test
{
    ProfileFixture()
    {
        fs::create_directories(profile);
        WriteFile(profile / "qPPP_Profile.ini", "[Profil]\nStartDatei=Neu.ppt\n");
        WriteFileAt(profile / "Neu.ppt", "alt", kOld);
        WriteFileAt(server / "Neu.ppt", "neu", kNew);
        WriteFileAt(server / "Fehlt.ppt", "fehlt", kNew);
        WriteFileAt(profile / "Alt.ppt", "nur im Profil", kOld);
    }

    static std::vector<Outcome<>> Run(const util::StepPlan& plan)
    {
        std::vector<Outcome<>> results;
        (void)util::ExecutePlan(plan, {{}, [&](const util::StepReport& r) { results.push_back(r.outcome); }});
        return results;
    }
    std::vector<Outcome<>> Update(const std::vector<std::string>& names, const std::string& name = "P")
    {
        return Run(PlanProfileUpdate(names, local.str(), name, server.str()));
    }
    std::vector<Outcome<>> Delete(const std::vector<std::string>& names, const std::string& name = "P")
    {
        return Run(PlanProfileDelete(names, local.str(), name, server.str()));
    }

    TempDir local;
    TempDir server;
    fs::path profile = local / "qPPP_Profile" / "P";
};

// The window refreshes after every file worked on, done or failed.
int Refreshes(const std::vector<Outcome<>>& results)
{
    return static_cast<int>(std::count_if(results.begin(), results.end(),
                                          [](auto& r) { return r.code != OutcomeCode::Nothing; }));
}

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
    const auto serverBefore = SnapshotFolder(server.path());
    const auto results = Update({"Neu.ppt", "Fehlt.ppt", "Alt.ppt"});
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0], util::Done());
    EXPECT_EQ(results[1], util::Done());
    EXPECT_EQ(results[2], util::Nothing()) << "no server file: silently, without a refresh";
    EXPECT_EQ(Refreshes(results), 2);

    const auto after = SnapshotFolder(profile);
    EXPECT_EQ(after.at("Neu.ppt"), serverBefore.at("Neu.ppt")) << "content and server time";
    EXPECT_EQ(after.at("Fehlt.ppt"), serverBefore.at("Fehlt.ppt"));
    EXPECT_EQ(after.at("Alt.ppt").content, "nur im Profil");
    EXPECT_EQ(SnapshotFolder(server.path()), serverBefore);
    EXPECT_FALSE(fs::exists(local / "Neu.ppt")) << "the current set is not touched";
}

TEST_F(ProfileFixture, AFailedCopyIsReportedKeepsTheOldFileAndGoesOn)
{
    platform::SetCopyFaultForTesting([](const std::string& source) -> std::optional<std::uint64_t> {
        if (fs::path(source).filename() == "Neu.ppt")
            return 1;
        return std::nullopt;
    });
    const auto results = Update({"Neu.ppt", "Fehlt.ppt"});
    platform::SetCopyFaultForTesting({});
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0], util::Failed("Datei konnte nicht kopiert werden."));
    EXPECT_EQ(results[1], util::Done());
    EXPECT_EQ(ReadFile(profile / "Neu.ppt"), "alt");
    EXPECT_EQ(SnapshotFolder(profile).size(), 4u) << "no temporary file left";
}

TEST_F(ProfileFixture, DeletingRemovesOnlyProfileFilesAndPassesOverServerOnlyRows)
{
    const auto serverBefore = SnapshotFolder(server.path());
    auto results = Delete({"Fehlt.ppt"});
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], util::Nothing()) << "status 3: nothing, no refresh";

    results = Delete({"Neu.ppt", "Alt.ppt", "qPPP_Profile.ini"});
    ASSERT_EQ(results.size(), 2u) << "the profile's own INI is never a target";
    EXPECT_EQ(Refreshes(results), 2);
    EXPECT_FALSE(fs::exists(profile / "Neu.ppt"));
    EXPECT_FALSE(fs::exists(profile / "Alt.ppt"));
    EXPECT_TRUE(fs::exists(profile / "qPPP_Profile.ini"));
    EXPECT_EQ(SnapshotFolder(server.path()), serverBefore);
}

TEST_F(ProfileFixture, ARefusedDeleteNamesTheFileAndTheOthersGo)
{
    platform::SetDeleteFaultForTesting([](const std::string& path) { return path.ends_with("Neu.ppt"); });
    const auto results = Delete({"Neu.ppt", "Alt.ppt"});
    platform::SetDeleteFaultForTesting({});
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0], util::Failed("Datei Neu.ppt konnte nicht gelöscht werden"));
    EXPECT_EQ(results[1], util::Done());
    EXPECT_TRUE(fs::exists(profile / "Neu.ppt"));

    // A read-only file is refused too.
    fs::permissions(profile / "Neu.ppt",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(Delete({"Neu.ppt"}).at(0).code, OutcomeCode::Failed);
    EXPECT_TRUE(fs::exists(profile / "Neu.ppt"));
}

TEST_F(ProfileFixture, NamesThatDoNotAddressTheProfileFolderTouchNothing)
{
    WriteFile(local / "Neu.ppt", "Satz");
    WriteFile(local / "qPPP_Profile" / "Neu.ppt", "Profilordner");
    const auto localBefore = SnapshotFolder(local.path());
    const auto profilesBefore = SnapshotFolder(local / "qPPP_Profile");
    for (const std::string name : {"", ".", "..", "../..", "P/..", "../qPPP_Profile"}) {
        EXPECT_TRUE(PlanProfileDelete({"Neu.ppt"}, local.str(), name, server.str()).steps.empty()) << name;
        EXPECT_TRUE(Delete({"Neu.ppt"}, name).empty()) << name;
        EXPECT_TRUE(Update({"Fehlt.ppt"}, name).empty()) << name;
        EXPECT_FALSE(DeleteProfile(local.str(), name).IsDone()) << name;
    }
    EXPECT_TRUE(PlanProfileUpdate({"Neu.ppt"}, "", "P", server.str()).steps.empty());
    EXPECT_FALSE(DeleteProfile("", "P").IsDone());
    // Row names that climb out are dropped too.
    EXPECT_TRUE(Delete({"../Neu.ppt", "../../Neu.ppt", ".."}).empty());
    EXPECT_EQ(SnapshotFolder(local.path()), localBefore);
    EXPECT_EQ(SnapshotFolder(local / "qPPP_Profile"), profilesBefore);
    EXPECT_TRUE(fs::exists(profile / "Neu.ppt"));
}

TEST_F(ProfileFixture, AProfileFolderThatIsTheServerFolderIsNeverWritten)
{
    // The server folder configured as the profile's own folder, through a link.
    fs::remove_all(profile);
    fs::create_directory_symlink(server.path(), profile);
    const auto serverBefore = SnapshotFolder(server.path());
    const auto deleted = Delete({"Neu.ppt"});
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].code, OutcomeCode::Failed);
    const auto updated = Update({"Neu.ppt"});
    ASSERT_EQ(updated.size(), 1u);
    EXPECT_EQ(updated[0].code, OutcomeCode::Failed);
    EXPECT_EQ(SnapshotFolder(server.path()), serverBefore);
}

TEST_F(ProfileFixture, DeletingAProfileRemovesItsFolderOnly)
{
    fs::create_directories(local / "qPPP_Profile" / "Q");
    WriteFile(local / "Satz.ppt", "x");
    EXPECT_TRUE(DeleteProfile(local.str(), "P").IsDone());
    EXPECT_FALSE(fs::exists(profile));
    EXPECT_TRUE(fs::exists(local / "qPPP_Profile" / "Q"));
    EXPECT_TRUE(fs::exists(local / "Satz.ppt"));
    EXPECT_EQ(DeleteProfile(local.str(), "P"), util::Failed(std::string(kDeleteProfileFailedMessage)))
        << "already gone";
}
