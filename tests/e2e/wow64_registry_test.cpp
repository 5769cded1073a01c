// The shipped 32-bit purgent.exe on a 64-bit Windows (WoW64): the client's
// machine-wide keys, written by the 32-bit seed.exe, lie in the 32-bit view
// (WOW6432Node) and go; another program's 64-bit keys of the same paths stay.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../unit/machinewide_image_expectations.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

constexpr int kTimeoutSeconds = 300;
const std::string kImage = std::string(PURGENT_TEST_DATA) + "/machinewide";
const char* const k64BitBystanders[] = {
    R"(HKLM\SOFTWARE\Novell\GroupWise)",
    R"(HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\GroupWiseUninstallKey)",
};

TEST(Wow64Registry, TheClientsKeysGoFromThe32BitViewAnd64BitKeysOfTheSamePathsStay) {
    const std::string work = ArtifactDir() + "/wow64-registry";
    std::filesystem::remove_all(work);
    WinePrefix prefix(WineArch::Wow64);
    ASSERT_EQ(prefix.Run({kWow64Target.Exe("seed.exe"), WindowsPath(kImage)}, kTimeoutSeconds), 0)
        << prefix.Output();
    for (const char* key : k64BitBystanders) {
        // Seeded by the 32-bit program, the key is not in the 64-bit view yet.
        EXPECT_NE(prefix.Run({"reg", "query", key, "/reg:64"}, 120), 0) << key;
        ASSERT_EQ(prefix.Run({"reg", "add", key, "/v", "Owner", "/d", "64-bit program", "/reg:64", "/f"}, 120), 0)
            << prefix.Output();
    }
    std::vector<std::string> purgent = {kWow64Target.Exe("purgent.exe")};
    purgent.insert(purgent.end(), machinewide::kPurgentArgs.begin(), machinewide::kPurgentArgs.end());
    ASSERT_EQ(prefix.Run(purgent, kTimeoutSeconds), 0) << prefix.Output();
    for (const char* key : k64BitBystanders)
        EXPECT_EQ(prefix.Run({"reg", "query", key, "/v", "Owner", "/reg:64"}, 120), 0) << key;
    ASSERT_EQ(prefix.Run({kWow64Target.Exe("snapshot.exe"), WindowsPath(kImage), WindowsPath(work)}, kTimeoutSeconds),
              0)
        << prefix.Output();
    machinewide::ExpectCleaned(image::LoadMachineImage(kImage).registry, image::LoadMachineImage(work).registry,
                               "32-bit view");
}

}  // namespace
}  // namespace purgent::e2e
