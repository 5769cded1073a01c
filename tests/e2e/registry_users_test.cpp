// The per-user registry cleaning of the real purgent.exe on a Wine machine
// seeded with three user profiles: the client's traces go from every hive and
// from .DEFAULT, everything else stays byte for byte, and purgent-sim cleans
// the same image to the same result.
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
using image::RegistryValue;

const std::string kImage = std::string(PURGENT_TEST_DATA) + "/users";
const std::vector<std::string> kPurgentArgs = {"/sn", "/km"};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Within(const std::string& path, const std::string& tree) {
    const std::string p = Lower(path), t = Lower(tree);
    return p == t || (p.size() > t.size() && p.compare(0, t.size(), t) == 0 && p[t.size()] == '\\');
}

// One user's registry as an image holds it: the keys under a root, as the
// document names them (a snapshot reads only the named keys back).
struct UserRegistry {
    std::string name;
    std::string root;  // "HKEY_CURRENT_USER" (also inside hive files)
    RegistryKeys keys;
};

UserRegistry UserOf(const std::string& name, const std::string& root, const RegistryKeys& machine) {
    UserRegistry user{name, root, {}};
    for (const RegistryKey& key : machine)
        if (Within(key.path, root)) user.keys.push_back(key);
    return user;
}

std::vector<UserRegistry> Users(const MachineImage& machine) {
    std::vector<UserRegistry> users = {UserOf("jo", "HKEY_CURRENT_USER", machine.registry),
                                       UserOf(".DEFAULT", "HKEY_USERS\\.DEFAULT", machine.registry)};
    for (const std::string profile : {"ann", "bob"}) {
        const image::DriveItem* hive =
            image::FindDriveItem(machine.drive, "C:\\Documents and Settings\\" + profile + "\\ntuser.dat");
        users.push_back({profile, "HKEY_CURRENT_USER",
                         hive ? image::ParseHiveText(hive->contents, profile) : RegistryKeys{}});
    }
    return users;
}

const char* const kMessaging[] = {
    "\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles",
    "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles",
};
const std::string kExplorer = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// The client's keys: they go with everything below them.
std::vector<std::string> TraceTrees(const std::string& root) {
    std::vector<std::string> trees = {
        root + "\\AppEvents\\EventLabels\\NGD_Ringin",
        root + "\\AppEvents\\Schemes\\Apps\\ConvPlace",
        root + kExplorer + "\\FileExts\\.vew",
        root + kExplorer + "\\MenuOrder\\Start Menu\\Programs\\Novell GroupWise",
        root + kExplorer + "\\MenuOrder\\Start Menu2\\Programs\\GroupWise",
        root + "\\Software\\Microsoft\\Installer\\Features\\96C870DFC415EFB4B814255E25456303",
        root + "\\Software\\Microsoft\\Installer\\Products\\96C870DFC415EFB4B814255E25456303",
        root + "\\Software\\Microsoft\\Installer\\UpgradeCodes\\7090B36299023AC48902BDC961E152BA",
        root + "\\Software\\Novell\\GroupWise",
        root + "\\Software\\Novell\\Spell Checker",
        root + "\\Software\\Novell\\User Word List",
    };
    for (const char* messaging : kMessaging) {
        trees.push_back(root + messaging + "\\Novell GroupWise");
        trees.push_back(root + messaging + "\\Novell Default Settings");
    }
    return trees;
}

// What the cleaning leaves of one value: absent, unchanged, or new string data.
enum class Fate { Gone, Kept, Outlook };

Fate ValueFate(const std::string& keyPath, const RegistryValue& value) {
    const std::string key = Lower(keyPath), name = Lower(value.name);
    const std::string data(value.data.begin(), value.data.end());
    if (name.rfind("microsoft.msxml2", 0) == 0 && key.find("win32assemblies\\global") != std::string::npos)
        return Fate::Gone;
    if (name == "requestmakecall") return Lower(data).find("groupwise") != std::string::npos ? Fate::Gone : Fate::Kept;
    if (name == "defaultprofile") return Fate::Outlook;
    if (key.find("\\openwithlist") != std::string::npos && data == std::string("GrpWise.exe") + '\0') return Fate::Gone;
    return Fate::Kept;
}

bool UnderAny(const std::string& path, const std::vector<std::string>& trees) {
    for (const std::string& tree : trees)
        if (Within(path, tree)) return true;
    return false;
}

// Checks a cleaned user against the user as seeded.
void ExpectCleaned(const UserRegistry& before, const UserRegistry& after, const std::string& who) {
    const std::vector<std::string> traces = TraceTrees(before.root);
    for (const RegistryKey& key : before.keys) {
        const RegistryKey* found = image::FindKey(after.keys, key.path);
        if (UnderAny(key.path, traces)) {
            EXPECT_EQ(found, nullptr) << who << ": trace left: " << key.path;
            continue;
        }
        ASSERT_NE(found, nullptr) << who << ": lost " << key.path;
        for (const RegistryValue& value : key.values) {
            const RegistryValue* now = image::FindValue(*found, value.name);
            switch (ValueFate(key.path, value)) {
                case Fate::Gone: EXPECT_EQ(now, nullptr) << who << ": " << key.path << " " << value.name; break;
                case Fate::Outlook:
                    ASSERT_NE(now, nullptr) << who << ": " << key.path;
                    EXPECT_EQ(std::string(now->data.begin(), now->data.end()), std::string("Outlook") + '\0');
                    break;
                case Fate::Kept:
                    ASSERT_NE(now, nullptr) << who << ": lost " << key.path << " " << value.name;
                    EXPECT_EQ(now->type, value.type) << who << ": " << key.path << " " << value.name;
                    EXPECT_EQ(now->data, value.data) << who << ": " << key.path << " " << value.name;
            }
        }
    }
}

// The other profiles' hives are read back from their files, so this also
// checks that the changes made in a mounted hive outlive its unload.
TEST(RegistryUsersE2e, TracesGoFromEveryHiveOtherDataStaysAndTheSimAgrees) {
    const std::string work = ArtifactDir() + "/registry-users";
    fs::remove_all(work);
    fs::create_directories(work);
    const std::vector<UserRegistry> seeded = Users(image::LoadMachineImage(kImage));
    const std::vector<UserRegistry> real = Users(CleanOnWine(kImage, kPurgentArgs, work + "/wine"));
    const std::vector<UserRegistry> simulated = Users(CleanOnSim(kImage, kPurgentArgs, work + "/sim"));
    ExpectSameEvents(work + "/wine", work + "/sim");
    for (std::size_t i = 0; i < seeded.size(); ++i) {
        ExpectCleaned(seeded[i], real[i], "wine " + seeded[i].name);
        ExpectCleaned(seeded[i], simulated[i], "sim " + seeded[i].name);
        ExpectSameOnNamedData(seeded[i].keys, real[i].keys, simulated[i].keys, seeded[i].name);
    }
}

}  // namespace
}  // namespace purgent::e2e
