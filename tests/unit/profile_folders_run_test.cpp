// Whole runs on a Windows 10 layout, deployed as SYSTEM: "Documents and
// Settings" is a junction that cannot be listed, and each user's hive and
// files are where the user's ProfileList entry says, on another drive too.
#include <gtest/gtest.h>

#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"
#include "shutdown_sim_machine.h"

namespace purgent::testing {
namespace {

const std::string ProfileList = R"(HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\ProfileList)";
const std::string AnnData = R"(C:\Users\ann\AppData\Local\Novell\)";
const std::string BobData = R"(D:\Profiles\bob\Local Settings\Application Data\Novell\)";
const std::string Hive = "Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n"
                         "[HKEY_CURRENT_USER\\Software\\Novell\\Other]\n";

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
    for (const char* item : {R"(C:\Windows\system32\kernel32.dll)", R"(C:\Users\ann\NTUSER.DAT)",
                             R"(D:\Profiles\bob\NTUSER.DAT)"})
        AddDriveItem(image, {item, false, image::Bytes(Hive.begin(), Hive.end())});
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
    // The user registry pass and Messenger's two blocks each mount both.
    std::vector<std::string> loads;
    for (int pass = 0; pass < 3; ++pass)
        for (const char* hive : {R"(C:\Users\ann\ntuser.dat)", R"(D:\Profiles\bob\ntuser.dat)"})
            loads.push_back(std::string("Purgent.UserHive\t") + hive);
    EXPECT_EQ(test::TraceOf(machine, "hive-load"), loads);
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
