#include <gtest/gtest.h>

#include "image/machine_image.h"
#include "image_error_of.h"

namespace purgent::image {
namespace {

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

RegistryKeys Parse(const std::string& text) { return ParseRegText(B(text), "test.reg"); }

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

std::string ErrorOf(const std::string& text) {
    return ImageErrorOf([&] { Parse(text); });
}

TEST(RegTextParse, StringsKeepEscapesAndTerminatingNul) {
    const RegistryKeys keys = Parse(kHeader +
                                    "[HKEY_LOCAL_MACHINE\\Software\\Novell]\r\n"
                                    "\"Path\"=\"C:\\\\Novell\\\\GroupWise\\\\\"\r\n"
                                    "\"Say \\\"hi\\\"\"=\"a \\\"b\\\"\"\r\n"
                                    "@=\"default\"\r\n");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].path, "HKEY_LOCAL_MACHINE\\Software\\Novell");
    ASSERT_EQ(keys[0].values.size(), 3u);
    EXPECT_EQ(keys[0].values[0].name, "Path");
    EXPECT_EQ(keys[0].values[0].type, 1u);
    EXPECT_EQ(keys[0].values[0].data, B(std::string("C:\\Novell\\GroupWise\\") + '\0'));
    EXPECT_EQ(keys[0].values[1].name, "Say \"hi\"");
    EXPECT_EQ(keys[0].values[1].data, B(std::string("a \"b\"") + '\0'));
    EXPECT_EQ(keys[0].values[2].name, "");
}

TEST(RegTextParse, NumbersBinaryAndGenericHexTypes) {
    const RegistryKeys keys = Parse(kHeader +
                                    "[HKEY_CURRENT_USER\\X]\n"
                                    "\"d\"=dword:0000012a\n"
                                    "\"b\"=hex:01,ff,  0a\n"
                                    "\"q\"=hex(b):01,00,00,00,00,00,00,00\n"
                                    "\"n\"=hex(0):\n");
    const auto& values = keys.at(0).values;
    EXPECT_EQ(values[0].type, 4u);
    EXPECT_EQ(values[0].data, (Bytes{0x2a, 0x01, 0, 0}));
    EXPECT_EQ(values[1].type, 3u);
    EXPECT_EQ(values[1].data, (Bytes{0x01, 0xff, 0x0a}));
    EXPECT_EQ(values[2].type, 11u);
    EXPECT_EQ(values[2].data.size(), 8u);
    EXPECT_EQ(values[3].type, 0u);
    EXPECT_TRUE(values[3].data.empty());
}

TEST(RegTextParse, ExpandAndMultiStringsAreUtf16ConvertedToAnsi) {
    // "%SystemRoot%" and the list "a","é" as regedit writes them.
    const RegistryKeys keys = Parse(kHeader +
                                    "[HKEY_LOCAL_MACHINE\\X]\n"
                                    "\"e\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,\\\n"
                                    "  00,74,00,25,00,00,00\n"
                                    "\"m\"=hex(7):61,00,00,00,e9,00,00,00,00,00\n");
    const auto& values = keys.at(0).values;
    EXPECT_EQ(values[0].type, 2u);
    EXPECT_EQ(values[0].data, B(std::string("%SystemRoot%") + '\0'));
    EXPECT_EQ(values[1].type, 7u);
    EXPECT_EQ(values[1].data, (Bytes{'a', 0, 0xE9, 0, 0}));
}

TEST(RegTextParse, Regedit4HexStringsAreAnsiAlready) {
    const RegistryKeys keys = Parse("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\X]\n\"e\"=hex(2):41,42,00\n");
    EXPECT_EQ(keys.at(0).values.at(0).data, (Bytes{'A', 'B', 0}));
}

TEST(RegTextParse, ClassesRootAndShortRootsAreStoredUnderTheirLongNames) {
    const RegistryKeys keys = Parse(kHeader +
                                    "[HKEY_CLASSES_ROOT\\GroupWise.Message]\n"
                                    "[hkcr]\n"
                                    "[HKLM\\Software\\A\\]\n"
                                    "[-HKU\\.DEFAULT\\B]\n");
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].path, "HKEY_LOCAL_MACHINE\\Software\\Classes\\GroupWise.Message");
    EXPECT_EQ(keys[1].path, "HKEY_LOCAL_MACHINE\\Software\\Classes");
    EXPECT_EQ(keys[2].path, "HKEY_LOCAL_MACHINE\\Software\\A");
    EXPECT_EQ(keys[3].path, "HKEY_USERS\\.DEFAULT\\B");
    EXPECT_TRUE(keys[3].deleted);
}

