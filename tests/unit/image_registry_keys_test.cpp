#include <gtest/gtest.h>

#include "image/machine_image.h"

namespace purgent::image {
namespace {

RegistryKeys Parse(const std::string& body) {
    const std::string text = "Windows Registry Editor Version 5.00\n\n" + body;
    return ParseRegText(Bytes(text.begin(), text.end()), "test.reg");
}

std::vector<std::string> Paths(const RegistryKeys& keys) {
    std::vector<std::string> paths;
    for (const RegistryKey& key : keys) paths.push_back(key.path);
    return paths;
}

std::vector<std::string> ValueNames(const RegistryKey& key) {
    std::vector<std::string> names;
    for (const RegistryValue& value : key.values) names.push_back(value.name);
    return names;
}

TEST(NetRegistry, AddsParentsAppliesDeletionsParentsBeforeChildren) {
    const RegistryKeys net = NetRegistry(Parse(
        "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\\5.0]\n"
        "[HKEY_CURRENT_USER\\Software\\Novell]\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Adobe]\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Novell\\Messenger]\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWiseX]\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\novell\\GroupWise]\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\\New]\n"));
    // Deleting GroupWise spares its sibling GroupWiseX; a key created again
    // comes after its older siblings.
    EXPECT_EQ(Paths(net), (std::vector<std::string>{
                              "HKEY_LOCAL_MACHINE\\Software",
                              "HKEY_LOCAL_MACHINE\\Software\\Novell",
                              "HKEY_LOCAL_MACHINE\\Software\\Novell\\Messenger",
                              "HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWiseX",
                              "HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise",
                              "HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\\New",
                              "HKEY_LOCAL_MACHINE\\Software\\Adobe",
                              "HKEY_CURRENT_USER\\Software",
                              "HKEY_CURRENT_USER\\Software\\Novell",
                          }));
}

TEST(NetRegistry, RepeatedKeysMergeValuesCaseInsensitively) {
    const RegistryKeys net = NetRegistry(Parse(
        "[HKEY_LOCAL_MACHINE\\Software\\A]\n\"one\"=\"1\"\n\"two\"=\"2\"\n@=\"d\"\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\a]\n\"ONE\"=dword:00000001\n\"two\"=-\n\"three\"=\"3\"\n@=-\n"));
    const RegistryKey* key = FindKey(net, "hkey_local_machine\\software\\a");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->path, "HKEY_LOCAL_MACHINE\\Software\\A");   // first spelling kept
    EXPECT_EQ(ValueNames(*key), (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(FindValue(*key, "One")->type, 4u);
    EXPECT_EQ(FindValue(*key, "two"), nullptr);
    EXPECT_EQ(FindKey(net, "HKEY_LOCAL_MACHINE\\Software\\B"), nullptr);
}

TEST(SameRegistry, IgnoresOrderAndCaseButNotData) {
    const RegistryKeys a = Parse("[HKEY_LOCAL_MACHINE\\S\\X]\n\"v\"=\"1\"\n\"w\"=\"2\"\n[HKEY_LOCAL_MACHINE\\S\\Y]\n");
    EXPECT_TRUE(SameRegistry(a, Parse("[hkey_local_machine\\s\\y]\n[HKEY_LOCAL_MACHINE\\S\\X]\n\"W\"=\"2\"\n\"v\"=\"1\"\n")));
    EXPECT_TRUE(SameRegistry(a, Parse("[HKEY_LOCAL_MACHINE\\S\\X]\n\"v\"=\"1\"\n\"w\"=\"2\"\n\"z\"=\"3\"\n"
                                      "[HKEY_LOCAL_MACHINE\\S\\Y]\n[HKEY_LOCAL_MACHINE\\S\\X]\n\"z\"=-\n")));
    EXPECT_FALSE(SameRegistry(a, Parse("[HKEY_LOCAL_MACHINE\\S\\X]\n\"v\"=\"1\"\n\"w\"=\"3\"\n[HKEY_LOCAL_MACHINE\\S\\Y]\n")));
    EXPECT_FALSE(SameRegistry(a, Parse("[HKEY_LOCAL_MACHINE\\S\\X]\n\"v\"=\"1\"\n\"w\"=hex(1):32,00,00,00\n"
                                       "[HKEY_LOCAL_MACHINE\\S\\Y]\n\"w\"=\"2\"\n")));
    EXPECT_FALSE(SameRegistry(a, Parse("[HKEY_LOCAL_MACHINE\\S\\X]\n\"v\"=\"1\"\n\"w\"=\"2\"\n")));
    EXPECT_FALSE(SameRegistry(a, Parse("[HKEY_LOCAL_MACHINE\\S\\X]\n\"v\"=\"1\"\n\"w\"=\"2\"\n[HKEY_LOCAL_MACHINE\\S\\Y\\Z]\n")));
}

}  // namespace
}  // namespace purgent::image
