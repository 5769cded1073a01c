// The Windows 10 workstation deployed as SYSTEM on a real Wine machine: bob's
// hive held loaded under his SID, ann's left mounted under the program's own
// name as a killed run would leave it, carl's profile on drive D:, symbolic
// links for the compatibility junctions. The real purgent.exe cleans every
// user and the shared folder stays; purgent-sim does and logs the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../unit/win10_system_expectations.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::win10 {
namespace {

namespace fs = std::filesystem;
using e2e::WindowsPath;
using e2e::Win64Exe;
using image::MachineImage;

constexpr int kTimeoutSeconds = 300;

bool Below(const std::string& path, const std::string& top) {
    return path.size() > top.size() && path[top.size()] == '\\' &&
           image::EqualsIgnoreCase(path.substr(0, top.size()), top);
}

// The image as a Wine machine is seeded with it: bob's loaded hive becomes
// his hive file's keys (hivehold.exe loads it), the leftover mount is made by
// hiveload.exe, and the junctions become symbolic links.
MachineImage WineForm(MachineImage image) {
    const std::string bob = "HKEY_USERS\\" + kBobSid;
    image::RegistryKeys registry, bobs;
    for (image::RegistryKey key : image.registry) {
        if (Below(key.path, bob)) {
            key.path = "HKEY_CURRENT_USER" + key.path.substr(bob.size());
            bobs.push_back(key);
        } else if (!Below(key.path, "HKEY_USERS\\Purgent.UserHive")) {
            registry.push_back(key);
        }
    }
    image.registry = registry;
    for (image::DriveItem& item : image.drive) {
        if (!image::EqualsIgnoreCase(item.path, kBobHive)) continue;
        const std::string text = image::WriteRegText(bobs);
        item.contents.assign(text.begin(), text.end());
    }
    image.machine.locked.clear();
    image.machine.junctions.clear();
    return image;
}

TEST(Windows10AsSystemE2e, EveryUserIsCleanedTheSharedFolderStaysAndThePreviewAgrees) {
    const std::string work = e2e::ArtifactDir() + "/win10-system";
    fs::remove_all(work);
    fs::create_directories(work);
    const MachineImage seeded = image::LoadMachineImage(kImage);
    image::SaveMachineImage(WineForm(seeded), work + "/image");

    e2e::WinePrefix prefix;
    prefix.MapDrive('d');
    ASSERT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(work + "/image")}, kTimeoutSeconds), 0)
        << prefix.Output();
    e2e::MakeLinks(prefix, seeded.machine.junctions);
    e2e::WineProcess holder =
        prefix.Start({Win64Exe("hivehold.exe"), kBobHive, kBobSid, e2e::kHiveHoldReady, e2e::kHiveHoldRelease});
    ASSERT_TRUE(e2e::WaitForFile(prefix.UnixPath(e2e::kHiveHoldReady), kTimeoutSeconds)) << prefix.Output();
    ASSERT_EQ(prefix.Run({Win64Exe("hiveload.exe"), kAnnHive, "Purgent.UserHive", "leave"}, 60), 0)
        << prefix.Output();

    const MachineImage real = e2e::CleanWithHiveHeld(prefix, holder, kBobSid, {"/sn", "/log=" + WindowsPath(work + "/wine.log")},
                                                     work + "/image", work + "/wine");
    const MachineImage simulated = e2e::CleanOnSim(kImage, {"/sn"}, work + "/sim");

    ExpectFilesCleaned(seeded, real, "wine");
    ExpectClientKeysGone(real.registry, "HKEY_CURRENT_USER", "wine: the running user");
    for (const auto& [who, hive] : {std::pair{"ann", kAnnHive}, {"bob", kBobHive}, {"carl", kCarlHive}})
        ExpectClientKeysGone(HiveKeys(real, hive), "HKEY_CURRENT_USER", std::string("wine: ") + who);
    e2e::ExpectSameEvents(kImage, work + "/wine", work + "/sim");
}

}  // namespace
}  // namespace purgent::win10