TEST(RegTextParse, DeletionsCommentsAndBlankLines) {
    const RegistryKeys keys = Parse("\r\n; exported\r\n" + kHeader +
                                    "[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n\r\n"
                                    "[HKEY_LOCAL_MACHINE\\Software\\Keep]\r\n"
                                    "; comment\r\n"
                                    "\"gone\"=-\r\n"
                                    "@=-\r\n");
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_TRUE(keys[0].deleted);
    EXPECT_FALSE(keys[1].deleted);
    ASSERT_EQ(keys[1].values.size(), 2u);
    EXPECT_TRUE(keys[1].values[0].deleted);
    EXPECT_TRUE(keys[1].values[1].deleted);
    EXPECT_EQ(keys[1].values[1].name, "");
}

TEST(RegTextParse, Utf8AndUtf16InputGiveAnsiNamesAndData) {
    const std::string utf8 = kHeader + "[HKEY_CURRENT_USER\\Caf\xC3\xA9]\n\"\xE2\x82\xAC\"=\"na\xC3\xAFve\"\n";
    Bytes utf16 = {0xFF, 0xFE};
    // The same text in UTF-16LE ('é' U+00E9, '€' U+20AC, 'ï' U+00EF).
    const std::u16string wide = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_CURRENT_USER\\Caf\u00e9]\n\"\u20ac\"=\"na\u00efve\"\n";
    for (char16_t unit : wide) {
        utf16.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        utf16.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    for (const Bytes& input : {B(utf8), B("\xEF\xBB\xBF" + utf8), utf16}) {
        const RegistryKeys keys = ParseRegText(input, "test.reg");
        ASSERT_EQ(keys.size(), 1u);
        EXPECT_EQ(keys[0].path, "HKEY_CURRENT_USER\\Caf\xE9");
        EXPECT_EQ(keys[0].values.at(0).name, "\x80");
        EXPECT_EQ(keys[0].values.at(0).data, B(std::string("na\xEFve") + '\0'));
    }
}

