// The own-folder rule on the paths Windows will use: every spelling of a
// system or shared folder is refused, the client's own folders pass.
#include "files/own_folder.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"
#include "image/machine_image.h"

namespace purgent {
namespace {

struct FolderCase {
    const char* folder;
    bool own;
};

const char kProfileList[] =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-80-1]\r\n"
    "\"ProfileImagePath\"=\"E:\\\\Service\\\\Profile\"\r\n";

// A workstation with ann's desktop and the common program group as shell
// folders, a service account's profile on E: and a drive N: mapped to a
// network share.
image::MachineImage Workstation() {
    image::MachineImage image;
    image.registry = image::ParseRegText(
        image::Bytes(std::begin(kProfileList), std::end(kProfileList) - 1), "registry.reg");
    image.machine.machine.otherKeys = {{"network-drives", "N"}};
    return image;
}

struct OwnFolderMachine {
    explicit OwnFolderMachine(image::MachineImage image = Workstation()) : machine(image) {
        locations.WindowsDir = image.machine.machine.windir.value_or("");
        locations.WindowsDrive = locations.WindowsDir.substr(0, 1);
        locations.UserDesktop = "C:\\Documents and Settings\\ann\\Desktop";
        locations.CommonPrograms = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";
        system = FindSystemFolders(machine.GetPlatform(), locations, profiles);
    }
    bool Own(const std::string& folder) { return IsOwnFolder(folder, machine.GetPlatform(), system); }

