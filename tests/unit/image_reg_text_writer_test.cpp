#include <gtest/gtest.h>

#include <string>

#include "image/reg_text_writer.h"
#include "param_name.h"

namespace purgent::image {
namespace {

struct ValueLine {
    const char* what;
    std::string name;
    std::uint32_t type;
    Bytes data;
    std::string line;  // as regedit writes it, without the line break
};

const ValueLine kValueLines[] = {
    {"string", "Path", 1, {'C', ':', '\\', 0}, "\"Path\"=\"C:\\\\\""},
    {"quotes and ANSI letters", "Caf\xE9 \"x\"", 1, {0x9A, '"', 0}, "\"Caf\xC3\xA9 \\\"x\\\"\"=\"\xC5\xA1\\\"\""},
    {"default value", "", 4, {0x78, 0x56, 0x34, 0x12}, "@=dword:12345678"},
    {"short dword", "n", 4, {1, 2}, "\"n\"=hex(4):01,02"},
    {"string without its NUL", "s", 1, {'a', 'b'}, "\"s\"=hex(1):61,00,62,00"},
    {"string across lines", "s", 1, {'a', '\n', 0}, "\"s\"=hex(1):61,00,0a,00,00,00"},
    {"expandable ANSI", "e", 2, {0x80, 0}, "\"e\"=hex(2):ac,20,00,00"},
    {"type none", "z", 0, {0xFF}, "\"z\"=hex(0):ff"},
    {"type of two digits", "t", 0x1B, {}, "\"t\"=hex(1b):"},
    {"type of eight digits", "t", 0xFFFFFFFF, {0}, "\"t\"=hex(ffffffff):00"},
    {"binary wrapped", "Bin", 3, Bytes(30, 0xAB),
     "\"Bin\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\r\n"
     "  ab,ab,ab,ab,ab,ab,ab"},
    {"long name wraps early", std::string(70, 'n'), 3, {1, 2, 3},
     "\"" + std::string(70, 'n') + "\"=hex:01,\\\r\n  02,03"},
};

void PrintTo(const ValueLine& line, std::ostream* out) { *out << line.what; }

class RegTextWriterValue : public ::testing::TestWithParam<ValueLine> {};

TEST_P(RegTextWriterValue, IsWrittenAsRegeditWritesIt) {
    RegTextWriter writer;
    writer.Key("HKEY_CURRENT_USER\\K");
    writer.Value(GetParam().name, GetParam().type, GetParam().data);
    EXPECT_EQ(std::move(writer).Text(),
              "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n" + GetParam().line + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Values, RegTextWriterValue, ::testing::ValuesIn(kValueLines),
                         testing::CaseName<ValueLine>);

TEST(RegTextWriter, DeletionsAreMarked) {
    RegTextWriter writer;
    writer.Key("HKEY_LOCAL_MACHINE\\Software\\Caf\xE9", true);
    writer.Key("HKEY_LOCAL_MACHINE\\Software\\Kept");
    writer.DeletedValue("gone");
    writer.DeletedValue("");
    EXPECT_EQ(std::move(writer).Text(),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[-HKEY_LOCAL_MACHINE\\Software\\Caf\xC3\xA9]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Kept]\r\n\"gone\"=-\r\n@=-\r\n");
}

}  // namespace
}  // namespace purgent::image
