// A whole run as SYSTEM on a Windows 10 workstation joined to Microsoft Entra
// ID: the local, the domain and the Entra ID user lose the client's keys and
// files; the profiles of the system's own accounts keep theirs.
#include <gtest/gtest.h>

#include "files_image_expectations.h"
#include "purgent_sim/run_purgent.h"
#include "shutdown_sim_machine.h"

namespace purgent {
namespace {

const std::string kImage = std::string(PURGENT_TEST_DATA) + "/entra-users";

struct ProfileCase {
    const char* what;
    std::string folder;
    bool cleaned;
};

image::RegistryKeys HiveKeys(const image::MachineImage& machine, const std::string& folder) {
    const std::string file = folder + "\\NTUSER.DAT";
    const image::DriveItem* hive = image::FindDriveItem(machine.drive, file);
    return hive ? image::NetRegistry(image::ParseHiveText(hive->contents, file)) : image::RegistryKeys{};
}

TEST(EntraIdUsers, AreCleanedAsLocalAndDomainUsersAndServiceAccountsAreNot) {
    const std::vector<ProfileCase> profiles = {
        {"local user", "C:\\Users\\ann", true},
        {"domain user", "C:\\Users\\bob.CORP", true},
        {"Entra ID user", "C:\\Users\\CarolSmith", true},
        {"LOCAL SERVICE", "C:\\Windows\\ServiceProfiles\\LocalService", false},
        {"NETWORK SERVICE", "C:\\Windows\\ServiceProfiles\\NetworkService", false},
        {"a service's virtual account", "C:\\Windows\\ServiceProfiles\\MSSQLSERVER", false},
        {"an IIS application pool", "C:\\Users\\DefaultAppPool", false},
    };
    const image::MachineImage seeded = image::LoadMachineImage(kImage);
    sim::SimMachine machine(seeded);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    const image::MachineImage after = machine.SaveImage();
    const std::vector<std::string> gone = files::ExpectedGone(kImage);
    for (const image::DriveItem& item : seeded.drive)
        EXPECT_EQ(image::FindDriveItem(after.drive, item.path) == nullptr, files::Listed(gone, item.path)) << item.path;
    for (const ProfileCase& profile : profiles) {
        SCOPED_TRACE(profile.what);
        const image::RegistryKeys keys = HiveKeys(after, profile.folder);
        ASSERT_FALSE(keys.empty());
        EXPECT_EQ(image::FindKey(keys, "HKEY_CURRENT_USER\\Software\\Novell\\GroupWise") == nullptr, profile.cleaned);
        EXPECT_TRUE(image::FindKey(keys, "HKEY_CURRENT_USER\\Software\\Novell\\GroupWare"));
    }
    for (const std::string& load : test::TraceOf(machine, "hive-load")) {
        const bool userHive = load.find("C:\\Users\\ann\\") != std::string::npos ||
                              load.find("C:\\Users\\bob.CORP\\") != std::string::npos ||
                              load.find("C:\\Users\\CarolSmith\\") != std::string::npos;
        EXPECT_TRUE(userHive) << load;
    }
}

}  // namespace
}  // namespace purgent