    sim::SimMachine machine;
    InstallLocations locations;
    ProfileFolders profiles{"", "C:\\Documents and Settings\\ann", "D:\\Profiles\\bob"};
    SystemFolders system;
};

// Its registry names Program Files "C:\Programme" and "C:\Archivos de
// programa", the profiles "%SystemDrive%\Dokumente und Einstellungen".
const std::string LocalisedRoots = std::string(PURGENT_TEST_DATA) + "/localised-roots";

TEST(IsOwnFolder, RefusesFoldersThatBelongToTheSystemOrToEverybody) {
    OwnFolderMachine m;
    const FolderCase cases[] = {
        {"c:\\novell\\groupwise\\", true},
        {"C:\\Program Files\\Novell\\GroupWise", true},
        {"C:\\WINDOWS.OLD\\grpwise\\", true},
        {"D:\\Apps\\GroupWise\\", true},
        // A shared installation serves many workstations.
        {"\\\\server\\apps\\grpwise\\", false},
        {"N:\\apps\\grpwise\\", false},
        // Whatever lies in a profile is a user's: documents, desktop, data.
        {"C:\\Documents and Settings\\ann\\GroupWise\\", false},
        {"C:\\Documents and Settings\\ann\\Desktop\\GroupWise\\", false},
        {"C:\\Documents and Settings\\kim\\My Documents\\", false},
        {"C:\\Users\\Public\\Documents\\", false},
        {"D:\\Profiles\\bob\\GroupWise\\", false},
        {"E:\\Service\\Profile\\Novell\\", false},
        {"C:\\", false},
        {"D:\\", false},
        {"C:", false},
        {"\\\\server\\apps\\", false},
        {"novell\\groupwise\\", false},
        {"\\novell\\groupwise\\", false},
        {"C:novell\\", false},
        {"C:\\novell;D:\\gw\\", false},
        {"C:\\novell\\*\\", false},
        {"C:\\novell\\gw?\\", false},
        {"C:\\novell\\..\\", false},
        {"c:\\windows\\", false},
        {"C:\\WINDOWS\\system32\\", false},
        {"C:\\WINDOWS\\\\System32", false},
        {"C:\\Program Files\\", false},
        {"D:\\Program Files (x86)\\", false},
        {"C:\\Program Files\\Common Files\\", false},
        {"C:\\Documents and Settings\\", false},
        {"C:\\Users", false},
        {"C:\\ProgramData\\", false},
        {"C:\\Documents and Settings\\ANN\\", false},
        {"C:\\Documents and Settings\\carl\\", false},
        {"C:\\Users\\dave\\", false},
        // A profile elsewhere is refused where it really is.
        {"D:\\Profiles\\bob\\", false},
    };
    for (const FolderCase& c : cases) EXPECT_EQ(m.Own(c.folder), c.own) << c.folder;
}

// Every spelling, resolved as Windows does. The simulator has no short
// names: one never resolves, and is refused for that (resolved short names:
// tests/e2e/own_folder_test.cpp).
TEST(IsOwnFolder, RefusesEverySpellingOfASystemFolder) {
    OwnFolderMachine m(image::LoadMachineImage(LocalisedRoots));
    const FolderCase cases[] = {
        {"C:\\PROGRA~1\\", false},
        {"C:\\PROGRA~1\\COMMON~1\\", false},
        {"C:\\DOCUME~1\\ann\\", false},
        {"C:\\NOVELL~1\\GROUPW~1\\", false},
        {"C:\\WINDOWS.\\system32\\", false},
        {"C:\\WINDOWS \\", false},
        {"C:\\WINDOWS\\system32.\\", false},
        {"C:\\Program Files.\\", false},
        {"C:\\Program Files \\Common Files\\", false},
        {"C:\\novell\\..\\WINDOWS\\", false},
        {"\\\\localhost\\c$\\WINDOWS\\system32\\", false},
        {"\\\\LOCALHOST\\C$\\Program Files\\", false},
        {"\\\\.\\C:\\WINDOWS\\", false},
        {"C:\\Programme\\", false},
        {"C:\\Archivos de programa\\", false},
        {"C:\\Programme\\Gemeinsame Dateien\\Novell\\", false},
        {"C:\\Dokumente und Einstellungen\\", false},
        {"C:\\Dokumente und Einstellungen\\ann\\", false},
        {"C:\\Dokumente und Einstellungen\\All Users\\Anwendungsdaten\\", false},
        {"C:\\Documents and Settings\\ann\\Desktop\\", false},
        {"C:\\Documents and Settings\\All Users\\Start Menu\\", false},
        {"C:\\Program Files\\Common Files\\System\\", false},
        {"C:\\Programme\\Novell\\GroupWise\\", true},
        {"C:\\Dokumente und Einstellungen\\ann\\GroupWise\\", false},
        {"\\\\localhost\\apps\\GroupWise\\", false},
    };
    for (const FolderCase& c : cases) EXPECT_EQ(m.Own(c.folder), c.own) << c.folder;
}

TEST(IsOwnFolder, WithoutWindirTheWindowsFolderStillCounts) {
    image::MachineImage noWindir;
    noWindir.machine.machine.windir.reset();
    OwnFolderMachine m(noWindir);
    EXPECT_FALSE(m.Own("C:\\WINDOWS\\system32\\"));
    EXPECT_TRUE(m.Own("C:\\Novell\\GroupWise\\"));
}

// windir and GetWindowsDirectoryA can name two folders (windir set again by
// a logon script, a second installation): both are the system's.
TEST(IsOwnFolder, WhenWindirAndTheWindowsDirectoryDifferBothAreRefused) {
    OwnFolderMachine m;  // GetWindowsDirectoryA: C:\WINDOWS
    m.locations.WindowsDir = "D:\\WINNT";
    m.system = FindSystemFolders(m.machine.GetPlatform(), m.locations, m.profiles);
    EXPECT_FALSE(m.Own("C:\\WINDOWS\\GroupWise\\"));
    EXPECT_FALSE(m.Own("D:\\WINNT\\GroupWise\\"));
    EXPECT_TRUE(m.Own("D:\\Novell\\GroupWise\\"));
}

TEST(IsOwnFolder, WithoutAnyWindowsFolderNoFolderIsOwn) {
    OwnFolderMachine m;
    m.system.windows = {"", ""};
    EXPECT_FALSE(m.Own("C:\\Novell\\GroupWise\\"));
}

TEST(IsOwnFolder, AFolderAroundTheWindowsFolderIsRefused) {
    OwnFolderMachine m;
    m.system.windows = {"C:\\Apps\\WINNT"};
    EXPECT_FALSE(m.Own("C:\\Apps\\"));
    EXPECT_TRUE(m.Own("C:\\Apps\\GroupWise\\"));
}

}  // namespace
}  // namespace purgent
