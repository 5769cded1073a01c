// Whole runs on workstations whose App Paths point the client or Messenger
// at a folder that is not theirs: what others keep there stays, and no DLL of
// theirs is unregistered.
#include <gtest/gtest.h>

#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"
#include "shutdown_sim_machine.h"

namespace purgent::testing {
namespace {

const std::string AppPaths = R"(HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\)";
const std::string Kernel = R"(C:\WINDOWS\system32\kernel32.dll)";

// ann's desktop is a shell folder; App Paths points program at folder.
image::MachineImage PointedAt(const std::string& program, const std::string& folder, const image::DriveItem& kept) {
    image::MachineImage image = ImageOf(
        "[" + AppPaths + program + "]\n" + RegString("Path", folder) + "[" + UserShellFolders + "]\n" +
        RegString("desktop", R"(C:\Documents and Settings\ann\Desktop)"));
    AddDriveItem(image, {Kernel, false, {}});
    if (!image::FindDriveItem(image.drive, kept.path)) AddDriveItem(image, kept);
    return image;
}

TEST(OwnFolderRun, WhatOthersKeepInAFolderNotTheClientsStays) {
    const struct {
        const char* program;
        const char* folder;
        image::DriveItem kept;
    } cases[] = {
        {"GrpWise.Exe", R"(C:\WINDOWS.\system32\)", {Kernel, false, {}}},
        {"GrpWise.Exe", R"(C:\WINDOWS \system32\)", {Kernel, false, {}}},
        {"GrpWise.Exe",
         R"(C:\Program Files\Common Files\System\)",
         {R"(C:\Program Files\Common Files\System\msadc.dll)", false, {}}},
        {"GrpWise.Exe",
         R"(C:\Program Files\Common Files\Empty\)",
         {R"(C:\Program Files\Common Files\Empty)", true, {}}},
        {"GrpWise.Exe",
         R"(C:\Documents and Settings\ann\Desktop\)",
         {R"(C:\Documents and Settings\ann\Desktop\report.doc)", false, {}}},
        // The client's named subfolders under a folder that is not its own.
        {"GrpWise.Exe",
         R"(C:\Program Files\Common Files\)",
         {R"(C:\Program Files\Common Files\PPForms\form.frm)", false, {}}},
        {"GrpWise.Exe",
         R"(C:\Program Files\Common Files\)",
         {R"(C:\Program Files\Common Files\OFViews\WIN\view.vew)", false, {}}},
        {"GrpWise.Exe", R"(C:\WINDOWS\system32\)", {R"(C:\WINDOWS\system32\GWCheck\gwcheck.exe)", false, {}}},
        {"GrpWise.Exe", R"(C:\WINDOWS\system32\)", {R"(C:\WINDOWS\system32\GWCheck)", true, {}}},
        {"nmcl32.Exe", R"(C:\WINDOWS\system32\)", {R"(C:\WINDOWS\system32\LogFiles\setup.log)", false, {}}},
        {"nmcl32.Exe", R"(C:\WINDOWS\system32\)", {Kernel, false, {}}},
        {"nmcl32.Exe", R"(C:\Program Files\Common Files\)", {R"(C:\Program Files\Common Files\readme.txt)", false, {}}},
        {"nmcl32.Exe", R"(C:\Program Files.\)", {R"(C:\Program Files\desktop.txt)", false, {}}},
        {"nmcl32.Exe",
         R"(C:\Program Files\Common Files\Empty\)",
         {R"(C:\Program Files\Common Files\Empty)", true, {}}},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine(PointedAt(c.program, c.folder, c.kept));
        EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0) << c.folder;
        const image::MachineImage saved = machine.SaveImage();
        EXPECT_NE(image::FindDriveItem(saved.drive, c.kept.path), nullptr) << c.program << " in " << c.folder;
        EXPECT_NE(image::FindDriveItem(saved.drive, Kernel), nullptr) << c.program << " in " << c.folder;
        for (const std::string& launch : test::TraceOf(machine, "launch"))
            EXPECT_EQ(launch.find("kernel32"), std::string::npos) << launch;
    }
}

TEST(OwnFolderRun, WithoutWindirTheWindowsFolderIsStillRefused) {
    image::MachineImage image = PointedAt("GrpWise.Exe", R"(C:\WINDOWS\system32\)", {Kernel, false, {}});
    image.machine.machine.windir.reset();
    sim::SimMachine machine(image);
    sim::RunPurgentOnSim(machine, {"/sn"});
    EXPECT_NE(image::FindDriveItem(machine.SaveImage().drive, Kernel), nullptr);
}

}  // namespace
}  // namespace purgent::testing
