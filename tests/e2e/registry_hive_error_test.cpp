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

TEST(RegistryHiveErrorE2e, AfterAnErrorExitTheUsersHiveLoadsAgain) {
    WinePrefix prefix;
    // A hive left loaded lives as long as the wineserver: keep it running.
    WineProcess keeper = prefix.Start({Win64Exe("marker.exe"), "C:\\keeper.txt", "600000"});
    ASSERT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(kImage)}, kTimeoutSeconds), 0) << prefix.Output();
    WineProcess purgent = prefix.Start({Win64Exe("purgent.exe"), "/s", "/km"});
    EXPECT_EQ(prefix.Run({Win64Exe("uihelper.exe"), "box", "Invalid data type for 'RequestMakeCall'.", "120"},
                         kTimeoutSeconds),
              0)
        << prefix.Output();
    EXPECT_EQ(purgent.Wait(60), 2) << prefix.Output();
    const std::string hive = "C:\\Documents and Settings\\ann\\ntuser.dat";
    EXPECT_EQ(prefix.Run({Win64Exe("hiveload.exe"), hive, "tempkey"}, 60), 0) << prefix.Output();
}

}  // namespace
}  // namespace purgent::e2e
