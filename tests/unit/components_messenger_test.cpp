// The Messenger removal: the whole run on tests/data/messenger, its guards,
// the default IM client, and an error inside the walk over the profiles.
#include <gtest/gtest.h>

#include "components/component_phases.h"
#include "discovery/discovery.h"
#include "messenger_image_expectations.h"
#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"
#include "shutdown_sim_machine.h"

namespace purgent::messenger {
namespace {

using Lines = std::vector<std::string>;

TEST(MessengerImage, MessengerGoesAndWhatOthersOwnStays) {
    const image::MachineImage seeded = image::LoadMachineImage(kImage);
    sim::SimMachine machine(seeded);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, kPurgentArgs), 0);
    ExpectCleaned(seeded, machine.SaveImage(), "sim");
}

TEST(MessengerImage, FilesAndRegistryGoOnlyWithTheirOptions) {
    const char* const file = R"(C:\Novell\Messenger\nmcl32.exe)";
    const char* const key = R"(HKEY_LOCAL_MACHINE\Software\Novell\Messenger)";
    const struct {
        Lines args;
        bool fileStays, keyStays;
    } cases[] = {
        {{"/sn", "/kc"}, false, false},
        {{"/sn", "/kc", "/kr"}, false, true},
        {{"/sn", "/kc", "/kf"}, true, false},
        {{"/sn", "/kc", "/km"}, true, true},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine(image::LoadMachineImage(kImage));
        sim::RunPurgentOnSim(machine, c.args);
        const image::MachineImage saved = machine.SaveImage();
        const std::string options = c.args.back();
        EXPECT_EQ(image::FindDriveItem(saved.drive, file) != nullptr, c.fileStays) << options;
        EXPECT_EQ(image::FindKey(saved.registry, key) != nullptr, c.keyStays) << options;
        // The DLL is unregistered with the registry, not with the files.
        EXPECT_EQ(test::TraceOf(machine, "launch").size(), c.keyStays ? 0u : 1u) << options;
    }
}

TEST(MessengerRegistration, TheDefaultImClientIsEmptiedOnlyWhenItIsMessenger) {
    const std::string im = R"(HKEY_LOCAL_MACHINE\Software\Clients\IM)";
    for (const std::string owner : {"Novell Messenger", "novell messenger", "Novell Messenger 2"}) {
        testing::RegistryTestMachine m("[" + im + "]\n@=\"" + owner + "\"\n\n[" + im + "\\Novell Messenger]\n");
        m.ctx.profiles = {""};
        DeleteMessengerRegistration(m.ctx);
        EXPECT_EQ(m.StringValue(im, ""), owner == "Novell Messenger" ? "" : owner);
        EXPECT_FALSE(m.HasKey(im + "\\Novell Messenger"));
    }
}

TEST(MessengerFiles, AnErrorInTheProfileWalkEndsTheWalkOnly) {
    testing::RegistryTestMachine m(image::LoadMachineImage(kImage));
    DiscoverLocations(m.ctx);
    m.view.failOn = R"(\ann\)";
    DeleteMessengerFiles(m.ctx);
    const image::DriveItems drive = m.machine.SaveImage().drive;
    const std::string data = R"(\Local Settings\Application Data\Novell\GroupWise Messenger\settings.xml)";
    EXPECT_NE(image::FindDriveItem(drive, R"(C:\Documents and Settings\ann)" + data), nullptr);
    EXPECT_NE(image::FindDriveItem(drive, R"(C:\Documents and Settings\bob)" + data), nullptr);
    EXPECT_EQ(image::FindDriveItem(drive, R"(C:\Novell\Messenger\nmcl32.exe)"), nullptr);
    EXPECT_EQ(image::FindDriveItem(
                  drive, R"(C:\Program Files\InstallShield Installation Information\{3FC0833E-073C-4D5D-A046-74BC32358CB3})"),
              nullptr);
}

}  // namespace
}  // namespace purgent::messenger
