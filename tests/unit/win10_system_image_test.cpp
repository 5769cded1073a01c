// A whole run on a Windows 10 workstation deployed as SYSTEM: ann not logged
// on, bob logged on, carl's profile on D:, a mount a killed run left behind,
// and an App Paths entry naming Common Files.
#include <gtest/gtest.h>

#include <algorithm>

#include "purgent_sim/run_purgent.h"
#include "shutdown_sim_machine.h"
#include "win10_system_expectations.h"

namespace purgent::win10 {
namespace {

bool UnderSharedFolder(const std::string& eventFields) {
    return eventFields.size() > kSharedFolder.size() &&
           image::EqualsIgnoreCase(eventFields.substr(0, kSharedFolder.size()), kSharedFolder);
}

TEST(Windows10AsSystem, EveryUsersClientKeysAndFilesGoAndNothingUnderTheSharedFolder) {
    const image::MachineImage seeded = image::LoadMachineImage(kImage);
    sim::SimMachine machine(seeded);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    const image::MachineImage after = machine.SaveImage();

    ExpectFilesCleaned(seeded, after, "sim");
    ExpectClientKeysGone(after.registry, "HKEY_CURRENT_USER", "SYSTEM");
    ExpectClientKeysGone(HiveKeys(after, kAnnHive), "HKEY_CURRENT_USER", "ann");
    ExpectClientKeysGone(after.registry, "HKEY_USERS\\" + kBobSid, "bob");
    ExpectClientKeysGone(HiveKeys(after, kCarlHive), "HKEY_CURRENT_USER", "carl");
    for (const char* event : {"file-delete", "dir-remove", "file-attr"})
        for (const std::string& fields : test::TraceOf(machine, event))
            EXPECT_FALSE(UnderSharedFolder(fields)) << event << " " << fields;
}

// The leftover goes before the first mount; bob's loaded hive is used where
// it is, the others are mounted from their own folders and none stays.
TEST(Windows10AsSystem, TheLeftoverMountGoesFirstAndOnlyTheOtherUsersHivesAreMounted) {
    sim::SimMachine machine(image::LoadMachineImage(kImage));
    sim::RunPurgentOnSim(machine, {"/sn"});
    const image::MachineImage after = machine.SaveImage();
    EXPECT_FALSE(image::FindKey(after.registry, "HKEY_USERS\\Purgent.UserHive"));
    EXPECT_TRUE(image::FindKey(after.registry, "HKEY_USERS\\" + kBobSid));
    const std::vector<std::string>& lines = machine.Trace().Lines();
    const auto firstLoad = std::find_if(lines.begin(), lines.end(),
                                        [](const std::string& line) { return line.rfind("hive-load\t", 0) == 0; });
    EXPECT_NE(std::find(lines.begin(), firstLoad, "hive-unload\tPurgent.UserHive"), firstLoad);
    const std::vector<std::string> loads = test::TraceOf(machine, "hive-load");
    EXPECT_FALSE(loads.empty());
    for (const std::string& load : loads)
        EXPECT_TRUE(load == "Purgent.UserHive\tC:\\Users\\ann\\ntuser.dat" ||
                    load == "Purgent.UserHive\tD:\\Profiles\\carl\\ntuser.dat")
            << load;
    EXPECT_EQ(test::TraceOf(machine, "hive-unload").size(), loads.size() + 1);
}

}  // namespace
}  // namespace purgent::win10
