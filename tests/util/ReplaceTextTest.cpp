#include "util/z_global.h"

#include <gtest/gtest.h>

using util::ReplaceIgnoreCase;
using util::ReplacePreserveCase;
using util::ReplaceText;

namespace {
constexpr int kBoth = ReplaceIgnoreCase | ReplacePreserveCase;
}

TEST(ReplaceText, OptionsDecideWhichMatchesCountAndTheirCase)
{
    EXPECT_EQ(ReplaceText("abcABC", "b", "x", -1, 0), "axcABC");
    EXPECT_EQ(ReplaceText("abcABC", "b", "x", -1, ReplaceIgnoreCase), "axcAxC");
    EXPECT_EQ(ReplaceText("abcABC", "b", "x", -1, kBoth), "axcAXC");
    // Case is taken from the source even without ignoring case in the match.
    EXPECT_EQ(ReplaceText("abcABC", "B", "x", -1, ReplacePreserveCase), "abcAXC");
}

TEST(ReplaceText, ALongerReplacementTakesTheCaseOfTheLastMatchedCharacter)
{
    EXPECT_EQ(ReplaceText("aXa", "x", "yz", -1, kBoth), "aYZa");
    EXPECT_EQ(ReplaceText("aAb", "ab", "xyz", -1, kBoth), "aXyz");
    EXPECT_EQ(ReplaceText("aaB", "ab", "xyz", -1, kBoth), "axYZ");
    // A digit at a matched place lower-cases the character there.
    EXPECT_EQ(ReplaceText("1A", "1a", "QQ", -1, kBoth), "qQ");
}

TEST(ReplaceText, UmlautsMatchAndChangeCaseAsOneCharacter)
{
    EXPECT_EQ(ReplaceText("\xc3\x84pfel", "\xc3\xa4", "\xc3\xb6", -1, kBoth),
              "\xc3\x96pfel"); // Äpfel -> Öpfel
    EXPECT_EQ(ReplaceText("\xc3\x84pfel", "\xc3\xa4", "x", -1, 0), "\xc3\x84pfel");
    // One character matched, three replaced: all take the upper case of the Ä.
    EXPECT_EQ(ReplaceText("\xc3\x84", "\xc3\xa4",
                          "\xc3\xbc"
                          "ab",
                          -1, kBoth),
              "\xc3\x9c"
              "AB");
    // Lengths count in characters: a two-byte character is one character of the pattern.
    EXPECT_EQ(ReplaceText("x\xc3\xa4y", "\xc3\xa4y", "Z", -1, 0), "xZ");
}

TEST(ReplaceText, MatchesAreLeftToRightWithoutOverlapAndStopAtTheMaximumCount)
{
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 1, 0), "a+b-c");
    EXPECT_EQ(ReplaceText("a-b-c-d", "-", "+", 2, 0), "a+b+c-d");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 0, 0), "a+b+c");
    EXPECT_EQ(ReplaceText("aaaa", "aa", "b", -1, 0), "bb");
    EXPECT_EQ(ReplaceText("aaa", "aa", "b", -1, 0), "ba");
    EXPECT_EQ(ReplaceText("x--y", "-", "", -1, 0), "xy");
}

TEST(ReplaceText, DegenerateInputsComeBackUnchanged)
{
    EXPECT_EQ(ReplaceText("abc", "", "x", -1, kBoth), "abc");
    EXPECT_EQ(ReplaceText("abc", "", "x", 1, 0), "abc");
    EXPECT_EQ(ReplaceText("ab", "abc", "x", -1, kBoth), "ab");
    EXPECT_EQ(ReplaceText("", "a", "x", -1, kBoth), "");
}

TEST(ReplaceText, BytesThatAreNotUtf8SurviveAndCanBeMatchedExactly)
{
    EXPECT_EQ(ReplaceText("a\xff"
                          "b\xc3",
                          "b", "c", -1, kBoth),
              "a\xff"
              "c\xc3");
    EXPECT_EQ(ReplaceText("F\xfcr", "\xfc", "\xc3\xbc", -1, kBoth), "F\xc3\xbcr");
    EXPECT_EQ(ReplaceText("X", "x",
                          "\xfe"
                          "y",
                          -1, kBoth),
              "\xfe"
              "Y");
}

TEST(ReplaceText, DescriptionLineBreaksRoundTripThroughTheSingleCharacter)
{
    const std::string text = "Zeile 1\r\nZeile 2\r\nZeile 3";
    const std::string stored = ReplaceText(text, "\r\n", "\x08", -1, kBoth);
    EXPECT_EQ(stored, "Zeile 1\x08Zeile 2\x08Zeile 3");
    EXPECT_EQ(ReplaceText(stored, "\x08", "\r\n", -1, kBoth), text);
}
