#include <gtest/gtest.h>

#include "run/errors.h"
#include "discovery/discovery.h"
#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

const std::string AppPaths = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

InstallLocations Discover(RegistryTestMachine& machine) {
    DiscoverLocations(machine.ctx);
    return machine.ctx.locations;
}

TEST(DiscoveryInstallFolders, DefaultsWhenAbsentOrEmptyAndOneTrailingSeparatorAdded) {
    RegistryTestMachine bare("");
    EXPECT_EQ(Discover(bare).GroupWiseDir, "c:\\novell\\groupwise\\");
    EXPECT_EQ(Discover(bare).MessengerDir, "c:\\novell\\messenger\\");

    RegistryTestMachine found("[" + AppPaths + "GrpWise.Exe]\n\"Path\"=\"\"\n" + "[" + AppPaths +
                              "nmcl32.exe]\n\"path\"=\"D:\\\\Novell\\\\Messenger\"\n");
    EXPECT_EQ(Discover(found).GroupWiseDir, "c:\\novell\\groupwise\\");
    EXPECT_EQ(Discover(found).MessengerDir, "D:\\Novell\\Messenger\\");

    RegistryTestMachine ending("[" + AppPaths + "GrpWise.Exe]\n\"Path\"=\"d:\\\\apps\\\\gw\\\\\"\n");
    EXPECT_EQ(Discover(ending).GroupWiseDir, "d:\\apps\\gw\\");
}

TEST(DiscoveryInstallFolders, NonStringPathEndsTheRun) {
    RegistryTestMachine machine("[" + AppPaths + "GrpWise.Exe]\n\"Path\"=dword:00000001\n");
    try {
        Discover(machine);
        FAIL() << "no error raised";
    } catch (const PurgentError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'Path'");
    }
}

TEST(DiscoveryWindowsFolder, DriveIsTheFirstCharacterOfWindir) {
    RegistryTestMachine machine("");
    EXPECT_EQ(Discover(machine).WindowsDir, "C:\\WINDOWS");
    EXPECT_EQ(Discover(machine).WindowsDrive, "C");

    image::MachineImage image = ImageOf("");
    image.machine.machine.windir.reset();
    RegistryTestMachine unset(image);
    EXPECT_EQ(Discover(unset).WindowsDir, "");
    EXPECT_EQ(Discover(unset).WindowsDrive, "");
}

TEST(DiscoveryShellFolders, ValuesAreReadPerRootWithoutLetterCaseAndMissingOnesEmpty) {
    RegistryTestMachine machine(
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n"
        "\"Common SendTo\"=\"C:\\\\All\\\\SendTo\"\n"
        "\"Common Desktop\"=\"C:\\\\All\\\\Desktop\"\n"
        "\"Common Programs\"=\"C:\\\\All\\\\Programs\"\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n"
        "\"SendTo\"=\"C:\\\\jo\\\\SendTo\"\n"
        "\"Startup\"=\"C:\\\\jo\\\\Startup\"\n"
        "\"Programs\"=\"C:\\\\jo\\\\Programs\"\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer]\n"
        "\"Logon User Name\"=\"jo\"\n");
    const InstallLocations found = Discover(machine);
    EXPECT_EQ(found.CommonSendTo, "C:\\All\\SendTo");
    EXPECT_EQ(found.CommonDesktop, "C:\\All\\Desktop");
    EXPECT_EQ(found.CommonStartup, "");
    EXPECT_EQ(found.CommonPrograms, "C:\\All\\Programs");
    EXPECT_EQ(found.UserSendTo, "C:\\jo\\SendTo");
    EXPECT_EQ(found.UserDesktop, "");
    EXPECT_EQ(found.UserStartup, "C:\\jo\\Startup");
    EXPECT_EQ(found.UserPrograms, "C:\\jo\\Programs");
    EXPECT_EQ(found.LogonUserName, "jo");
}

TEST(DiscoveryShellFolders, KeyLeftOpenBeforeDiscoveryIsNotReadInsteadOfAMissingKey) {
    RegistryTestMachine machine(
        "[HKEY_LOCAL_MACHINE\\Software\\Stale]\n\"Path\"=\"e:\\\\stale\"\n\"Common desktop\"=\"e:\\\\stale\"\n");
    machine.access.SetRootKey(HkeyLocalMachine);
    ASSERT_TRUE(machine.access.OpenKey("\\Software\\Stale"));
    const InstallLocations found = Discover(machine);
    EXPECT_EQ(found.GroupWiseDir, "c:\\novell\\groupwise\\");
    EXPECT_EQ(found.CommonDesktop, "");
}

}  // namespace
}  // namespace purgent::testing
