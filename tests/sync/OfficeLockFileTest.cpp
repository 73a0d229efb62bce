#include "sync/OfficeLockFile.h"

#include "support/TempDir.h"
#include "sync/BulkUpdate.h"
#include "sync/FileStatus.h"

#include <gtest/gtest.h>

using namespace filesync;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(OfficeLockFile, RecognisesBothKindsAndNothingThatMerelyLooksAlike)
{
    for (const char* name :
         {".~lock.Intro.pptx#", ".~lock.Mit Leerzeichen; und $(x).ppt#", "~$Intro.pptx", "~$tro.pptx"})
        EXPECT_TRUE(IsOfficeLockFileName(name)) << name;
    for (const char* name : {"Intro.pptx", ".~lock.Intro.pptx", ".~lock.#", "~$", "Preis~$liste.ppt",
                             "lock.Intro#", "$Intro.pptx", "~Intro.pptx"})
        EXPECT_FALSE(IsOfficeLockFileName(name)) << name;
}

TEST(OfficeLockFile, ADocumentIsOpenWhileALockFileForItLiesBesideIt)
{
    TempDir folder;
    WriteFile(folder / "Intro.pptx", "a");
    WriteFile(folder / "Willkommen.pptx", "b");
    WriteFile(folder / "Produktvorstellung.pptx", "c");
    EXPECT_FALSE(IsOpenInOfficeProgram(folder.str(), "Intro.pptx"));

    WriteFile(folder / ".~lock.Intro.pptx#", "Benutzer,rechner,01.01.2026 10:00;");
    WriteFile(folder / "~$Willkommen.pptx", "x");
    WriteFile(folder / "~$oduktvorstellung.pptx", "x");
    EXPECT_TRUE(IsOpenInOfficeProgram(folder.str(), "Intro.pptx"));
    EXPECT_TRUE(IsOpenInOfficeProgram(folder.str(), "Willkommen.pptx"));
    EXPECT_TRUE(IsOpenInOfficeProgram(folder.str(), "Produktvorstellung.pptx"));
    // Another file's lock, a lock in another folder, and a folder of that name do not count.
    EXPECT_FALSE(IsOpenInOfficeProgram(folder.str(), "Intro.ppt"));
    EXPECT_FALSE(IsOpenInOfficeProgram((folder / "anders").string(), "Intro.pptx"));
    std::filesystem::create_directory(folder / ".~lock.Ordner.pptx#");
    EXPECT_FALSE(IsOpenInOfficeProgram(folder.str(), "Ordner.pptx"));
    EXPECT_FALSE(IsOpenInOfficeProgram("", "Intro.pptx"));
}

TEST(OfficeLockFile, AnUpdateAsksForEachOpenFileAndLeavesTheDeclinedOnes)
{
    TempDir local;
    TempDir server;
    for (const char* name : {"A.pptx", "B.pptx", "C.pptx"})
        WriteFile(server / name, "neu");
    WriteFile(local / "A.pptx", "alt");
    WriteFile(local / "B.pptx", "alt");
    WriteFile(local / ".~lock.A.pptx#", "x");
    WriteFile(local / "~$B.pptx", "x");
    const std::vector<FileRow> rows{{"A.pptx", "A.pptx", 2, 1, StatusServerNewer},
                                    {"B.pptx", "B.pptx", 2, 1, StatusServerNewer},
                                    {"C.pptx", "C.pptx", 2, std::nullopt, StatusMissingLocally}};
    util::StepPlan plan = PlanBulkUpdate(rows, local.str(), server.str());
    std::vector<std::string> asked;
    ConfirmOpenDocuments(plan, local.str(), [&](std::string_view name) {
        asked.emplace_back(name);
        return name == "B.pptx";
    });
    EXPECT_EQ(asked, (std::vector<std::string>{"A.pptx", "B.pptx"}));
    util::ExecutePlan(plan, {});
    EXPECT_EQ(testsupport::ReadFile(local / "A.pptx"), "alt") << "declined";
    EXPECT_EQ(testsupport::ReadFile(local / "B.pptx"), "neu");
    EXPECT_EQ(testsupport::ReadFile(local / "C.pptx"), "neu");
    EXPECT_TRUE(std::filesystem::exists(local / ".~lock.A.pptx#")) << "lock files are never touched";
    EXPECT_TRUE(std::filesystem::exists(local / "~$B.pptx"));
    EXPECT_EQ(OpenDocumentQuestion("A.pptx").substr(0, 50),
              "Die Datei \"A.pptx\" ist gerade in einem anderen Pro");
}
