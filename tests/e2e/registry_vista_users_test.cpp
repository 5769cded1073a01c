// Windows 7's profile layout on a real Wine machine: profiles under C:\users,
// a "Documents and Settings" link to it, no "Logon User Name". ann is not
// logged on (only her hive file), bob is (his hive stays loaded under
// HKEY_USERS\<SID> while the run goes). Both lose the client's keys and keep
// the rest; bob's hive is still loaded afterwards and no hive the run loaded
// is left behind; purgent-sim cleans the same workstation alike.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;
using image::MachineImage;
using image::RegistryKey;
using image::RegistryKeys;

constexpr int kTimeoutSeconds = 300;
const std::string kImage = std::string(PURGENT_TEST_DATA) + "/vista-users";
const std::string kBobSid = "S-1-5-21-3623811015-3361044348-30300820-1002";
const std::string kCurSid = "S-1-5-21-3623811015-3361044348-30300820-1003";
const std::string kAnnHive = "C:\\Users\\ann\\NTUSER.DAT";
const std::string kBobHive = "C:\\Users\\bob.CORP\\NTUSER.DAT";

// Whether a path lies at or below prefix, letters in any case.
bool StartsWith(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return text.size() == prefix.size() || text[prefix.size()] == '\\';
}

// The image as the simulator reads it models bob's loaded hive as keys under
// HKEY_USERS\<SID> and the running user's hive as a held file. On Wine, bob's
// hive is loaded for real by hivehold.exe, the prefix's own user runs the
// program, and a symbolic link stands in for the junction.
MachineImage WineForm(MachineImage image) {
    RegistryKeys registry;
    for (const RegistryKey& key : image.registry)
        if (!StartsWith(key.path, "HKEY_USERS\\" + kBobSid) && key.path.find(kCurSid) == std::string::npos)
            registry.push_back(key);
    image.registry = registry;
    image::DriveItems drive;
    for (const image::DriveItem& item : image.drive)
        if (!StartsWith(item.path, "C:\\Users\\cur")) drive.push_back(item);
    image.drive = drive;
    image.machine.locked.clear();
    image.machine.junctions.clear();
    return image;
}

// One user's keys, rooted at HKEY_CURRENT_USER as a hive file holds them.
RegistryKeys UserKeys(const RegistryKeys& registry, const std::string& root) {
    RegistryKeys keys;
    for (RegistryKey key : image::NetRegistry(registry)) {
        if (!StartsWith(key.path, root)) continue;
        key.path = "HKEY_CURRENT_USER" + key.path.substr(root.size());
        keys.push_back(key);
    }
    return keys;
}

RegistryKeys HiveKeys(const MachineImage& machine, const std::string& file) {
    const image::DriveItem* hive = image::FindDriveItem(machine.drive, file);
    return hive ? image::NetRegistry(image::ParseHiveText(hive->contents, file)) : RegistryKeys{};
}

void ExpectClientKeysGoneOthersKept(const RegistryKeys& keys, const std::string& who) {
    for (const char* gone : {"\\Software\\Novell\\GroupWise", "\\AppEvents\\EventLabels\\NGD_Ringin"})
        EXPECT_FALSE(image::FindKey(keys, std::string("HKEY_CURRENT_USER") + gone)) << who << gone;
    for (const char* kept :
         {"\\Software\\Novell\\GroupWare", "\\Software\\Other Vendor\\Mailer", "\\AppEvents\\EventLabels\\NGD_Ringout"})
        EXPECT_TRUE(image::FindKey(keys, std::string("HKEY_CURRENT_USER") + kept)) << who << kept;
}

TEST(RegistryVistaUsersE2e, LoggedOnAndOtherUsersAreCleanedWithoutALogonName) {
    const std::string work = ArtifactDir() + "/registry-vista-users";
    fs::remove_all(work);
    fs::create_directories(work);
    const MachineImage seeded = image::LoadMachineImage(kImage);
    image::SaveMachineImage(WineForm(seeded), work + "/image");

    WinePrefix prefix;
    ASSERT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(work + "/image")}, kTimeoutSeconds), 0)
        << prefix.Output();
    fs::create_directory_symlink("users", prefix.UnixPath("C:\\") + "/Documents and Settings");
    WineProcess holder = prefix.Start({Win64Exe("hivehold.exe"), kBobHive, kBobSid, kHiveHoldReady, kHiveHoldRelease});
    ASSERT_TRUE(WaitForFile(prefix.UnixPath(kHiveHoldReady), kTimeoutSeconds)) << prefix.Output();

    const MachineImage real = CleanWithHiveHeld(prefix, holder, kBobSid, {"/sn"}, work + "/image", work + "/wine");
    const MachineImage simulated = CleanOnSim(kImage, {"/sn"}, work + "/sim");

    const struct {
        const char* who;
        RegistryKeys before, onWine, inSim;
    } users[] = {
        {"ann", HiveKeys(seeded, kAnnHive), HiveKeys(real, kAnnHive), HiveKeys(simulated, kAnnHive)},
        {"bob", HiveKeys(seeded, kBobHive), HiveKeys(real, kBobHive),
         UserKeys(simulated.registry, "HKEY_USERS\\" + kBobSid)},
        {"current user", UserKeys(seeded.registry, "HKEY_CURRENT_USER"),
         UserKeys(real.registry, "HKEY_CURRENT_USER"), UserKeys(simulated.registry, "HKEY_CURRENT_USER")},
    };
    for (const auto& user : users) {
        ExpectClientKeysGoneOthersKept(user.onWine, std::string("wine ") + user.who);
        ExpectClientKeysGoneOthersKept(user.inSim, std::string("sim ") + user.who);
        ExpectSameOnNamedData(user.before, user.onWine, user.inSim, user.who);
    }
}

}  // namespace
}  // namespace purgent::e2e
