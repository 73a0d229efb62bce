#include "settings/SettingsPage.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace settings;
using ini::TLMDIniCtrl;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(SettingsPage, IntervalTextGivesAWholeNumberOfHoursInRange)
{
    EXPECT_EQ(IntervalHoursFromText("7"), 7);
    EXPECT_EQ(IntervalHoursFromText(" 10 "), 10);
    EXPECT_EQ(IntervalHoursFromText("1"), 1);
    // No number: 1.
    EXPECT_EQ(IntervalHoursFromText(""), 1);
    EXPECT_EQ(IntervalHoursFromText("abc"), 1);
    EXPECT_EQ(IntervalHoursFromText("3x"), 1);
    // Passing states while typing are kept inside the range the timer can use.
    EXPECT_EQ(IntervalHoursFromText("0"), 1);
    EXPECT_EQ(IntervalHoursFromText("-4"), 1);
    EXPECT_EQ(IntervalHoursFromText("99"), 10);
    EXPECT_EQ(IntervalHoursFromText("99999999999999"), 1) << "out of int range is no number";
}

TEST(SettingsPage, SaveWritesTheFiveKeysInOrderAndKeepsEveryOtherLine)
{
    TempDir dir;
    const auto file = dir / "optionen.ini";
    WriteFile(file, "; Notiz\r\n[Allgemein]\r\nEditLPfadDeutsch=/daten/de\r\nAktivPage=2\r\n");
    TLMDIniCtrl ini(file.string());
    SaveSettingsPage(ini, {false, true, 7, false, -1});
    EXPECT_EQ(ReadFile(file), "; Notiz\r\n[Allgemein]\r\nEditLPfadDeutsch=/daten/de\r\nAktivPage=2\r\n"
                              "CheckBoxStart=0\r\nCheckBoxInterval=1\r\nRxSpinEditInterval=7\r\n"
                              "CheckFlage=0\r\nComboBoxDesign=-1\r\n");
}
