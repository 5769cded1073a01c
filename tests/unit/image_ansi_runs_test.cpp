// Text is converted a run of ASCII at a time: what lies around, between and
// after the runs must come out as character by character.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/ansi_text.h"
#include "param_name.h"

namespace purgent::image {
namespace {

struct Conversion {
    const char* what;
    std::string utf8;
    std::string ansi;
    std::vector<int> lossyLines;
};

const Conversion kConversions[] = {
    {"ASCII only", "a\nb\r\nc", "a\nb\r\nc", {}},
    {"letters between runs", "caf\xC3\xA9\n\xC5\xA1x", "caf\xE9\n\x9Ax", {}},
    {"starts and ends outside ASCII", "\xE2\x82\xAC\x61\xC5\xB8", "\x80\x61\x9F", {}},
    {"lost characters counted by line", "ab\ncd\n\xE2\x98\x83x\n\n\xF0\x9F\x98\x80\n", "ab\ncd\n?x\n\n?\n", {3, 5}},
    {"two lost on one line", "\n\n\n\xE2\x98\x83\xE2\x98\x83", "\n\n\n??", {4}},
    {"cut-off sequence after a run", "line\n\xC3", "line\n?", {2}},
};

void PrintTo(const Conversion& conversion, std::ostream* out) { *out << conversion.what; }

class AnsiRuns : public ::testing::TestWithParam<Conversion> {};

TEST_P(AnsiRuns, ConvertAsCharacterByCharacter) {
    std::vector<int> lossyLines;
    EXPECT_EQ(Utf8ToAnsi(GetParam().utf8, lossyLines), GetParam().ansi);
    EXPECT_EQ(lossyLines, GetParam().lossyLines);
    if (GetParam().lossyLines.empty()) {
        EXPECT_TRUE(IsValidUtf8(GetParam().utf8));
        EXPECT_EQ(AnsiToUtf8(GetParam().ansi), GetParam().utf8);
        std::string appended = "x";
        AppendAnsiAsUtf8(appended, GetParam().ansi);
        EXPECT_EQ(appended, "x" + GetParam().utf8);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, AnsiRuns, ::testing::ValuesIn(kConversions),
                         testing::CaseName<Conversion>);

TEST(AnsiRunsTextFile, PlainAsciiIsTakenAsItIs) {
    std::vector<int> lossyLines;
    EXPECT_EQ(TextFileToAnsi("\xEF\xBB\xBFplain\r\ntext", lossyLines), "plain\r\ntext");
    EXPECT_EQ(TextFileToAnsi("ascii then caf\xC3\xA9", lossyLines), "ascii then caf\xE9");
    EXPECT_EQ(TextFileToAnsi("ascii then caf\xE9", lossyLines), "ascii then caf\xE9");
    EXPECT_TRUE(lossyLines.empty());
}

TEST(AnsiRunsValidity, AMalformedSequenceAfterARunIsFound) {
    EXPECT_FALSE(IsValidUtf8("plain text \xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("plain text \xE2\x82"));
    EXPECT_TRUE(IsValidUtf8("plain text \xE2\x82\xAC more"));
}

}  // namespace
}  // namespace purgent::image
