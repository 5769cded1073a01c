// A hive loaded again from the file it was unloaded to must read exactly as
// a machine reading that file afresh sees it.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "registry_test_machine.h"
#include "param_name.h"

namespace purgent::testing {
namespace {

const char* const kHive = "C:\\Documents and Settings\\ann\\ntuser.dat";

// Every key, value, type and byte below the key, in enumeration order.
std::string Dump(RegistryService& registry, RegKey key, const std::string& path) {
    std::string out = "[" + path + "]\n";
    std::string name;
    for (std::uint32_t i = 0; registry.EnumValue(key, i, name) == winerr::Success; ++i) {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        registry.QueryValue(key, name, type, data);
        out += name + "=" + std::to_string(type) + ":";
        for (std::uint8_t byte : data) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x ", byte);
            out += hex;
        }
        out += "\n";
    }
    for (std::uint32_t i = 0; registry.EnumKey(key, i, name) == winerr::Success; ++i) {
        RegKey sub = 0;
        if (registry.OpenKey(key, name, sub) != winerr::Success) return out + "unopened " + name + "\n";
        out += Dump(registry, sub, path + "\\" + name);
        registry.CloseKey(sub);
    }
    return out;
}

long Mount(sim::SimMachine& machine, const std::string& name = "tempkey") {
    RegistryService& registry = machine.GetPlatform().registry;
    registry.EnableRestorePrivilege();
    return registry.LoadKey(HkeyUsers, name, kHive);
}

std::string MountedDump(sim::SimMachine& machine, const std::string& name = "tempkey") {
    RegistryService& registry = machine.GetPlatform().registry;
    RegKey key = 0;
    if (registry.OpenKey(HkeyUsers, name, key) != winerr::Success) return "<not mounted>";
    const std::string dump = Dump(registry, key, name);
    registry.CloseKey(key);
    return dump;
}

// The hive as a new machine reads it from the file the machine holds now.
std::string FreshDump(const sim::SimMachine& machine) {
    sim::SimMachine fresh(machine.SaveImage());
    if (Mount(fresh) != winerr::Success) return "<unreadable>";
    return MountedDump(fresh);
}

using Change = std::function<void(RegistryService&)>;

void Set(RegistryService& registry, const std::string& path, const std::string& name, std::uint32_t type,
         const std::vector<std::uint8_t>& data) {
    RegKey key = 0;
    ASSERT_EQ(registry.OpenKey(HkeyUsers, "tempkey\\" + path, key), winerr::Success) << path;
    ASSERT_EQ(registry.SetValue(key, name, type, data), winerr::Success);
    registry.CloseKey(key);
}

const Change kNothing = [](RegistryService&) {};
const Change kSetValue = [](RegistryService& r) { Set(r, "Software\\Other", "New", RegSz, {'y', 0}); };
const Change kOddValues = [](RegistryService& r) {
    Set(r, "Software\\Other", "Lines", RegSz, {'a', '\r', '\n', 'b', 0});
    Set(r, "Software\\Other", "Unended", RegExpandSz, {'%', 'x', '%'});
    Set(r, "Software\\Other", "Short", RegDword, {1, 2});
    Set(r, "Software\\Other", "Caf\xE9 \x9A", 0x4242, {});
    Set(r, "Software\\Other", "", RegBinary, {0, 0xFF, 0x80});
};
const Change kDeleteValue = [](RegistryService& r) {
    RegKey key = 0;
    ASSERT_EQ(r.OpenKey(HkeyUsers, "tempkey\\Software\\Novell\\GroupWise", key), winerr::Success);
    ASSERT_EQ(r.DeleteValue(key, "User"), winerr::Success);
    r.CloseKey(key);
};
const Change kDeleteKey = [](RegistryService& r) {
    ASSERT_EQ(r.DeleteKey(HkeyUsers, "tempkey\\Software\\Novell\\GroupWise\\Deep"), winerr::Success);
};

struct Passes {
    const char* what;
    std::vector<Change> changes;  // one pass over the hive each
};

const Passes kPasses[] = {
    {"untouched", {kNothing, kNothing, kNothing}},
    {"changed first", {kDeleteValue, kNothing, kNothing}},
    {"changed later", {kNothing, kNothing, kDeleteKey}},
    {"changed each time", {kSetValue, kDeleteKey, kDeleteValue}},
    {"values without a quoted form", {kOddValues, kNothing, kSetValue}},
};

void PrintTo(const Passes& passes, std::ostream* out) { *out << passes.what; }

class SimHiveRemount : public ::testing::TestWithParam<Passes> {};

TEST_P(SimHiveRemount, EachPassReadsWhatTheFileHolds) {
    RegistryTestMachine test("", {HiveFile("ann",
                                           "[HKEY_CURRENT_USER]\n@=\"root\"\n"
                                           "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n\"User\"=\"ann\"\n"
                                           "\"Caf\xC3\xA9\"=hex(2):25,00,78,00\n"
                                           "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise\\Deep]\n"
                                           "[HKEY_CURRENT_USER\\Software\\Other]\n\"n\"=dword:00000007\n")});
    sim::SimMachine& machine = test.machine;
    for (const Change& change : GetParam().changes) {
        ASSERT_EQ(Mount(machine), winerr::Success);
        ASSERT_EQ(MountedDump(machine), FreshDump(machine)) << "as loaded";
        change(machine.GetPlatform().registry);
        const std::string changed = MountedDump(machine);
        ASSERT_EQ(machine.GetPlatform().registry.UnLoadKey(HkeyUsers, "tempkey"), winerr::Success);
        EXPECT_EQ(FreshDump(machine), changed) << "as written";
    }
    ASSERT_EQ(Mount(machine), winerr::Success);
    EXPECT_EQ(MountedDump(machine), FreshDump(machine));
}

INSTANTIATE_TEST_SUITE_P(Passes, SimHiveRemount, ::testing::ValuesIn(kPasses),
                         testing::CaseName<Passes>);

struct HiveRemountTest : ::testing::Test {
    RegistryTestMachine test{"", {HiveFile("ann", "[HKEY_CURRENT_USER\\Software\\Old]\n")}};
    sim::SimMachine& machine = test.machine;
    RegistryService& registry = machine.GetPlatform().registry;

