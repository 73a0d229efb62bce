#include "text/Utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, Windows1252BytesAreReadAsTheCodePageAndValidTextStaysAsItIs)
{
    EXPECT_EQ(text::Windows1252FallbackToUtf8("f\xfcr"), "f\xc3\xbcr");             // für
    EXPECT_EQ(text::Windows1252FallbackToUtf8("\x80 5"), "\xe2\x82\xac 5");         // € 5
    EXPECT_EQ(text::Windows1252FallbackToUtf8("f\xc3\xbcr"), "f\xc3\xbcr");         // already UTF-8
    EXPECT_EQ(text::Windows1252FallbackToUtf8("\xc3\xbc\xfc"), "\xc3\xbc\xc3\xbc"); // mixed
}

TEST(Utf8, MalformedSequencesAreNotValid)
{
    EXPECT_TRUE(text::IsValidUtf8("Pr\xc3\xa4sentation"));
    EXPECT_FALSE(text::IsValidUtf8("\xc0\xaf"));     // overlong slash
    EXPECT_FALSE(text::IsValidUtf8("\xed\xa0\x80")); // surrogate
    EXPECT_FALSE(text::IsValidUtf8("\xe2\x82"));     // cut short
}

// Only the 26 letters change case; the characters around them in the code table stay.
TEST(Utf8, PlainAsciiChangesTheCaseOfLettersOnly)
{
    const std::string all = "@AZ[`az{09 .-_~";
    std::string out = "x:";
    text::AppendAsciiInCase(out, all, text::LetterCase::Lower);
    EXPECT_EQ(out, "x:@az[`az{09 .-_~");
    out.clear();
    text::AppendAsciiInCase(out, all, text::LetterCase::Upper);
    EXPECT_EQ(out, "@AZ[`AZ{09 .-_~");
    EXPECT_TRUE(text::IsAscii(all));
    EXPECT_FALSE(text::IsAscii("Pr\xc3\xa4sentation"));
}
