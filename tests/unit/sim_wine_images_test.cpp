// The images that the Wine tests seed, run on the simulator in the unit suite
// too, and the option guards of the run's phases.
#include <gtest/gtest.h>

#include "dll_image_expectations.h"
#include "files_image_expectations.h"
#include "purgent_sim/run_purgent.h"
#include "shutdown_sim_machine.h"

namespace purgent {
namespace {

using Lines = std::vector<std::string>;

TEST(ComServersImage, EveryClientDllIsUnregisteredSaveTheExcludedOneAndTheBystander) {
    sim::SimMachine machine(image::LoadMachineImage(dlls::kImage));
    EXPECT_EQ(sim::RunPurgentOnSim(machine, dlls::kPurgentArgs), 0);
    dlls::ExpectRegistrations(machine.SaveImage().registry, "sim");
}

TEST(FilesInWindowsImage, AProgramFolderPointedAtWindowsLosesOnlyCataloguedNames) {
    const std::string imageDir = std::string(PURGENT_TEST_DATA) + "/files-in-windows";
    const image::MachineImage seeded = image::LoadMachineImage(imageDir);
    sim::SimMachine machine(seeded);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    files::ExpectCleaned(seeded, machine.SaveImage(), imageDir, "sim");
}

// Each option against the phases that act (their status texts) on the files
// image, and the item an option inside a phase keeps or removes.
TEST(OptionGuards, EachOptionStopsExactlyItsPhases) {
    const char* const registry = "Deleting Registry Entries";
    const char* const messengerDlls = "Deregistering  DLLs..";
    const char* const messengerFiles = "Deleting Messenger Files..";
    const char* const clientDlls = "Deregistering DLLs..";
    const char* const clientFiles = "Deleting Files..";
    const Lines all = {registry, messengerDlls, messengerFiles, clientDlls, clientFiles, "Done"};
    const struct {
        const char* option;
        Lines phases;
        const char* item;
        bool itemStays;
    } cases[] = {
        {"/kc", {messengerDlls, messengerFiles, "Done"}, R"(C:\Novell\GroupWise\grpwise.exe)", true},
        {"/km", {registry, clientDlls, clientFiles, "Done"}, R"(C:\Novell\GroupWise\grpwise.exe)", false},
        {"/kf", {registry, messengerDlls, clientDlls, "Done"}, R"(C:\WINDOWS\system32\GWENV1.DLL)", true},
        {"/kr", {messengerFiles, clientFiles, "Done"}, R"(C:\WINDOWS\system32\GWENV1.DLL)", false},
        {"/kwt", all, R"(C:\WINDOWS\wt61us.uwl)", true},
        {"/rws", all, R"(C:\WINDOWS\system\MSXML4.DLL)", false},
        {"/nw", all, R"(C:\Novell\GroupWise\grpwise.exe)", true},
        {"", all, R"(C:\WINDOWS\wt61us.uwl)", false},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine(image::LoadMachineImage(files::kImage));
        sim::RunPurgentOnSim(machine, *c.option ? Lines{"/sn", c.option} : Lines{"/sn"});
        EXPECT_EQ(test::TraceOf(machine, "phase"), c.phases) << c.option;
        EXPECT_EQ(image::FindDriveItem(machine.SaveImage().drive, c.item) != nullptr, c.itemStays) << c.option;
    }
}

}  // namespace
}  // namespace purgent
