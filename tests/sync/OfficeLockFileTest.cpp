#include "sync/OfficeLockFile.h"

#include "support/TempDir.h"

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
