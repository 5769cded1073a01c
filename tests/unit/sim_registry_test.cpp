#include <gtest/gtest.h>

#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

std::vector<std::uint8_t> Sz(const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

// The registry service of a machine, with shorthands for the calls the tests repeat.
struct SimRegistryTest : ::testing::Test {
    void Build(const std::string& regText, const std::vector<image::DriveItems>& hives = {},
               const std::string& deniedKey = "", bool restorePrivilege = true) {
        image::MachineImage image = ImageOf(regText, hives);
        if (!deniedKey.empty()) image.machine.denied.push_back(deniedKey);
        image.machine.machine.restorePrivilege = restorePrivilege;
        machine = std::make_unique<RegistryTestMachine>(std::move(image));
    }
    RegistryService& Registry() { return machine->machine.GetPlatform().registry; }
    RegKey Open(RegKey base, const std::string& path) {
        RegKey key = 0;
        EXPECT_EQ(Registry().OpenKey(base, path, key), winerr::Success) << path;
        return key;
    }
    long OpenResult(RegKey base, const std::string& path) {
        RegKey key = 0;
        const long result = Registry().OpenKey(base, path, key);
        if (result == winerr::Success) Registry().CloseKey(key);
        return result;
    }
    std::vector<std::string> SubkeyNames(RegKey key) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; Registry().EnumKey(key, i, name) == winerr::Success; ++i) names.push_back(name);
        return names;
    }
    std::vector<std::string> ValueNames(RegKey key) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; Registry().EnumValue(key, i, name) == winerr::Success; ++i) names.push_back(name);
        return names;
    }
    std::string StringData(RegKey key, const std::string& name) {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        if (Registry().QueryValue(key, name, type, data) != winerr::Success) return "<absent>";
        return std::string(data.begin(), std::find(data.begin(), data.end(), 0));
    }
    std::vector<std::string> Events(const std::string& name) { return machine->TraceEvents(name); }

    std::unique_ptr<RegistryTestMachine> machine;
};

TEST_F(SimRegistryTest, NamesMatchInAnyCaseAndKeepTheirStoredSpelling) {
    Build("[HKEY_LOCAL_MACHINE\\Software\\MyApp]\n\"InstallPath\"=\"C:\\\\App\"\n");
    const RegKey key = Open(HkeyLocalMachine, "SOFTWARE\\myapp");
    EXPECT_EQ(StringData(key, "INSTALLPATH"), "C:\\App");
    EXPECT_EQ(ValueNames(key), std::vector<std::string>{"InstallPath"});
    EXPECT_EQ(SubkeyNames(Open(HkeyLocalMachine, "software")), std::vector<std::string>{"MyApp"} );
}

TEST_F(SimRegistryTest, SubkeysEnumerateByUpperCaseNameValuesInWrittenOrder) {
    Build("[HKEY_CURRENT_USER\\K\\zeta]\n[HKEY_CURRENT_USER\\K\\_under]\n[HKEY_CURRENT_USER\\K\\Alpha]\n"
          "[HKEY_CURRENT_USER\\K\\beta]\n"
          "[HKEY_CURRENT_USER\\K]\n\"b\"=\"1\"\n\"A\"=\"2\"\n");
    const RegKey key = Open(HkeyCurrentUser, "K");
    // Upper-cased, "_" sorts after the letters.
    EXPECT_EQ(SubkeyNames(key), (std::vector<std::string>{"Alpha", "beta", "zeta", "_under"}));

    ASSERT_EQ(Registry().SetValue(key, "c", RegSz, Sz("3")), winerr::Success);
    ASSERT_EQ(Registry().SetValue(key, "B", RegSz, Sz("changed")), winerr::Success);
    EXPECT_EQ(ValueNames(key), (std::vector<std::string>{"b", "A", "c"}));
    EXPECT_EQ(StringData(key, "b"), "changed");

    std::string name;
    EXPECT_EQ(Registry().EnumKey(key, 4, name), winerr::NoMoreItems);
    EXPECT_EQ(Registry().EnumValue(key, 3, name), winerr::NoMoreItems);
    std::uint32_t subKeys = 0, longest = 0, values = 0;
    ASSERT_EQ(Registry().QueryInfoKey(key, subKeys, longest, values), winerr::Success);
    EXPECT_EQ(subKeys, 4u);
    EXPECT_EQ(longest, 6u);
    EXPECT_EQ(values, 3u);
}

