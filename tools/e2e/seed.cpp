// seed.exe <image-dir>: makes the machine it runs on look like the machine image.
//   registry.reg is written through the registry API ([-KEY] deletes);
//   drive/<LETTER>/... is copied to <LETTER>:\ ;
//   every ntuser.dat becomes a hive file holding its .reg text's keys;
//   [attributes] are set last.
// Files of [locked] are not held open: that needs a process that outlives
// the seeding, which the tests needing it start themselves.
#include "image/machine_image.h"
#include "seed_registry.h"

namespace purgent::e2e {
namespace {

const char* const kHiveBuildKey = "PurgentSeedHive";

// Builds the hive's keys under HKEY_CURRENT_USER\PurgentSeedHive and saves
// that key as the hive file.
void WriteHiveFile(const image::DriveItem& item) {
    const image::RegistryKeys keys = image::ParseHiveText(item.contents, item.path);
    const KeyLocation buildKey{HKEY_CURRENT_USER, kHiveBuildKey};
    DeleteKeyTree(buildKey);
    HKEY created = nullptr;
    if (RegCreateKeyExA(buildKey.root, buildKey.subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                        nullptr) != ERROR_SUCCESS)
        throw HelperError("cannot create HKEY_CURRENT_USER\\" + buildKey.subKey);
    ApplyRegistryKeys(keys, [&](const std::string& path) {
        const std::string below = path.substr(std::string("HKEY_CURRENT_USER").size());
        return KeyLocation{HKEY_CURRENT_USER, kHiveBuildKey + below};
    });
    if (PathExists(item.path)) {
        SetFileAttributesA(item.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(item.path.c_str());
    }
    const LONG status = RegSaveKeyA(created, item.path.c_str(), nullptr);
    RegCloseKey(created);
    DeleteKeyTree(buildKey);
    if (status != ERROR_SUCCESS)
        throw HelperError("RegSaveKeyA " + item.path + " failed with error " + std::to_string(status));
}

void CopyDriveItem(const image::DriveItem& item) {
    if (item.folder) return CreateFolders(item.path);
    CreateFolders(item.path.substr(0, item.path.rfind('\\')));
    if (image::IsHiveFile(item)) WriteHiveFile(item);
    else WriteWholeFile(item.path, item.contents);
}

void Seed(const std::string& imageDir) {
    const image::MachineImage machine = image::LoadMachineImage(imageDir);
    EnablePrivilege("SeBackupPrivilege");
    ApplyRegistryKeys(machine.registry, LocateKey);
    for (const image::DriveItem& item : machine.drive) CopyDriveItem(item);
    for (const image::FileAttributes& entry : machine.machine.attributes)
        if (!SetFileAttributesA(entry.path.c_str(), entry.attributes ? entry.attributes : FILE_ATTRIBUTE_NORMAL))
            throw HelperError("cannot set the attributes of " + entry.path);
}

}  // namespace
}  // namespace purgent::e2e

int main(int argc, char** argv) {
    return purgent::e2e::RunHelper(argc, argv, "seed", {"<image-dir>"},
                                   [](char** arguments) { purgent::e2e::Seed(arguments[0]); });
}
