// Whole runs that keep what earlier versions would lose: hidden system
// files in the program folder, a default IM client that is not text; and the
// Writing Tools files of a profile whose desktop ends in a separator.
#include <gtest/gtest.h>

#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"
#include "shutdown_sim_machine.h"

namespace purgent::testing {
namespace {

// The second pass over the program folder takes hidden files only: desktop.ini
// and Thumbs.db (hidden system files) and a hidden folder stay, and with them
// the folder.
TEST(ProgramFolder, TheHiddenFilesPassKeepsSystemFilesAndFolders) {
    const std::string folder = R"(C:\Novell\GroupWise)";
    image::MachineImage image;
    for (const char* name : {"desktop.ini", "Thumbs.db", "gwsync.log", "grpwise.exe"})
        AddDriveItem(image, {folder + "\\" + name, false, {}});
    AddDriveItem(image, {folder + "\\Cache", true, {}});
    image.machine.attributes = {{folder + "\\desktop.ini", FileAttrHidden | FileAttrSystem},
                                {folder + "\\Thumbs.db", FileAttrHidden | FileAttrSystem},
                                {folder + "\\gwsync.log", FileAttrHidden},
                                {folder + "\\Cache", FileAttrHidden}};
    sim::SimMachine machine(image);
    sim::RunPurgentOnSim(machine, {"/sn"});
    const image::DriveItems left = machine.SaveImage().drive;
    for (const char* kept : {"desktop.ini", "Thumbs.db", "Cache"})
        EXPECT_NE(image::FindDriveItem(left, folder + "\\" + kept), nullptr) << kept;
    for (const char* gone : {"gwsync.log", "grpwise.exe"})
        EXPECT_EQ(image::FindDriveItem(left, folder + "\\" + gone), nullptr) << gone;
}

// A default IM client value that is not text is another messenger's: it stays,
// and the run goes on to the Messenger files and the client's files.
TEST(MessengerRegistration, ADefaultImClientThatIsNotTextIsLeftAndTheRunGoesOn) {
    image::MachineImage image = ImageOf(
        "[HKEY_LOCAL_MACHINE\\Software\\Clients\\IM]\n@=dword:00000001\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Clients\\IM\\Novell Messenger]\n");
    const std::string messengerFile = R"(C:\Novell\Messenger\nmcl32.exe)";
    const std::string clientFile = R"(C:\Novell\GroupWise\grpwise.exe)";
    AddDriveItem(image, {messengerFile, false, {}});
    AddDriveItem(image, {clientFile, false, {}});
    sim::SimMachine machine(image);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    EXPECT_TRUE(test::TraceOf(machine, "error").empty());
    const image::MachineImage saved = machine.SaveImage();
    const image::RegistryKey* im = image::FindKey(saved.registry, "HKEY_LOCAL_MACHINE\\Software\\Clients\\IM");
    ASSERT_NE(im, nullptr);
    const image::RegistryValue* value = image::FindValue(*im, "");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, RegDword);
    EXPECT_FALSE(image::FindKey(saved.registry, "HKEY_LOCAL_MACHINE\\Software\\Clients\\IM\\Novell Messenger"));
    EXPECT_EQ(image::FindDriveItem(saved.drive, messengerFile), nullptr);
    EXPECT_EQ(image::FindDriveItem(saved.drive, clientFile), nullptr);
}

TEST(WritingToolsFiles, ADesktopWithOneTrailingSeparatorStillNamesTheProfile) {
    const std::string uwl = R"(C:\Documents and Settings\ann\wt61us.uwl)";
    const std::pair<std::string, bool> cases[] = {
        {R"(C:\Documents and Settings\ann\Desktop)", true},
        {R"(C:\Documents and Settings\ann\Desktop\)", true},
        {R"(C:\Documents and Settings\ann\Desktop\\)", false},
        {R"(C:\Documents and Settings\ann\Desktops)", false},
    };
    for (const auto& [desktop, gone] : cases) {
        image::MachineImage image = ImageOf("[" + UserShellFolders + "]\n" + RegString("desktop", desktop));
        AddDriveItem(image, {uwl, false, {}});
        sim::SimMachine machine(image);
        sim::RunPurgentOnSim(machine, {"/sn"});
        EXPECT_EQ(image::FindDriveItem(machine.SaveImage().drive, uwl) == nullptr, gone) << desktop;
    }
}

}  // namespace
}  // namespace purgent::testing