TEST(RegTextParse, MalformedInputNamesFileAndLine) {
    EXPECT_EQ(ErrorOf("[HKEY_LOCAL_MACHINE\\X]\n"),
              "test.reg:1: expected \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
    EXPECT_EQ(ErrorOf(""), "test.reg: missing \"Windows Registry Editor Version 5.00\" header");
    EXPECT_EQ(ErrorOf(kHeader + "\"v\"=\"x\"\n"), "test.reg:3: value outside any key");
    EXPECT_EQ(ErrorOf(kHeader + "[HKEY_LOCAL_MACHINE\\X\n"), "test.reg:3: key line without closing ']'");
    EXPECT_EQ(ErrorOf(kHeader + "[HKEY_NOWHERE\\X]\n"), "test.reg:3: unknown root key \"HKEY_NOWHERE\"");
    EXPECT_EQ(ErrorOf(kHeader + "[-HKEY_LOCAL_MACHINE]\n"), "test.reg:3: a root key cannot be deleted");
    const std::string key = kHeader + "[HKEY_LOCAL_MACHINE\\X]\n";
    EXPECT_EQ(ErrorOf(key + "\"p\"=\"C:\\WINDOWS\"\n"),
              "test.reg:4: invalid escape in string (write \\\\ for a backslash)");
    EXPECT_EQ(ErrorOf(key + "\"p\"=\"open\n"), "test.reg:4: unterminated string");
    EXPECT_EQ(ErrorOf(key + "\"p\"=\"a\" x\n"), "test.reg:4: unexpected text after the string");
    EXPECT_EQ(ErrorOf(key + "\"d\"=dword:123456789\n"), "test.reg:4: invalid dword \"123456789\"");
    EXPECT_EQ(ErrorOf(key + "\"d\"=dword:-1\n"), "test.reg:4: invalid dword \"-1\"");
    EXPECT_EQ(ErrorOf(key + "\"b\"=hex:0g\n"), "test.reg:4: invalid hex byte \"0g\"");
    EXPECT_EQ(ErrorOf(key + "\"b\"=hex:01,\n"), "test.reg:4: invalid hex byte \"\"");
    EXPECT_EQ(ErrorOf(key + "\"s\"=hex(2):41\n"), "test.reg:4: UTF-16 string data with an odd number of bytes");
    EXPECT_EQ(ErrorOf(key + "\"s\"=text\n"), "test.reg:4: unknown value data \"text\"");
    EXPECT_EQ(ErrorOf(key + "name=\"x\"\n"), "test.reg:4: expected \"name\"= or @=");
    // A continued line is reported by its first line.
    EXPECT_EQ(ErrorOf(key + "\"b\"=hex:01,\\\n  zz\n\"ok\"=\"x\"\n"), "test.reg:4: invalid hex byte \"zz\"");
    EXPECT_EQ(ErrorOf(key + "\"b\"=hex:01,\\\n  02\n\"c\"\n"), "test.reg:6: expected '=' after the value name");
    EXPECT_EQ(ErrorOf(kHeader + "[-HKEY_LOCAL_MACHINE\\X]\n\"v\"=\"x\"\n"), "test.reg:4: value under a deleted key");
}

TEST(RegTextParse, HiveTextMustStayUnderTheCurrentUser) {
    const std::string hive = kHeader + "[HKEY_CURRENT_USER\\Software\\Novell]\n";
    EXPECT_EQ(ParseHiveText(B(hive), "ntuser.dat").size(), 1u);
    EXPECT_EQ(ImageErrorOf([&] { ParseHiveText(B(hive + "[HKEY_LOCAL_MACHINE\\Software]\n"), "ntuser.dat"); }),
              "ntuser.dat:4: key \"HKEY_LOCAL_MACHINE\\Software\" is not under HKEY_CURRENT_USER");
}

TEST(RegTextWrite, RoundTripKeepsEveryValueExactly) {
    RegistryKeys keys(3);
    keys[0].path = "HKEY_LOCAL_MACHINE\\Software\\Caf\xE9 \"x\"";
    keys[0].values = {
        {"", 1, B(std::string("C:\\Program Files\\") + '\0'), false},
        {"q\"uote\\", 1, B(std::string("\x80 euro") + '\0'), false},
        {"embedded", 1, B(std::string("a\0b\0", 4)), false},   // not "..." material
        {"unterminated", 1, B("abc"), false},
        {"lines", 1, B(std::string("a\r\nb") + '\0'), false},
        {"d", 4, Bytes{0x78, 0x56, 0x34, 0x12}, false},
        {"short dword", 4, Bytes{1, 2}, false},
        {"bin", 3, Bytes(100, 0xAB), false},
        {"exp", 2, B(std::string("%windir%\\x") + '\0'), false},
        {"multi", 7, Bytes{'a', 0, 0xE9, 0, 0}, false},
        {"qword", 11, Bytes{1, 2, 3, 4, 5, 6, 7, 8}, false},
        {"gone", 1, {}, true},
    };
    keys[1].path = "HKEY_USERS\\S-1-5-21\\Old";
    keys[1].deleted = true;
    keys[2].path = "HKEY_CURRENT_USER\\Empty";

    const std::string text = WriteRegText(keys);
    const RegistryKeys back = ParseRegText(Bytes(text.begin(), text.end()), "written.reg");
    ASSERT_EQ(back.size(), keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        EXPECT_EQ(back[k].path, keys[k].path);
        EXPECT_EQ(back[k].deleted, keys[k].deleted);
        ASSERT_EQ(back[k].values.size(), keys[k].values.size());
        for (std::size_t v = 0; v < keys[k].values.size(); ++v) {
            SCOPED_TRACE(keys[k].values[v].name);
            EXPECT_EQ(back[k].values[v].name, keys[k].values[v].name);
            EXPECT_EQ(back[k].values[v].type, keys[k].values[v].type);
            EXPECT_EQ(back[k].values[v].data, keys[k].values[v].data);
            EXPECT_EQ(back[k].values[v].deleted, keys[k].values[v].deleted);
        }
    }
    EXPECT_EQ(WriteRegText(back), text);
}

TEST(RegTextWrite, LooksLikeARegeditExport) {
    RegistryKeys keys(1);
    keys[0].path = "HKEY_LOCAL_MACHINE\\Software\\Caf\xE9";
    keys[0].values = {{"Path", 1, B(std::string("C:\\A") + '\0'), false},
                      {"", 4, Bytes{1, 0, 0, 0}, false},
                      {"Bin", 3, Bytes(30, 0x11), false}};
    EXPECT_EQ(WriteRegText(keys),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Caf\xC3\xA9]\r\n"
              "\"Path\"=\"C:\\\\A\"\r\n"
              "@=dword:00000001\r\n"
              "\"Bin\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\r\n"
              "  11,11,11,11,11,11,11\r\n");   // lines of at most 80 characters
}

}  // namespace
}  // namespace purgent::image
