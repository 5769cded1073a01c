#include "image/machine_image.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <unordered_set>

#include "image/ansi_text.h"
#include "image/drive_folder.h"

namespace purgent::image {
namespace fs = std::filesystem;
namespace {

const char* const kRegistryFile = "registry.reg";
const char* const kMachineFile = "machine.ini";
const char* const kDriveFolder = "drive";

std::string Child(const std::string& dir, const char* name) {
    return Utf8Text(Utf8Path(dir) / name);
}

// A hive file is checked when the image is read, as registry.reg is: a user
// whose hive would not load must not be left uncleaned without a word.
void CheckHiveFiles(const DriveItems& drive, const std::string& driveDir) {
    for (const DriveItem& item : drive)
        if (IsHiveFile(item)) ParseHiveText(item.contents, Utf8Text(HostPath(driveDir, item.path)));
}

// Whether the image holds this part (checked as CheckImagePath does).
bool HasPart(const std::string& path, const std::string& dir) {
    if (!fs::exists(fs::symlink_status(Utf8Path(path)))) return false;
    CheckImagePath(Utf8Path(path), Utf8Path(dir));
    return true;
}

std::string Folded(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(), FoldCase);
    return path;
}

// The folded paths of the drive's items: what machine.ini's paths must name.
std::function<bool(const std::string&)> DriveLookup(const DriveItems& drive) {
    auto paths = std::make_shared<std::unordered_set<std::string>>();
    for (const DriveItem& item : drive) paths->insert(Folded(item.path));
    return [paths](const std::string& path) { return paths->count(Folded(path)) != 0; };
}

// A link key that is a key of its registry too, or lies in another link,
// cannot be made on Windows, nor told apart from that key in the simulator.
void CheckRegistryLinks(const MachineImage& image, const std::string& machineFile) {
    std::map<std::string, std::vector<RegistryLink>> byHive;  // folded hive file ("" registry.reg) -> its links
    for (const RegistryLink& link : image.machine.registryLinks) byHive[Folded(link.hive)].push_back(link);
    for (const auto& [folded, links] : byHive) {
        const std::string& hive = links.front().hive;
        const DriveItem* file = hive.empty() ? nullptr : FindDriveItem(image.drive, hive);
        if (!hive.empty() && !file) continue;  // named by a caller that does not check the drive
        const RegistryKeys net = NetRegistry(file ? ParseHiveText(file->contents, hive) : image.registry);
        const std::string conflict = RegistryLinkConflict(net, links);
        if (!conflict.empty()) throw ImageError(machineFile + ": [registry-link] " + conflict);
    }
}

MachineImage LoadExistingParts(const std::string& dir) {
    MachineImage image;
    // A mistyped folder must not pass for a bare workstation.
    if (!fs::exists(Utf8Path(dir))) throw ImageError(dir + ": no such folder");
    if (!fs::is_directory(Utf8Path(dir))) throw ImageError(dir + ": not a folder");
    const std::string registryFile = Child(dir, kRegistryFile);
    if (HasPart(registryFile, dir)) image.registry = ParseRegText(ReadFileBytes(registryFile), registryFile);
    image.drive = LoadDriveFolder(Child(dir, kDriveFolder), dir);
    const std::string machineFile = Child(dir, kMachineFile);
    if (HasPart(machineFile, dir)) {
        const Bytes text = ReadFileBytes(machineFile);
        image.machine = ParseMachineIni(std::string(text.begin(), text.end()), machineFile, DriveLookup(image.drive));
    }
    CheckHiveFiles(image.drive, Child(dir, kDriveFolder));
    CheckRegistryLinks(image, machineFile);
    return image;
}

}  // namespace

const DriveItem* FindDriveItem(const DriveItems& items, const std::string& path) {
    const auto found = std::find_if(items.begin(), items.end(), [&](const DriveItem& item) {
        return EqualsIgnoreCase(item.path, path);
    });
    return found == items.end() ? nullptr : &*found;
}

void ForgetDeletedFiles(MachineIni& machine, const DriveItems& drive) {
    const auto gone = [&drive](const std::string& path) { return !FindDriveItem(drive, path); };
    std::erase_if(machine.locked, gone);
    std::erase_if(machine.dlls, [&gone](const DllEntry& dll) { return gone(dll.path); });
    std::erase_if(machine.registryLinks, [&gone](const RegistryLink& link) { return !link.hive.empty() && gone(link.hive); });
}

bool IsHiveFile(const DriveItem& item) {
    const auto slash = item.path.rfind('\\');
    return !item.folder && EqualsIgnoreCase(item.path.substr(slash + 1), "ntuser.dat");
}

MachineImage LoadMachineImage(const std::string& dir) {
    try {
        return LoadExistingParts(dir);
    } catch (const fs::filesystem_error& error) {
        throw ImageError(dir + ": " + error.what());
    }
}

void SaveMachineImage(const MachineImage& image, const std::string& dir) {
    try {
        fs::create_directories(Utf8Path(dir));
        fs::remove_all(Utf8Path(Child(dir, kDriveFolder)));
        const std::string registry = WriteRegText(image.registry);
        WriteFileBytes(Child(dir, kRegistryFile), Bytes(registry.begin(), registry.end()));
        const std::string machine = WriteMachineIni(image.machine);
        WriteFileBytes(Child(dir, kMachineFile), Bytes(machine.begin(), machine.end()));
        fs::create_directories(Utf8Path(Child(dir, kDriveFolder)));
        SaveDriveFolder(image.drive, Child(dir, kDriveFolder));
    } catch (const fs::filesystem_error& error) {
        throw ImageError(dir + ": " + error.what());
    }
}

}  // namespace purgent::image