TEST_F(SimRegistryTest, ValuesKeepTheirTypesAndTheEmptyNameIsTheDefault) {
    Build("[HKEY_CURRENT_USER\\K]\n@=\"default\"\n\"n\"=dword:0000002a\n\"e\"=hex(2):25,00,41,00,25,00,00,00\n");
    const RegKey key = Open(HkeyCurrentUser, "K");
    EXPECT_EQ(StringData(key, ""), "default");
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    ASSERT_EQ(Registry().QueryValue(key, "n", type, data), winerr::Success);
    EXPECT_EQ(type, RegDword);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{42, 0, 0, 0}));
    ASSERT_EQ(Registry().QueryValue(key, "e", type, data), winerr::Success);
    EXPECT_EQ(type, RegExpandSz);
    EXPECT_EQ(StringData(key, "e"), "%A%");
    EXPECT_EQ(Registry().QueryValue(key, "missing", type, data), winerr::FileNotFound);
}

TEST_F(SimRegistryTest, MissingKeysAndBadPathsDoNotOpen) {
    Build("[HKEY_CURRENT_USER\\A\\B]\n");
    EXPECT_EQ(OpenResult(HkeyCurrentUser, "A\\C"), winerr::FileNotFound);
    EXPECT_EQ(OpenResult(HkeyCurrentUser, "A\\\\B"), winerr::FileNotFound);
    EXPECT_EQ(OpenResult(HkeyCurrentUser, "\\A"), winerr::FileNotFound);
    EXPECT_EQ(OpenResult(HkeyLocalMachine, "A"), winerr::FileNotFound);
    EXPECT_EQ(OpenResult(0x1234, "A"), winerr::InvalidHandle);
    // Relative to an open key.
    EXPECT_EQ(OpenResult(Open(HkeyCurrentUser, "A"), "b"), winerr::Success);
}

TEST_F(SimRegistryTest, DeniedKeysExistButDoNotOpenAndStay) {
    Build("[HKEY_LOCAL_MACHINE\\Software\\Locked\\Inner]\n", {}, "HKEY_LOCAL_MACHINE\\Software\\Locked\\Inner");
    EXPECT_EQ(OpenResult(HkeyLocalMachine, "Software\\Locked\\Inner"), winerr::AccessDenied);
    EXPECT_EQ(SubkeyNames(Open(HkeyLocalMachine, "Software\\Locked")), std::vector<std::string>{"Inner"});
    EXPECT_EQ(Registry().DeleteKey(HkeyLocalMachine, "Software\\Locked\\Inner"), winerr::AccessDenied);
    EXPECT_TRUE(Events("reg-delete-key").empty());
}

