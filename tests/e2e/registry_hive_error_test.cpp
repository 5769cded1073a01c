// A run of the real purgent.exe that ends on an error inside a mounted user
// hive: the hive is unloaded before the process ends, so the next program can
// load the same file under the same name.
#include <gtest/gtest.h>

#include <string>

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
    EXPECT_EQ(prefix.Run({target.Exe("hiveload.exe"), hive, "tempkey"}, 60), 0) << prefix.Output();
}

PURGENT_E2E_ON_WIN64_AND_WIN32(RegistryHiveErrorOnEachBuild);

}  // namespace
}  // namespace purgent::e2e
