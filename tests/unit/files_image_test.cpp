// The client file phase of the whole program on the simulated workstation of
// tests/data/files, and its options and closing messages.
#include <gtest/gtest.h>

#include "files_image_expectations.h"
#include "purgent_sim/run_purgent.h"
#include "shutdown_sim_machine.h"

namespace purgent::files {
namespace {

using Lines = std::vector<std::string>;

TEST(FilesImage, ClientFilesGoOthersStayAndTheHeldAddInIsReported) {
    const image::MachineImage seeded = image::LoadMachineImage(kImage);
    sim::SimMachine machine(seeded);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, kPurgentArgs), 0);
    ExpectCleaned(seeded, machine.SaveImage(), kImage, "sim");
    Lines messages;
    for (const std::string& message : kMessages) messages.push_back(EventField(message));
    EXPECT_EQ(test::TraceOf(machine, "message"), messages);
}

TEST(FilesImage, OptionsKeepTheirFiles) {
    const std::pair<Lines, std::string> cases[] = {
        {{"/sn", "/kf"}, R"(C:\WINDOWS\system32\GWENV1.DLL)"},        // no file at all
        {{"/sn", "/kc"}, R"(C:\ffastun.ffa)"},                        // nor without the client
        {{"/sn", "/nw"}, R"(C:\Novell\GroupWise\grpwise.exe)"},       // the distribution's files
        {{"/sn", "/kwt"}, R"(C:\WINDOWS\wt61us.uwl)"},                // the Writing Tools'
        {{"/sn", "/nw"}, R"(C:\Novell\GroupWise\PPForms\form.ppf)"},
    };
    for (const auto& [args, kept] : cases) {
        sim::SimMachine machine(image::LoadMachineImage(kImage));
        sim::RunPurgentOnSim(machine, args);
        EXPECT_NE(image::FindDriveItem(machine.SaveImage().drive, kept), nullptr) << args[1] << " " << kept;
    }
    sim::SimMachine removing(image::LoadMachineImage(kImage));
    sim::RunPurgentOnSim(removing, {"/sn", "/rws"});
    EXPECT_EQ(image::FindDriveItem(removing.SaveImage().drive, R"(C:\WINDOWS\system\MSXML4.DLL)"), nullptr);
    EXPECT_NE(image::FindDriveItem(removing.SaveImage().drive, R"(C:\WINDOWS\system32\MSXML4.DLL)"), nullptr);
}

// The Word integration library held open in one of the system folders.
Lines MessagesWithWordHeldIn(const std::string& folder, const std::string& mode) {
    image::MachineImage image;
    const std::string library = R"(C:\WINDOWS\)" + folder + R"(\GWODM132.DLL)";
    image.drive = {{R"(C:\WINDOWS)", true, {}}, {R"(C:\WINDOWS\)" + folder, true, {}}, {library, false, {}}};
    image.machine.locked = {library};
    sim::SimMachine machine(image);
    sim::RunPurgentOnSim(machine, {mode});
    return test::TraceOf(machine, "message");
}

TEST(FilesImage, OnlyAWordLibraryHeldInSystem32IsReported) {
    const std::string word = EventField(
        "Purgent could not remove Word ODMA Integrations\n\nRerun Purgent with all Word processes closed.");
    EXPECT_EQ(MessagesWithWordHeldIn("system32", "/s"), (Lines{word, "Purgent - Completed"}));
    EXPECT_EQ(MessagesWithWordHeldIn("system", "/s"), (Lines{"Purgent - Completed"}));
    EXPECT_EQ(MessagesWithWordHeldIn("system32", "/sn"), Lines{});
}

}  // namespace
}  // namespace purgent::files
