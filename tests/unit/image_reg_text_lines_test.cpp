// Value lines are read as views of the document, joined only where a line
// goes on in the next: the values and the errors (with their line numbers)
// are those of a reading line by line.
#include <gtest/gtest.h>

#include <string>

#include "image/machine_image.h"
#include "image_error_of.h"
#include "param_name.h"

namespace purgent::image {
namespace {

struct ValueText {
    const char* what;
    std::string lines;     // below "[HKEY_CURRENT_USER\K]"
    std::string outcome;   // the first value's data as text, or the error
};

const ValueText kValueTexts[] = {
    {"escapes between runs", "\"v\"=\"a\\\\b\\\"c\\\\\"\r\n", "a\\b\"c\\"},
    {"hex over three lines", "\"v\"=hex:61,\\\r\n  62,\\\n\t63\r\n", "abc"},
    {"continued past the end", "\"v\"=hex:61,\\\n", "test.reg:4: invalid hex byte \"\\\""},
    {"continued by a blank line", "\"v\"=hex:61,\\\n\n\"w\"=\"x\"\n", "test.reg:4: invalid hex byte \"\""},
    {"comment ending in a backslash", "; a comment \\\n\"v\"=\"x\"\n", "x"},
    {"unterminated", "\"v\"=\"abc\n", "test.reg:4: unterminated string"},
    {"bad escape", "\"v\"=\"a\\b\"\n", "test.reg:4: invalid escape in string (write \\\\ for a backslash)"},
    {"error after a joined line", "\"v\"=hex:61,\\\n  62\n\"w\"=dword:xyz\n", "test.reg:6: invalid dword \"xyz\""},
    {"nine hex digits", "\"v\"=dword:000000001\n", "test.reg:4: invalid dword \"000000001\""},
};

void PrintTo(const ValueText& text, std::ostream* out) { *out << text.what; }

std::string Outcome(const std::string& lines) {
    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n" + lines;
    std::string data;
    const std::string error = ImageErrorOf([&] {
        const RegistryKeys keys = ParseRegText(Bytes(text.begin(), text.end()), "test.reg");
        const Bytes& bytes = keys.at(0).values.at(0).data;
        data.assign(bytes.begin(), bytes.end());
    });
    return error == "no error" ? data.substr(0, data.find('\0')) : error;
}

class RegTextLines : public ::testing::TestWithParam<ValueText> {};

TEST_P(RegTextLines, ReadAsLineByLine) {
    EXPECT_EQ(Outcome(GetParam().lines), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(Values, RegTextLines, ::testing::ValuesIn(kValueTexts),
                         testing::CaseName<ValueText>);

}  // namespace
}  // namespace purgent::image
