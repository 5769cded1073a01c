// Windows' ANSI folding, byte by byte: the letters of Windows-1252 fold to
// their capitals, and nothing else changes.
#include <gtest/gtest.h>

#include <string>

#include "image/ansi_text.h"

namespace purgent::image {
namespace {

struct LetterRun {
    unsigned char small;    // the first small letter
    unsigned char capital;  // its capital
    int count;
};

const LetterRun kLetterRuns[] = {
    {'a', 'A', 26},
    {0xE0, 0xC0, 23},  // a grave .. o diaeresis
    {0xF8, 0xD8, 7},   // o stroke .. thorn; 0xF7 (division sign) is no letter
    {0x9A, 0x8A, 1},   // s caron
    {0x9C, 0x8C, 1},   // oe
    {0x9E, 0x8E, 1},   // z caron
    {0xFF, 0x9F, 1},   // y diaeresis
};

unsigned char Capital(unsigned char c) {
    for (const LetterRun& run : kLetterRuns)
        if (c >= run.small && c < run.small + run.count) return static_cast<unsigned char>(run.capital + (c - run.small));
    return c;
}

TEST(FoldCase, EveryByteFoldsAsWindowsFoldsIt) {
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_EQ(static_cast<unsigned char>(FoldCase(static_cast<char>(byte))), Capital(byte)) << c;
    }
}

TEST(FoldCase, NamesAreEqualExactlyWhenEveryByteFoldsAlike) {
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            const std::string x = std::string("k") + static_cast<char>(a) + "y";
            const std::string y = std::string("K") + static_cast<char>(b) + "Y";
            ASSERT_EQ(EqualsIgnoreCase(x, y), Capital(a) == Capital(b)) << a << " " << b;
        }
}

}  // namespace
}  // namespace purgent::image
