// The real purgent.exe's mounts of other users' hives: a run that ends on an
// error inside a mounted hive unloads it before the process ends, so the next
// program can load the same file under the same name; a mount a killed run
// left behind is unloaded by the next run, which then cleans its user.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "image/machine_image.h"

#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

constexpr int kTimeoutSeconds = 300;
// ann's hive holds "RequestMakeCall" as a DWORD.
const std::string kImage = std::string(PURGENT_TEST_DATA) + "/bad-hive-value";

using RegistryHiveErrorOnEachBuild = ::testing::TestWithParam<E2eTarget>;

TEST_P(RegistryHiveErrorOnEachBuild, AfterAnErrorExitTheUsersHiveLoadsAgain) {
    const E2eTarget& target = GetParam();
    WinePrefix prefix(target.arch);
    // A hive left loaded lives as long as the wineserver: keep it running.
    WineProcess keeper = prefix.Start({target.Exe("marker.exe"), "C:\\keeper.txt", "600000"});
    ASSERT_EQ(prefix.Run({target.Exe("seed.exe"), WindowsPath(kImage)}, kTimeoutSeconds), 0) << prefix.Output();
    WineProcess purgent = prefix.Start({target.Exe("purgent.exe"), "/s", "/km"});
    EXPECT_EQ(prefix.Run({target.Exe("uihelper.exe"), "box", "Invalid data type for 'RequestMakeCall'.", "120"},
                         kTimeoutSeconds),
              0)
        << prefix.Output();
    EXPECT_EQ(purgent.Wait(60), 2) << prefix.Output();
    const std::string hive = "C:\\Documents and Settings\\ann\\ntuser.dat";
    EXPECT_EQ(prefix.Run({target.Exe("hiveload.exe"), hive, "Purgent.UserHive"}, 60), 0) << prefix.Output();
}

TEST(RegistryHiveLeftoverE2e, AMountAKilledRunLeftIsUnloadedAndItsUserCleaned) {
    WinePrefix prefix;
    WineProcess keeper = prefix.Start({Win64Exe("marker.exe"), "C:\\keeper.txt", "600000"});
    const std::string users = std::string(PURGENT_TEST_DATA) + "/users";
    ASSERT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(users)}, kTimeoutSeconds), 0) << prefix.Output();
    const std::string hive = "C:\\Documents and Settings\\ann\\ntuser.dat";
    ASSERT_EQ(prefix.Run({Win64Exe("hiveload.exe"), hive, "Purgent.UserHive", "leave"}, 60), 0) << prefix.Output();
    EXPECT_EQ(prefix.Run({Win64Exe("purgent.exe"), "/sn", "/km"}, kTimeoutSeconds), 0) << prefix.Output();
    // Neither the leftover nor the run's own mount of ann's hive is still loaded.
    EXPECT_EQ(prefix.Run({Win64Exe("hiveload.exe"), hive, "Purgent.UserHive"}, 60), 0) << prefix.Output();
    const std::string out = ArtifactDir() + "/hive-leftover";
    std::filesystem::remove_all(out);
    ASSERT_EQ(prefix.Run({Win64Exe("snapshot.exe"), WindowsPath(users), WindowsPath(out)}, kTimeoutSeconds), 0)
        << prefix.Output();
    const image::MachineImage after = image::LoadMachineImage(out);
    const image::DriveItem* cleaned = image::FindDriveItem(after.drive, hive);
    ASSERT_NE(cleaned, nullptr);
    const image::RegistryKeys keys = image::ParseHiveText(cleaned->contents, "ann");
    EXPECT_EQ(image::FindKey(keys, "HKEY_CURRENT_USER\\Software\\Novell\\GroupWise\\Client"), nullptr);
    EXPECT_NE(image::FindKey(keys, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.txt\\OpenWithList"),
              nullptr);
}

PURGENT_E2E_ON_WIN64_AND_WIN32(RegistryHiveErrorOnEachBuild);

}  // namespace
}  // namespace purgent::e2e
