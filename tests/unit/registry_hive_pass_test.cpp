#include <gtest/gtest.h>

#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

const char* const CurrentUser =
    "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n"
    "[HKEY_CURRENT_USER\\Software\\Other]\n";

std::vector<image::DriveItems> TwoHives() {
    return {HiveFile("ann", "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n"
                            "[HKEY_CURRENT_USER\\Software\\Other]\n"),
            HiveFile("bob", "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise\\Client]\n")};
}

std::string Folder(const std::string& name) { return "C:\\Documents and Settings\\" + name; }

// A body that removes the GroupWise settings of whichever user is in hand.
struct RecordingBody {
    explicit RecordingBody(RegistryTestMachine& machine) : machine(machine) {}
    void operator()() {
        prefixes.push_back(machine.access.HivePrefix());
        roots.push_back(machine.access.RootKey());
        machine.access.DeleteKey(machine.access.HivePrefix() + "\\Software\\Novell\\GroupWise");
    }
    RegistryTestMachine& machine;
    std::vector<std::string> prefixes;
    std::vector<RegKey> roots;
};

TEST(RegistryUserHivePass, CurrentUserThroughItsOwnRootEveryOtherProfileMountedInTurn) {
    RegistryTestMachine machine(CurrentUser, TwoHives());
    RecordingBody body(machine);
    machine.access.UserHivePass({"", Folder("ann"), Folder("bob")}, {}, std::ref(body));

    EXPECT_EQ(body.prefixes, (std::vector<std::string>{"", "\\Purgent.UserHive", "\\Purgent.UserHive"}));
    EXPECT_EQ(body.roots, (std::vector<RegKey>{HkeyCurrentUser, HkeyUsers, HkeyUsers}));
    EXPECT_EQ(machine.TraceEvents("hive-load"),
              (std::vector<std::string>{"Purgent.UserHive\tC:\\Documents and Settings\\ann\\ntuser.dat",
                                        "Purgent.UserHive\tC:\\Documents and Settings\\bob\\ntuser.dat"}));
    EXPECT_EQ(machine.TraceEvents("hive-unload").size(), 2u);
    EXPECT_FALSE(machine.HasKey("HKEY_CURRENT_USER\\Software\\Novell\\GroupWise"));
    EXPECT_TRUE(machine.HasKey("HKEY_CURRENT_USER\\Software\\Other"));
    EXPECT_FALSE(image::FindKey(machine.HiveKeys("ann"), "HKEY_CURRENT_USER\\Software\\Novell\\GroupWise"));
    EXPECT_TRUE(image::FindKey(machine.HiveKeys("ann"), "HKEY_CURRENT_USER\\Software\\Other"));
    EXPECT_FALSE(image::FindKey(machine.HiveKeys("bob"), "HKEY_CURRENT_USER\\Software\\Novell\\GroupWise"));
    EXPECT_FALSE(machine.HasKey("HKEY_USERS\\Purgent.UserHive"));
}

// bob is logged on: his hive is in use at HKEY_USERS\<SID> and its file cannot be loaded.
TEST(RegistryUserHivePass, LoggedOnUserIsCleanedWhereHisHiveIsLoaded) {
    const std::string bobSid = "S-1-5-21-1-1002";
    image::MachineImage image = ImageOf(std::string(CurrentUser) + "[HKEY_USERS\\" + bobSid +
                                            "\\Software\\Novell\\GroupWise]\n"
                                            "[HKEY_USERS\\" + bobSid + "\\Software\\Other]\n",
                                        TwoHives());
    image.machine.locked.push_back("C:\\Documents and Settings\\bob\\ntuser.dat");
    RegistryTestMachine machine(image);
    RecordingBody body(machine);
    machine.access.UserHivePass({"", Folder("ann"), Folder("bob")}, {"", "S-1-5-21-1-1001", bobSid}, std::ref(body));

    EXPECT_EQ(body.prefixes, (std::vector<std::string>{"", "\\Purgent.UserHive", "\\" + bobSid}));
    EXPECT_EQ(machine.TraceEvents("hive-load"),
              std::vector<std::string>{"Purgent.UserHive\tC:\\Documents and Settings\\ann\\ntuser.dat"});
    EXPECT_EQ(machine.TraceEvents("hive-unload"), std::vector<std::string>{"Purgent.UserHive"});
    EXPECT_FALSE(machine.HasKey("HKEY_USERS\\" + bobSid + "\\Software\\Novell\\GroupWise"));
    EXPECT_TRUE(machine.HasKey("HKEY_USERS\\" + bobSid + "\\Software\\Other"));
    EXPECT_FALSE(image::FindKey(machine.HiveKeys("ann"), "HKEY_CURRENT_USER\\Software\\Novell\\GroupWise"));
}

TEST(RegistryUserHivePass, DetailPanelIsClearedBeforeEachBody) {
    RegistryTestMachine machine(CurrentUser, TwoHives());
    machine.access.UserHivePass({"", Folder("ann")}, {}, [&] {
        machine.access.DeleteKeyTree(machine.access.HivePrefix() + "\\X");
    });
    EXPECT_EQ(machine.view.items, (std::vector<std::string>{"", "\\X", "", "\\Purgent.UserHive\\X"}));
}