TEST_F(SimRegistryTest, ClassesRootIsTheMachineClassesKey) {
    Build("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.gw]\n@=\"GroupWise\"\n"
          "[HKEY_CLASSES_ROOT\\GroupWise]\n");
    EXPECT_EQ(StringData(Open(HkeyClassesRoot, ".GW"), ""), "GroupWise");
    EXPECT_EQ(OpenResult(HkeyLocalMachine, "Software\\Classes\\GroupWise"), winerr::Success);

    ASSERT_EQ(Registry().DeleteKey(HkeyClassesRoot, ".gw"), winerr::Success);
    EXPECT_EQ(OpenResult(HkeyLocalMachine, "Software\\Classes\\.gw"), winerr::FileNotFound);
    EXPECT_EQ(Events("reg-delete-key"), std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.gw"});
}

TEST_F(SimRegistryTest, OnlyKeysWithoutSubkeysAreDeletedAndOnlyRealDeletionsTraced) {
    Build("[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise\\Client]\n");
    EXPECT_EQ(Registry().DeleteKey(HkeyCurrentUser, "Software\\Novell\\GroupWise"), winerr::AccessDenied);
    EXPECT_EQ(Registry().DeleteKey(HkeyCurrentUser, "Software\\Novell\\Missing"), winerr::FileNotFound);
    EXPECT_EQ(Registry().DeleteKey(HkeyCurrentUser, ""), winerr::AccessDenied);
    EXPECT_TRUE(Events("reg-delete-key").empty());

    ASSERT_EQ(Registry().DeleteKey(Open(HkeyCurrentUser, "Software\\Novell"), "groupwise\\client"), winerr::Success);
    ASSERT_EQ(Registry().DeleteKey(HkeyCurrentUser, "Software\\Novell\\GroupWise"), winerr::Success);
    EXPECT_EQ(Events("reg-delete-key"),
              (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Novell\\GroupWise\\Client",
                                        "HKEY_CURRENT_USER\\Software\\Novell\\GroupWise"}));
    EXPECT_FALSE(machine->HasKey("HKEY_CURRENT_USER\\Software\\Novell\\GroupWise"));
    EXPECT_TRUE(machine->HasKey("HKEY_CURRENT_USER\\Software\\Novell"));
}

TEST_F(SimRegistryTest, HandleOfADeletedKeyStaysValidButEveryOperationFails) {
    Build("[HKEY_CURRENT_USER\\Gone]\n\"v\"=\"1\"\n");
    const RegKey key = Open(HkeyCurrentUser, "Gone");
    ASSERT_EQ(Registry().DeleteKey(HkeyCurrentUser, "Gone"), winerr::Success);
    std::uint32_t type = 0, count = 0;
    std::vector<std::uint8_t> data;
    std::string name;
    EXPECT_EQ(Registry().QueryValue(key, "v", type, data), winerr::KeyDeleted);
    EXPECT_EQ(Registry().SetValue(key, "v", RegSz, Sz("2")), winerr::KeyDeleted);
    EXPECT_EQ(Registry().DeleteValue(key, "v"), winerr::KeyDeleted);
    EXPECT_EQ(Registry().EnumKey(key, 0, name), winerr::KeyDeleted);
    EXPECT_EQ(Registry().QueryInfoKey(key, count, count, count), winerr::KeyDeleted);
    EXPECT_EQ(Registry().CloseKey(key), winerr::Success);
    EXPECT_EQ(Registry().CloseKey(key), winerr::InvalidHandle);
    EXPECT_TRUE(Events("reg-set-value").empty());
}

TEST_F(SimRegistryTest, ValueChangesAreTracedWithTheFullKeyPath) {
    Build("[HKEY_LOCAL_MACHINE\\Software\\X]\n\"Old\"=\"1\"\n");
    const RegKey key = Open(HkeyLocalMachine, "software\\x");
    ASSERT_EQ(Registry().SetValue(key, "", RegSz, Sz("line1\nline2")), winerr::Success);
    ASSERT_EQ(Registry().SetValue(key, "Count", RegDword, {7, 1, 0, 0}), winerr::Success);
    ASSERT_EQ(Registry().DeleteValue(key, "old"), winerr::Success);
    EXPECT_EQ(Registry().DeleteValue(key, "old"), winerr::FileNotFound);
    EXPECT_EQ(Events("reg-set-value"),
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\X\t\tline1\\nline2",
                                        "HKEY_LOCAL_MACHINE\\Software\\X\tCount\t263"}));
    EXPECT_EQ(Events("reg-delete-value"), std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\X\told"});
    EXPECT_EQ(machine->StringValue("HKEY_LOCAL_MACHINE\\Software\\X", ""), "line1\nline2");
}

const char* const AnnHive = "C:\\Documents and Settings\\ann\\ntuser.dat";

std::vector<image::DriveItems> AnnsHive() {
    return {HiveFile("ann", "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n\"User\"=\"ann\"\n"
                            "[HKEY_CURRENT_USER\\Software\\Other]\n")};
}