    void LoadAndUnload() {
        ASSERT_EQ(Mount(machine), winerr::Success);
        ASSERT_EQ(registry.UnLoadKey(HkeyUsers, "tempkey"), winerr::Success);
    }
};

TEST_F(HiveRemountTest, AFileWrittenWhileUnloadedIsReadAgain) {
    LoadAndUnload();
    ASSERT_TRUE(machine.Drive().WriteFile(kHive, "Windows Registry Editor Version 5.00\n\n"
                                                 "[HKEY_CURRENT_USER\\Software\\New]\n"));
    ASSERT_EQ(Mount(machine), winerr::Success);
    EXPECT_EQ(MountedDump(machine), "[tempkey]\n[tempkey\\Software]\n[tempkey\\Software\\New]\n");
}

TEST_F(HiveRemountTest, AFileWrittenWhileLoadedIsOverwrittenOnUnload) {
    LoadAndUnload();
    ASSERT_EQ(Mount(machine), winerr::Success);
    ASSERT_TRUE(machine.Drive().WriteFile(kHive, "no hive"));
    ASSERT_EQ(registry.UnLoadKey(HkeyUsers, "tempkey"), winerr::Success);
    EXPECT_EQ(FreshDump(machine), "[tempkey]\n[tempkey\\Software]\n[tempkey\\Software\\Old]\n");
}

TEST_F(HiveRemountTest, AnotherNameOrADeletedFileIsHonoured) {
    LoadAndUnload();
    ASSERT_EQ(Mount(machine, "Other"), winerr::Success);
    EXPECT_EQ(MountedDump(machine, "Other"), "[Other]\n[Other\\Software]\n[Other\\Software\\Old]\n");
    EXPECT_EQ(MountedDump(machine), "<not mounted>");
    ASSERT_EQ(registry.UnLoadKey(HkeyUsers, "Other"), winerr::Success);

    ASSERT_EQ(machine.Drive().DeleteFile(kHive), winerr::Success);
    EXPECT_EQ(Mount(machine), winerr::FileNotFound);
}

}  // namespace
}  // namespace purgent::testing
