#include "settings/Designs.h"

#include <gtest/gtest.h>

using namespace settings;

TEST(Designs, EachIndexHasItsNameWindowColourAndPagerStyle)
{
    const struct
    {
        const char* name;
        std::uint32_t window, bandStart, hover, englishRadio;
        PagerStyle style;
    } expected[] = {
        {"Office 2003 Blue", 0xC4DAFA, 0x8DB2E3, 0x92B6E8, 0xC6DAFA, PagerStyle::psOffice2003Blue},
        {"Office 2003 Silver", 0xEBEBF2, 0xA3A3A3, 0xB3B5B7, 0xD8D8E6, PagerStyle::psOffice2003Silver},
        {"Office 2007 Luna", 0xC4DAFA, 0x8DB2E3, 0x92B6E8, 0xD5E3F5, PagerStyle::psOffice2007Luna},
        {"Office 2007 Obsidian", 0xBFC4CD, 0x787878, 0x989B9F, 0xC8CFD5, PagerStyle::psOffice2007Obsidian},
    };
    for (int i = 0; i < kDesignCount; ++i) {
        SCOPED_TRACE(i);
        const auto p = DesignPaletteOf(i);
        ASSERT_TRUE(p);
        EXPECT_EQ(DesignName(i), expected[i].name);
        EXPECT_EQ(p->windowBackground, expected[i].window);
        EXPECT_EQ(p->headerBandStart, expected[i].bandStart);
        EXPECT_EQ(p->buttonHover, expected[i].hover);
        EXPECT_EQ(p->englishRadioButton, expected[i].englishRadio);
        EXPECT_EQ(PagerStyleOf(i), expected[i].style);
    }
    const auto silver = *DesignPaletteOf(1);
    EXPECT_EQ(silver.headerBandEnd, 0xEAEAF2u);
    EXPECT_EQ(silver.buttonFace, 0xCBCDCFu);
    EXPECT_EQ(silver.buttonPressed, 0xE1E3E3u);
    EXPECT_EQ(silver.inputField, 0xCBCDCFu);
    EXPECT_EQ(silver.startCheckBox, 0xE9E9F1u);
    EXPECT_EQ(silver.intervalCheckBox, 0xE6E6EFu);
    EXPECT_EQ(silver.germanRadioButton, 0xD8D8E6u);
    EXPECT_EQ(silver.bars, 0xB8BEC8u);
}

// Designs that settings/Designs.cpp gives shared colours must share exactly those, so
// a typo in one column shows up as a difference here.
TEST(Designs, PairsShareTheColoursTheyShare)
{
    const auto blue = *DesignPaletteOf(0), silver = *DesignPaletteOf(1), luna = *DesignPaletteOf(2),
               obsidian = *DesignPaletteOf(3);
    for (auto member : {&util::DesignPalette::windowBackground, &util::DesignPalette::headerBandStart,
                        &util::DesignPalette::headerBandEnd, &util::DesignPalette::buttonFace,
                        &util::DesignPalette::buttonPressed, &util::DesignPalette::buttonHover,
                        &util::DesignPalette::inputField, &util::DesignPalette::bars})
        EXPECT_EQ(blue.*member, luna.*member);
    for (auto member : {&util::DesignPalette::startCheckBox, &util::DesignPalette::intervalCheckBox,
                        &util::DesignPalette::germanRadioButton, &util::DesignPalette::englishRadioButton})
        EXPECT_NE(blue.*member, luna.*member);
    for (auto member : {&util::DesignPalette::buttonFace, &util::DesignPalette::buttonPressed,
                        &util::DesignPalette::inputField, &util::DesignPalette::bars})
        EXPECT_EQ(silver.*member, obsidian.*member);
    EXPECT_NE(silver.buttonHover, obsidian.buttonHover);
    EXPECT_EQ(blue.buttonFace, blue.inputField);
}

TEST(Designs, AnIndexOutsideTheFourGivesNothing)
{
    for (int index : {-1, 4, 7, 1000}) {
        EXPECT_FALSE(DesignPaletteOf(index)) << index;
        EXPECT_FALSE(PagerStyleOf(index)) << index;
        EXPECT_TRUE(DesignName(index).empty()) << index;
    }
}