TEST_F(SimRegistryTest, LoadKeyMountsAHiveFileUnderUsers) {
    Build("", AnnsHive());
    ASSERT_TRUE(Registry().EnableRestorePrivilege());
    ASSERT_EQ(Registry().LoadKey(HkeyUsers, "tempkey", AnnHive), winerr::Success);
    EXPECT_EQ(StringData(Open(HkeyUsers, "TEMPKEY\\Software\\Novell\\GroupWise"), "User"), "ann");
    EXPECT_EQ(Events("hive-load"), std::vector<std::string>{std::string("tempkey\t") + AnnHive});

    // The name is taken, and the file is in use.
    EXPECT_NE(Registry().LoadKey(HkeyUsers, "tempkey", AnnHive), winerr::Success);
    EXPECT_EQ(Registry().LoadKey(HkeyUsers, "other", AnnHive), winerr::SharingViolation);
    EXPECT_EQ(Events("hive-load").size(), 1u);
}

TEST_F(SimRegistryTest, LoadKeyFailsForMissingOrUnreadableFiles) {
    std::vector<image::DriveItems> files = AnnsHive();
    files.push_back({{"C:\\broken.dat", false, TextBytes("this is no registry file")}});
    Build("", files);
    ASSERT_TRUE(Registry().EnableRestorePrivilege());
    EXPECT_EQ(Registry().LoadKey(HkeyUsers, "tempkey", "C:\\Documents and Settings\\bob\\ntuser.dat"),
              winerr::FileNotFound);
    EXPECT_EQ(Registry().LoadKey(HkeyUsers, "tempkey", "C:\\Documents and Settings\\ann"), winerr::FileNotFound);
    EXPECT_EQ(Registry().LoadKey(HkeyUsers, "tempkey", "C:\\broken.dat"), winerr::BadDb);
    EXPECT_EQ(OpenResult(HkeyUsers, "tempkey"), winerr::FileNotFound);
    EXPECT_TRUE(Events("hive-load").empty());
}

TEST_F(SimRegistryTest, LoadKeyRefusesAHiveFileInUse) {
    image::MachineImage image = ImageOf("", AnnsHive());
    image.machine.locked.push_back(AnnHive);
    machine = std::make_unique<RegistryTestMachine>(std::move(image));
    ASSERT_TRUE(Registry().EnableRestorePrivilege());
    EXPECT_EQ(Registry().LoadKey(HkeyUsers, "tempkey", AnnHive), winerr::SharingViolation);
    EXPECT_TRUE(Events("hive-load").empty());
}

TEST_F(SimRegistryTest, LoadKeyNeedsTheRestorePrivilegeEnabled) {
    Build("", AnnsHive(), "", true);
    EXPECT_EQ(Registry().LoadKey(HkeyUsers, "tempkey", AnnHive), winerr::PrivilegeNotHeld);

    Build("", AnnsHive(), "", false);
    EXPECT_FALSE(Registry().EnableRestorePrivilege());
    EXPECT_EQ(Registry().LoadKey(HkeyUsers, "tempkey", AnnHive), winerr::PrivilegeNotHeld);
    EXPECT_TRUE(Events("hive-load").empty());
}

TEST_F(SimRegistryTest, UnLoadKeyWaitsForHandlesThenWritesTheHiveBack) {
    Build("", AnnsHive());
    ASSERT_TRUE(Registry().EnableRestorePrivilege());
    ASSERT_EQ(Registry().LoadKey(HkeyUsers, "tempkey", AnnHive), winerr::Success);
    const RegKey gone = Open(HkeyUsers, "tempkey\\Software\\Novell\\GroupWise");
    ASSERT_EQ(Registry().DeleteKey(HkeyUsers, "tempkey\\Software\\Novell\\GroupWise"), winerr::Success);
    EXPECT_EQ(Events("reg-delete-key"),
              std::vector<std::string>{"HKEY_USERS\\tempkey\\Software\\Novell\\GroupWise"});

    // A handle into the hive, even to a deleted key, keeps it loaded.
    EXPECT_EQ(Registry().UnLoadKey(HkeyUsers, "tempkey"), winerr::AccessDenied);
    EXPECT_TRUE(Events("hive-unload").empty());
    Registry().CloseKey(gone);
    ASSERT_EQ(Registry().UnLoadKey(HkeyUsers, "tempkey"), winerr::Success);
    EXPECT_EQ(Events("hive-unload"), std::vector<std::string>{"tempkey"});
    EXPECT_EQ(OpenResult(HkeyUsers, "tempkey"), winerr::FileNotFound);
    EXPECT_EQ(Registry().UnLoadKey(HkeyUsers, "tempkey"), winerr::FileNotFound);

    const image::RegistryKeys hive = machine->HiveKeys("ann");
    EXPECT_FALSE(image::FindKey(hive, "HKEY_CURRENT_USER\\Software\\Novell\\GroupWise"));
    EXPECT_TRUE(image::FindKey(hive, "HKEY_CURRENT_USER\\Software\\Other"));
    EXPECT_FALSE(machine->HasKey("HKEY_USERS\\tempkey"));
}

