// purgent-sim on images that break the format's rules: each ends with exit
// status 65 and a message naming the file and line, and cleans nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "purgent_sim/sim_cli.h"
#include "scratch_folder.h"

namespace purgent::sim {
namespace {

const char* const kHeader = "Windows Registry Editor Version 5.00\r\n";

std::string NestedKey(int levels, const std::string& root = "HKEY_LOCAL_MACHINE") {
    std::string path = root;
    for (int level = 0; level < levels; ++level) path += "\\k";
    return "[" + path + "]\r\n";
}

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xff\xfe";
    for (char c : ascii) out += {c, '\0'};
    return out;
}

struct Case {
    const char* file;
    std::string text;
    const char* message;
};

class MalformedImage : public ::testing::Test {
protected:
    // Runs purgent-sim /sn on an image holding only that file.
    void ExpectRefused(const Case& c) {
        const std::filesystem::path image = dir_ / std::to_string(++images_);
        std::filesystem::create_directories((image / c.file).parent_path());
        std::ofstream(image / c.file, std::ios::binary) << c.text;
        std::ostringstream out, err;
        EXPECT_EQ(RunSimCli({"--machine", image.string(), "/sn"}, out, err), ExitBadImage) << c.message;
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "");
    }

    purgent::testing::ScratchFolder scratch_{"purgent-malformed"};
    const std::filesystem::path dir_ = scratch_.Path();
    int images_ = 0;
};

TEST_F(MalformedImage, KeysAndNamesBeyondWindowsLimits) {
    const std::string longValueName(16384, 'v');
    const Case cases[] = {
        {"registry.reg", kHeader + NestedKey(513), "registry.reg:2: key nested deeper than 512 levels"},
        {"registry.reg", kHeader + NestedKey(511, "HKEY_CLASSES_ROOT"),
         "registry.reg:2: key nested deeper than 512 levels"},
        {"registry.reg", kHeader + NestedKey(4000), "registry.reg:2: key nested deeper than 512 levels"},
        {"registry.reg", kHeader + std::string("\r\n[HKEY_USERS\\") + std::string(256, 'n') + "]\r\n",
         "registry.reg:3: key name longer than 255 characters"},
        {"registry.reg", kHeader + NestedKey(1) + "\"" + longValueName + "\"=dword:00000001\r\n",
         "registry.reg:3: value name longer than 16383 characters"},
        {"drive/C/Documents and Settings/ann/ntuser.dat", kHeader + NestedKey(513, "HKEY_CURRENT_USER"),
         "ntuser.dat:2: key nested deeper than 512 levels"},
    };
    for (const Case& c : cases) ExpectRefused(c);
}

TEST_F(MalformedImage, BrokenLinesInEitherEncoding) {
    const Case cases[] = {
        {"registry.reg", Utf16Le(kHeader + NestedKey(1) + "\"a\"=dword:123456789\r\n"),
         "registry.reg:3: invalid dword"},
        {"registry.reg", kHeader + NestedKey(1) + "\"a\"=hex(7):41,00,42\r\n",
         "registry.reg:3: UTF-16 string data with an odd number of bytes"},
        {"registry.reg", kHeader + NestedKey(1) + "\"a\"=hex:4\\\r\n  1,xy\r\n", "registry.reg:3: invalid hex"},
        {"registry.reg", std::string("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\a\r\n"),
         "registry.reg:3: key line without closing ']'"},
        {"machine.ini", "[machine]\r\nwindir\r\n", "machine.ini:2: expected key=value"},
        {"machine.ini", "windir=C:\\WINDOWS\r\n", "machine.ini:1: line outside any section"},
    };
    for (const Case& c : cases) ExpectRefused(c);
}

}  // namespace
}  // namespace purgent::sim
