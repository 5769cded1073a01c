// The .reg reader accepts what Windows can hold and refuses the rest; what it
// accepts loads in time linear in its size.
#include <gtest/gtest.h>

#include <ctime>

#include "image/machine_image.h"
#include "image_error_of.h"
#include "platform/sim/sim_machine.h"

namespace purgent::image {
namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n";

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string Nested(const std::string& root, int levels, const std::string& name = "k") {
    std::string path = root;
    for (int level = 0; level < levels; ++level) path += "\\" + name;
    return path;
}

std::string ErrorOf(const std::string& text) {
    return ImageErrorOf([&] { ParseRegText(B(text), "test.reg"); });
}

TEST(RegTextLimits, KeysNestUpTo512LevelsBelowTheirRoot) {
    EXPECT_EQ(ErrorOf(kHeader + "[" + Nested("HKEY_LOCAL_MACHINE", 512) + "]\r\n"), "no error");
    EXPECT_EQ(ErrorOf(kHeader + "[" + Nested("HKEY_LOCAL_MACHINE", 513) + "]\r\n"),
              "test.reg:2: key nested deeper than 512 levels");
    // HKEY_CLASSES_ROOT is two levels below HKEY_LOCAL_MACHINE.
    EXPECT_EQ(ErrorOf(kHeader + "[" + Nested("HKCR", 510) + "]\r\n"), "no error");
    EXPECT_EQ(ErrorOf(kHeader + "[-" + Nested("HKCR", 511) + "]\r\n"),
              "test.reg:2: key nested deeper than 512 levels");
    EXPECT_EQ(ImageErrorOf([&] { ParseHiveText(B(kHeader + "[" + Nested("HKCU", 513) + "]\r\n"), "ntuser.dat"); }),
              "ntuser.dat:2: key nested deeper than 512 levels");
}

TEST(RegTextLimits, KeyNamesHoldUpTo255AndValueNames16383Characters) {
    EXPECT_EQ(ErrorOf(kHeader + "[" + Nested("HKU", 2, std::string(255, 'n')) + "]\r\n"), "no error");
    EXPECT_EQ(ErrorOf(kHeader + "[HKU\\a\\" + std::string(256, 'n') + "\\b]\r\n"),
              "test.reg:2: key name longer than 255 characters");
    const std::string key = "[HKU\\a]\r\n";
    EXPECT_EQ(ErrorOf(kHeader + key + "\"" + std::string(16383, 'v') + "\"=-\r\n"), "no error");
    EXPECT_EQ(ErrorOf(kHeader + key + "\"" + std::string(16384, 'v') + "\"=-\r\n"),
              "test.reg:3: value name longer than 16383 characters");
}

// Keys 512 levels deep, each name as long as allowed (1 MB of text): loading
// walks each path once. (Implied parents were once ranked anew for every key,
// a cost that grew with the cube of the depth.)
TEST(RegTextLimits, DeepestLongestKeysLoadInLinearTime) {
    std::string text = kHeader;
    std::string deepest;
    for (char branch = 'a'; branch <= 'h'; ++branch) {
        deepest = Nested(std::string(1, branch), 511, std::string(255, branch));
        text += "[HKLM\\" + deepest + "]\r\n\"v\"=dword:1\r\n";
    }
    MachineImage image;
    image.registry = ParseRegText(B(text), "test.reg");
    // Processor time, which other work on a busy machine does not add to.
    const std::clock_t start = std::clock();
    sim::SimMachine machine(image);
    EXPECT_LT(std::clock() - start, CLOCKS_PER_SEC);
    RegKey key = 0;
    EXPECT_EQ(machine.Registry().OpenKey(HkeyLocalMachine, deepest, key), 0);
}

}  // namespace
}  // namespace purgent::image