TEST(RegistryUserHivePass, ProfileWithoutHiveIsSkippedAndTheNextOneStillCleaned) {
    RegistryTestMachine machine(CurrentUser, TwoHives());
    RecordingBody body(machine);
    machine.access.UserHivePass({"", Folder("gone"), Folder("bob")}, {}, std::ref(body));
    EXPECT_EQ(body.prefixes.size(), 2u);
    EXPECT_FALSE(image::FindKey(machine.HiveKeys("bob"), "HKEY_CURRENT_USER\\Software\\Novell\\GroupWise"));
}

// Another program's hive under "tempkey" is neither in the way nor touched;
// a hive under the program's own mount name can only be a leftover of a run
// that was killed before its unload, and is unloaded before the first mount.
TEST(RegistryUserHivePass, AnotherProgramsMountStaysAndALeftoverOfOurOwnIsUnloadedFirst) {
    const struct {
        const char* mounted;
        std::vector<std::string> unloads;
        bool stays;
    } cases[] = {
        {"tempkey", {"Purgent.UserHive"}, true},
        {"Purgent.UserHive", {"Purgent.UserHive", "Purgent.UserHive"}, false},
    };
    for (const auto& c : cases) {
        const std::string theirs = std::string("HKEY_USERS\\") + c.mounted + "\\Software\\Theirs";
        RegistryTestMachine machine(std::string(CurrentUser) + "[" + theirs + "]\n", TwoHives());
        RecordingBody body(machine);
        machine.access.UserHivePass({"", Folder("ann")}, {}, std::ref(body));
        EXPECT_EQ(body.prefixes, (std::vector<std::string>{"", "\\Purgent.UserHive"})) << c.mounted;
        EXPECT_EQ(machine.TraceEvents("hive-unload"), c.unloads) << c.mounted;
        EXPECT_EQ(machine.HasKey(theirs), c.stays) << c.mounted;
        EXPECT_FALSE(image::FindKey(machine.HiveKeys("ann"), "HKEY_CURRENT_USER\\Software\\Novell\\GroupWise"))
            << c.mounted;
    }
}

TEST(RegistryUserHivePass, KeyLeftOpenInsideTheHiveDoesNotBlockTheUnload) {
    RegistryTestMachine machine(CurrentUser, TwoHives());
    int bodies = 0;
    machine.access.UserHivePass({"", Folder("ann"), Folder("bob")}, {}, [&] {
        ++bodies;
        machine.access.OpenKey(machine.access.HivePrefix() + "\\Software\\Novell\\GroupWise");
    });
    EXPECT_EQ(bodies, 3);
    EXPECT_EQ(machine.TraceEvents("hive-unload").size(), 2u);
}

// ann's hive holds "RequestMakeCall" as a DWORD: reading it raises inside the pass.
TEST(RegistryUserHivePass, AnErrorInsideAMountedHiveUnloadsItBeforeTheRunEnds) {
    sim::SimMachine machine(image::LoadMachineImage(std::string(PURGENT_TEST_DATA) + "/bad-hive-value"));
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn", "/km"}), 2);
    const std::vector<std::string> lines = machine.Trace().Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"hive-unload\tPurgent.UserHive",
                                        "error\tInvalid data type for 'RequestMakeCall'.", "exit\t2"}));
}

TEST(RegistryUserHivePass, WithoutTheRestorePrivilegeOnlyTheCurrentUserIsCleaned) {
    image::MachineImage image = ImageOf(CurrentUser, TwoHives());
    image.machine.machine.restorePrivilege = false;
    RegistryTestMachine machine(image);
    RecordingBody body(machine);
    machine.access.UserHivePass({"", Folder("ann"), Folder("bob")}, {}, std::ref(body));
    EXPECT_EQ(body.prefixes, (std::vector<std::string>{""}));
    EXPECT_TRUE(machine.TraceEvents("hive-load").empty());
    EXPECT_FALSE(machine.access.MountUserHive("C:\\Documents and Settings\\ann\\ntuser.dat", "Purgent.UserHive"));
}

TEST(RegistryUserHivePass, EmptyListRunsNoBody) {
    RegistryTestMachine machine(CurrentUser, TwoHives());
    RecordingBody body(machine);
    machine.access.UserHivePass({}, {}, std::ref(body));
    EXPECT_TRUE(body.prefixes.empty());
}

TEST(RegistryMountUserHive, MountsUnderUsersAndSwitchesTheRoot) {
    RegistryTestMachine machine(CurrentUser, TwoHives());
    ASSERT_TRUE(machine.access.OpenKey("\\Software"));
    EXPECT_TRUE(machine.access.MountUserHive("C:\\Documents and Settings\\ann\\ntuser.dat", "Purgent.UserHive"));
    EXPECT_EQ(machine.access.RootKey(), HkeyUsers);
    EXPECT_TRUE(machine.access.GetKeyNames().empty());
    EXPECT_TRUE(machine.access.KeyExists("\\Purgent.UserHive\\Software\\Other"));
    // A second mount under the occupied name fails until the first is unloaded.
    EXPECT_FALSE(machine.access.MountUserHive("C:\\Documents and Settings\\bob\\ntuser.dat", "Purgent.UserHive"));
    EXPECT_TRUE(machine.access.UnLoadKey("\\Purgent.UserHive"));
    EXPECT_TRUE(machine.access.MountUserHive("C:\\Documents and Settings\\bob\\ntuser.dat", "Purgent.UserHive"));
}

}  // namespace
}  // namespace purgent::testing