// HKEY_USERS holds nothing but loaded hives: an image's own subkey of it is
// one, loaded by another program, and goes when it is unloaded.
TEST_F(SimRegistryTest, AnImagesHiveUnderHkeyUsersCanBeUnloaded) {
    Build("[HKEY_USERS\\tempkey\\Software\\Theirs]\n");
    ASSERT_TRUE(Registry().EnableRestorePrivilege());
    const RegKey theirs = Open(HkeyUsers, "tempkey\\Software");
    EXPECT_EQ(Registry().UnLoadKey(HkeyUsers, "tempkey"), winerr::AccessDenied);
    Registry().CloseKey(theirs);
    ASSERT_EQ(Registry().UnLoadKey(HkeyUsers, "tempkey"), winerr::Success);
    EXPECT_EQ(Events("hive-unload"), std::vector<std::string>{"tempkey"});
    EXPECT_FALSE(machine->HasKey("HKEY_USERS\\tempkey"));
    EXPECT_EQ(Registry().UnLoadKey(HkeyUsers, "tempkey"), winerr::FileNotFound);
}

TEST_F(SimRegistryTest, UntouchedRegistryIsSavedAsItWasLoaded) {
    const std::string text =
        "[HKEY_LOCAL_MACHINE\\Software\\A]\n@=\"x\"\n\"n\"=dword:00000001\n\"b\"=hex:01,02\n"
        "\"m\"=hex(7):61,00,00,00\n"
        "[HKEY_CLASSES_ROOT\\.gw]\n[HKEY_USERS\\.DEFAULT\\Software]\n[HKEY_CURRENT_USER\\Software\\B]\n";
    Build(text);
    EXPECT_TRUE(image::SameRegistry(machine->Saved(), RegText(text)));
}

TEST_F(SimRegistryTest, SavedImageHoldsTheChangesAndTheMountedHiveInItsFile) {
    Build("[HKEY_LOCAL_MACHINE\\Software\\Keep]\n[HKEY_LOCAL_MACHINE\\Software\\Drop]\n", AnnsHive());
    ASSERT_EQ(Registry().DeleteKey(HkeyLocalMachine, "Software\\Drop"), winerr::Success);
    ASSERT_TRUE(Registry().EnableRestorePrivilege());
    ASSERT_EQ(Registry().LoadKey(HkeyUsers, "tempkey", AnnHive), winerr::Success);
    ASSERT_EQ(Registry().SetValue(Open(HkeyUsers, "tempkey\\Software\\Other"), "New", RegSz, Sz("yes")),
              winerr::Success);

    EXPECT_TRUE(machine->HasKey("HKEY_LOCAL_MACHINE\\Software\\Keep"));
    EXPECT_FALSE(machine->HasKey("HKEY_LOCAL_MACHINE\\Software\\Drop"));
    EXPECT_FALSE(machine->HasKey("HKEY_USERS\\tempkey"));
    EXPECT_EQ(RegistryTestMachine::StringIn(machine->HiveKeys("ann"), "HKEY_CURRENT_USER\\Software\\Other", "New"),
              "yes");
}

}  // namespace
}  // namespace purgent::testing
