#include "util/z_global.h"

#include <gtest/gtest.h>

#include <string>

using util::IsValidName;

TEST(IsValidName, OrdinaryNamesWithBlanksDigitsColonsAndUmlautsPass)
{
    EXPECT_TRUE(IsValidName("Vertrieb 2010"));
    EXPECT_TRUE(IsValidName(" Vertrieb "));
    EXPECT_TRUE(IsValidName("Ablauf: Teil 1"));
    EXPECT_TRUE(IsValidName("Pr\xc3\xa4sentationen f\xc3\xbcr M\xc3\xbcnchen"));
    EXPECT_TRUE(IsValidName("a"));
}

TEST(IsValidName, EmptyNamesAndNamesEndingInADotFail)
{
    EXPECT_FALSE(IsValidName(""));
    EXPECT_FALSE(IsValidName("Vertrieb 2010."));
    EXPECT_FALSE(IsValidName("."));
    EXPECT_FALSE(IsValidName(".."));
    EXPECT_TRUE(IsValidName(".versteckt"));
}

TEST(IsValidName, EachOfTheEightRefusedCharactersFailsWhereverItStands)
{
    for (const char c : std::string("\"*/<>?\\|")) {
        EXPECT_FALSE(IsValidName(std::string("Vor") + c + "trag")) << c;
        EXPECT_FALSE(IsValidName(std::string(1, c) + "Vortrag")) << c;
        EXPECT_FALSE(IsValidName(std::string("Vortrag") + c)) << c;
    }
}

TEST(IsValidName, AZeroCharacterFailsBecauseItWouldCutTheFolderNameShort)
{
    EXPECT_FALSE(IsValidName(std::string("ab\0cd", 5)));
}

TEST(IsValidName, ReservedNamesFailInAnyLetterCaseOnlyWhenTheWholeNameIsOne)
{
    for (const char* name : {"nul", "Com1", "CLOCK$", "clock$", "aux", "PRN", "con", "Lpt1", "lpt9", "COM9"})
        EXPECT_FALSE(IsValidName(name)) << name;
    for (const char* name : {"COM0", "LPT10", "COM10", "CONSOLE", "CON.TXT", "NUL ", "XCON", "CO", "CLOCK"})
        EXPECT_TRUE(IsValidName(name)) << name;
}
