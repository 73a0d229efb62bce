#include "profiles/ProfileCopy.h"

#include "support/FolderTree.h"
#include "support/ScopedFault.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace profiles;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::FolderHolds;
using testsupport::TempDir;

namespace {

std::vector<std::string> StepNames(const util::StepPlan& plan)
{
    std::vector<std::string> names;
    for (const auto& step : plan.steps)
        names.push_back(step.name);
    std::sort(names.begin(), names.end());
    return names;
}

struct ProfileCopy : ::testing::Test
{
    TempDir local;
    fs::path profile = local / "qPPP_Profile" / "Neu";
};

} // namespace

TEST_F(ProfileCopy, PlanTakesEveryFileButTheSetsIniSubfoldersAndTemporaryCopies)
{
    Build(local,
          {File("Intro.ppt", "a"), File(".versteckt.ppt", "b"), File("thumbs.db", "c"),
           File("qPPP_Profile.ini", "[Profil]\nStartDatei=Intro.ppt\n"),
           File("QPPP_PROFILE.INI", "anders geschrieben: eine gewöhnliche Datei"),
           File(".qPPP-kopie-abc123", "halb"),
           File(".~lock.Intro.ppt#", "Benutzer,rechner,01.01.2026 10:00;"), File("~$Intro.ppt", "gesperrt"),
           File("Unterordner/tief.ppt", "d"), testsupport::Folder("qPPP_Profile/Neu")});

    EXPECT_EQ(StepNames(PlanProfileCopy(local.str(), profile.string())),
              (std::vector<std::string>{".versteckt.ppt", "Intro.ppt", "QPPP_PROFILE.INI", "thumbs.db"}));
    EXPECT_TRUE(PlanProfileCopy((local / "fehlt").string(), profile.string()).steps.empty());
    EXPECT_TRUE(PlanProfileCopy(local.str(), "").steps.empty());

    TempDir onlyIni;
    Build(onlyIni, {File("qPPP_Profile.ini", "[Profil]\n")});
    EXPECT_TRUE(PlanProfileCopy(onlyIni.str(), profile.string()).steps.empty())
        << "a set holding only its INI";
}

TEST_F(ProfileCopy, TwelveFilesCountUpKeepTheirTimesAndEndTheBarAtHundred)
{
    testsupport::Tree slides;
    for (int i = 1; i <= 12; ++i)
        slides.push_back(File("Folie" + std::to_string(i) + ".ppt", std::string(i * 1000, 'x'),
                              Dos(2022, 1, i, 8, 15, 0)));
    Build(local, slides);
    Build(local, {File("qPPP_Profile.ini", "[Profil]\nStartDatei=Folie1.ppt\n")});
    const auto profileIni = File("qPPP_Profile.ini", "[Profil]\nBeschreibung=neu\n");
    Build(profile, {profileIni});

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

    // Contents and last-write times; the profile keeps its own INI.
    slides.push_back(profileIni);
    EXPECT_TRUE(FolderHolds(profile, slides));
}

TEST_F(ProfileCopy, AFailedFileLeavesNothingHalfWrittenAndTheOthersAreCopied)
{
    Build(local, {File("a.ppt", std::string(5000, 'a')), File("b.ppt", std::string(5000, 'b')),
                  File("c.ppt", std::string(5000, 'c')), testsupport::Folder("qPPP_Profile/Neu")});
    const auto fault = testsupport::ScopedFault::CopyFailsAfter("b.ppt", 1000);
    std::vector<std::string> messages;
    const auto summary = util::ExecutePlan(PlanProfileCopy(local.str(), profile.string()),
                                           {{}, [&](const util::StepReport& r) {
                                                if (!r.outcome.message.empty())
                                                    messages.push_back(r.outcome.message);
                                            }});

    EXPECT_EQ(summary.failed, 1u);
    EXPECT_EQ(messages, std::vector<std::string>{"Es gibt Probleme beim Kopieren von Dateien"});
    EXPECT_TRUE(
        FolderHolds(profile, {File("a.ppt", std::string(5000, 'a')), File("c.ppt", std::string(5000, 'c'))}))
        << "no partial file and no temporary file";
}

TEST_F(ProfileCopy, AMissingProfileFolderFailsEveryFile)
{
    Build(local, {File("a.ppt", "a")});
    EXPECT_EQ(util::ExecutePlan(PlanProfileCopy(local.str(), profile.string()), {}).failed, 1u);
    EXPECT_TRUE(FolderHolds(local.path(), {File("a.ppt", "a")}));
}
