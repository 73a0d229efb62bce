#include "profiles/ProfileCopy.h"
#include "platform/AtomicFile.h"
#include "support/FolderSnapshot.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace profiles;
using testsupport::Dos;
using testsupport::SnapshotFolder;
using testsupport::TempDir;
using testsupport::WriteFile;
using testsupport::WriteFileAt;

namespace {

std::vector<std::string> StepNames(const util::StepPlan& plan)
{
    std::vector<std::string> names;
    for (const auto& step : plan.steps)
        names.push_back(step.name);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ProfileCopyPlan, TakesEveryFileButTheSetsIniSubfoldersAndTemporaryCopies)
{
    TempDir local;
    const std::string profile = (local / "qPPP_Profile" / "Neu").string();
    fs::create_directories(profile);
    WriteFile(local / "Intro.ppt", "a");
    WriteFile(local / ".versteckt.ppt", "b");
    WriteFile(local / "thumbs.db", "c");
    WriteFile(local / "qPPP_Profile.ini", "[Profil]\nStartDatei=Intro.ppt\n");
    WriteFile(local / "QPPP_PROFILE.INI", "anders geschrieben: eine gewöhnliche Datei");
    WriteFile(local / ".qPPP-kopie-abc123", "halb");
    WriteFile(local / ".~lock.Intro.ppt#", "Benutzer,rechner,01.01.2026 10:00;");
    WriteFile(local / "~$Intro.ppt", "gesperrt");
    fs::create_directories(local / "Unterordner");
    WriteFile(local / "Unterordner" / "tief.ppt", "d");

    const util::StepPlan plan = PlanProfileCopy(local.str(), profile);
    EXPECT_EQ(StepNames(plan),
              (std::vector<std::string>{".versteckt.ppt", "Intro.ppt", "QPPP_PROFILE.INI", "thumbs.db"}));
    EXPECT_TRUE(PlanProfileCopy((local / "fehlt").string(), profile).steps.empty());
    EXPECT_TRUE(PlanProfileCopy(local.str(), "").steps.empty());
}

TEST(ProfileCopyPlan, SetHoldingOnlyItsIniHasNothingToCopy)
{
    TempDir local;
    WriteFile(local / "qPPP_Profile.ini", "[Profil]\n");
    fs::create_directories(local / "qPPP_Profile" / "Neu");
    EXPECT_TRUE(PlanProfileCopy(local.str(), (local / "qPPP_Profile" / "Neu").string()).steps.empty());
}

TEST(ProfileCopy, TwelveFilesCountUpKeepTheirTimesAndEndTheBarAtHundred)
{
    TempDir local;
    const fs::path profile = local / "qPPP_Profile" / "Zwölf";
    fs::create_directories(profile);
    for (int i = 1; i <= 12; ++i)
        WriteFileAt(local / ("Folie" + std::to_string(i) + ".ppt"), std::string(i * 1000, 'x'),
                    Dos(2022, 1, i, 8, 15, 0));
    WriteFile(local / "qPPP_Profile.ini", "[Profil]\nStartDatei=Folie1.ppt\n");
    WriteFile(profile / "qPPP_Profile.ini", "[Profil]\nBeschreibung=neu\n");

    std::vector<std::string> labels;
    std::vector<int> bar;
    util::StepObserver observer;
    observer.beforeStep = [&](std::size_t i, std::size_t n) { labels.push_back(CopyCountText(i, n)); };
    observer.afterStep = [&](const util::StepReport& r) {
        EXPECT_TRUE(r.outcome.IsDone());
        bar.push_back(r.step.progress);
    };
    EXPECT_EQ(util::ExecutePlan(PlanProfileCopy(local.str(), profile.string()), observer).failed, 0u);

    ASSERT_EQ(labels.size(), 12u);
    EXPECT_EQ(labels.front(), "1 / 12");
    EXPECT_EQ(labels[2], "3 / 12");
    EXPECT_EQ(labels.back(), "12 / 12");
    EXPECT_EQ(bar.front(), 8);
    EXPECT_EQ(bar.back(), 100);
    EXPECT_TRUE(std::is_sorted(bar.begin(), bar.end()));

    auto copied = SnapshotFolder(profile);
    auto original = SnapshotFolder(local.path());
    original.erase("qPPP_Profile");
    original.erase("qPPP_Profile.ini");
    EXPECT_EQ(copied.at("qPPP_Profile.ini").content, "[Profil]\nBeschreibung=neu\n")
        << "the profile's own INI";
    copied.erase("qPPP_Profile.ini");
    EXPECT_EQ(copied, original) << "contents and last-write times";
}

TEST(ProfileCopy, AFailedFileLeavesNothingHalfWrittenAndTheOthersAreCopied)
{
    TempDir local;
    const fs::path profile = local / "qPPP_Profile" / "P";
    fs::create_directories(profile);
    WriteFile(local / "a.ppt", std::string(5000, 'a'));
    WriteFile(local / "b.ppt", std::string(5000, 'b'));
    WriteFile(local / "c.ppt", std::string(5000, 'c'));
    platform::SetCopyFaultForTesting([](const std::string& source) -> std::optional<std::uint64_t> {
        if (fs::path(source).filename() == "b.ppt")
            return 1000;
        return std::nullopt;
    });
    std::vector<std::string> messages;
    const util::StepObserver observer{
        {}, [&](const util::StepReport& r) { messages.push_back(r.outcome.message); }};
    const auto summary = util::ExecutePlan(PlanProfileCopy(local.str(), profile.string()), observer);
    platform::SetCopyFaultForTesting({});

    EXPECT_EQ(summary.failed, 1u);
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(messages, (std::vector<std::string>{"", "", "Es gibt Probleme beim Kopieren von Dateien"}));
    const auto copied = SnapshotFolder(profile);
    EXPECT_EQ(copied.size(), 2u) << "no partial file and no temporary file";
    EXPECT_FALSE(copied.contains("b.ppt"));
}

TEST(ProfileCopy, AMissingProfileFolderFailsEveryFile)
{
    TempDir local;
    WriteFile(local / "a.ppt", "a");
    const auto plan = PlanProfileCopy(local.str(), (local / "qPPP_Profile" / "weg").string());
    EXPECT_EQ(util::ExecutePlan(plan, {}).failed, 1u);
    EXPECT_FALSE(fs::exists(local / "qPPP_Profile"));
}
