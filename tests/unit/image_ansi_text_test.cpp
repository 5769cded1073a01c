#include <gtest/gtest.h>

#include "image/ansi_text.h"

namespace purgent::image {
namespace {

TEST(AnsiText, EveryWindows1252ByteSurvivesUtf8AndUtf16) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    EXPECT_EQ(Utf16LeToAnsi(AnsiToUtf16Le(all)), all);
    EXPECT_EQ(AnsiToUtf8("\x80\x9F"), "\xE2\x82\xAC\xC5\xB8");   // euro sign, Y diaeresis
}

TEST(AnsiText, WhatAnsiCannotHoldBecomesAQuestionMark) {
    EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD-\xF0\x9F\x98\x80"), "?-?");                  // CJK, emoji
    EXPECT_EQ(Utf16LeToAnsi({0x2d, 0x4e, 0x3d, 0xd8, 0x00, 0xde, 'x', 0}), "??x");  // U+4E2D, one surrogate pair
    EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");                                           // cut-off sequence
}

TEST(AnsiText, TextFilesThatAreNotUtf8AreTakenAsAnsi) {
    EXPECT_EQ(TextFileToAnsi("\xEF\xBB\xBF" "caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(TextFileToAnsi("caf\xE9"), "caf\xE9");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));   // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));   // encoded surrogate
}

TEST(AnsiText, NamesMatchIgnoringCaseOfAsciiAndLatinLetters) {
    EXPECT_TRUE(EqualsIgnoreCase("C:\\Program Files\\Novell", "c:\\PROGRAM FILES\\novell"));
    EXPECT_TRUE(EqualsIgnoreCase("Caf\xE9 \x9A", "CAF\xC9 \x8A"));
    EXPECT_FALSE(EqualsIgnoreCase("\xF7", "\xD7"));   // division and multiplication signs
    EXPECT_FALSE(EqualsIgnoreCase("abc", "abcd"));
    EXPECT_EQ(SplitLines("a\r\nb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(SplitLines("a\n"), std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace purgent::image
