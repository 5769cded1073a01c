// Whole runs on a Windows 10 layout, deployed as SYSTEM: "Documents and
// Settings" is a junction that cannot be listed, and each user's hive and
// files are where the user's ProfileList entry says, on another drive too.
#include <gtest/gtest.h>

#include <set>

#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"
#include "shutdown_sim_machine.h"

namespace purgent::testing {
namespace {

const std::string ProfileList = R"(HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\ProfileList)";
const std::string AnnData = R"(C:\Users\ann\AppData\Local\Novell\)";
const std::string BobData = R"(D:\Profiles\bob\Local Settings\Application Data\Novell\)";
const std::string Explorer = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";

// ann's shell folders as Windows 10 writes them, bob's redirected and cached.
std::string HiveText(const std::string& shellFolders) {
    return "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n"
           "[HKEY_CURRENT_USER\\Software\\Novell\\Other]\n" + shellFolders;
}
const std::string AnnHive = HiveText(
    Explorer + "User Shell Folders]\n" + RegString("Desktop", "%USERPROFILE%\\Desktop") +
    RegString("Programs", "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"));
const std::string BobHive = HiveText(Explorer + "Shell Folders]\n" +
                                     RegString("Desktop", "E:\\Redirected\\bob\\Desktop") +
                                     RegString("Startup", "D:\\Profiles\\bob\\Start Menu\\Programs\\Startup"));
const std::string AnnPrograms = R"(C:\Users\ann\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\)";

// Each user's client files in that user's own shell folders and profile
// folder, and beside each a file of the user's own.
const struct {
    const char* path;
    bool goes;
} UserFiles[] = {
    {R"(C:\Users\ann\Desktop\GroupWise.lnk)", true},
    {R"(C:\Users\ann\Desktop\GroupWise Messenger.lnk)", true},
    {R"(C:\Users\ann\Desktop\GroupWise.doc)", false},
    {R"(C:\Users\ann\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\GroupWise\GroupWise.lnk)", true},
    {R"(C:\Users\ann\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Novell Messenger\GroupWise Messenger.lnk)", true},
    {R"(C:\Users\ann\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Games\GroupWise.lnk)", false},
    {R"(C:\Users\ann\wt61us.uwl)", true},
    {R"(C:\Users\ann\wt61us.txt)", false},
    {R"(E:\Redirected\bob\Desktop\GroupWise 5.lnk)", true},
    {R"(E:\Redirected\bob\Desktop\Notify.doc)", false},
    {R"(D:\Profiles\bob\Start Menu\Programs\Startup\Notify.lnk)", true},
    {R"(D:\Profiles\bob\Start Menu\Programs\Startup\Backup.lnk)", false},
    {R"(D:\Profiles\bob\wt61us.uwl)", true},
};

image::MachineImage Windows10() {
    image::MachineImage image = ImageOf("[" + ProfileList + "]\n" +
                                        RegString("ProfilesDirectory", "%SystemDrive%\\Users") + "[" + ProfileList +
                                        "\\S-1-5-21-1-1001]\n" + RegString("ProfileImagePath", "%SystemDrive%\\Users\\ann") +
                                        "[" + ProfileList + "\\S-1-5-21-1-1002]\n" +
                                        RegString("ProfileImagePath", "D:\\Profiles\\bob"));
    image.drive.clear();
    image.machine.machine.windir = "C:\\Windows";
    image.machine.junctions = {{R"(C:\Documents and Settings)", R"(C:\Users)"},
                               {R"(C:\Users\ann\Local Settings)", R"(C:\Users\ann\AppData\Local)"},
                               {R"(C:\Users\ann\AppData\Local\Application Data)", R"(C:\Users\ann\AppData\Local)"}};
    AddDriveItem(image, {R"(C:\Windows\system32\kernel32.dll)", false, {}});
    AddDriveItem(image, {R"(C:\Users\ann\NTUSER.DAT)", false, image::Bytes(AnnHive.begin(), AnnHive.end())});
    AddDriveItem(image, {R"(D:\Profiles\bob\NTUSER.DAT)", false, image::Bytes(BobHive.begin(), BobHive.end())});
    for (const auto& file : UserFiles) AddDriveItem(image, {file.path, false, {}});
    for (const std::string& data : {AnnData, BobData}) {
        AddDriveItem(image, {data + R"(GroupWise Messenger\history\admin\chat.txt)", false, {}});
        AddDriveItem(image, {data + R"(GroupWise Messenger\contacts.xml)", false, {}});
        AddDriveItem(image, {data + R"(Other\keep.txt)", false, {}});
    }
    return image;
}

TEST(ProfileFoldersRun, EveryUsersHiveAndMessengerDataAreCleanedWhereTheUserReallyIs) {
    sim::SimMachine machine(Windows10());
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    const image::MachineImage after = machine.SaveImage();
    for (const std::string& data : {AnnData, BobData}) {
        EXPECT_EQ(image::FindDriveItem(after.drive, data + "GroupWise Messenger"), nullptr) << data;
        EXPECT_NE(image::FindDriveItem(after.drive, data + R"(Other\keep.txt)"), nullptr) << data;
    }
    // Every pass over the users mounts both, each from the user's own folder.
    std::set<std::string> loaded;
    for (const std::string& load : test::TraceOf(machine, "hive-load")) loaded.insert(load);
    EXPECT_EQ(loaded, (std::set<std::string>{"Purgent.UserHive\tC:\\Users\\ann\\ntuser.dat",
                                             "Purgent.UserHive\tD:\\Profiles\\bob\\ntuser.dat"}));
    for (const char* hive : {R"(C:\Users\ann\NTUSER.DAT)", R"(D:\Profiles\bob\NTUSER.DAT)"}) {
        const image::DriveItem* file = image::FindDriveItem(after.drive, hive);
        ASSERT_NE(file, nullptr) << hive;
        const image::RegistryKeys keys = image::ParseHiveText(file->contents, hive);
        EXPECT_EQ(image::FindKey(keys, R"(HKEY_CURRENT_USER\Software\Novell\GroupWise)"), nullptr) << hive;
        EXPECT_NE(image::FindKey(keys, R"(HKEY_CURRENT_USER\Software\Novell\Other)"), nullptr) << hive;
    }
}

}  // namespace
}  // namespace purgent::testing

namespace purgent::testing {
namespace {

// Run as SYSTEM, the current user's shell folders are the system profile's:
// each user's shortcuts, Messenger shortcut and word list are found through
// the shell folders of that user's own hive.
TEST(ProfileFoldersRun, EveryUsersShortcutsAndWordListGoFromTheShellFoldersOfTheirOwnHive) {
    sim::SimMachine machine(Windows10());
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    const image::MachineImage after = machine.SaveImage();
    for (const auto& file : UserFiles)
        EXPECT_EQ(image::FindDriveItem(after.drive, file.path) == nullptr, file.goes) << file.path;
    EXPECT_EQ(image::FindDriveItem(after.drive, AnnPrograms + "GroupWise"), nullptr);
    EXPECT_NE(image::FindDriveItem(after.drive, AnnPrograms + "Games"), nullptr);
}

}  // namespace
}  // namespace purgent::testing
