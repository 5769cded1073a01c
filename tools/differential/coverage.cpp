#include "coverage.h"

#include <sstream>

#include "image/ansi_text.h"
#include "platform/registry_service.h"

namespace purgent::differential {
namespace {

const char* const kSzDeleted = "REG_SZ value deleted";
const char* const kDwordDeleted = "REG_DWORD value deleted";
const char* const kOtherDeleted = "value of another type deleted";
const char* const kForced = "read-only file deleted (forced)";
const char* const kJunction = "junction";
const char* const kLoadedHive = "logged-on user's hive";
const char* const kProtected = "protected key";
const char* const kShortName = "file with a short name";
const char* const kDll = "DLL unregistered";
const char* const kMessenger = "Messenger removed";
const char* const kSharedFolder = "App Paths at a shared folder";
const char* const kOtherDrive = "profile on another drive";
const char* const kLeftover = "mount left by a killed run";
const char* const kLink = "link ([reparse])";
const char* const kRegistryLink = "registry link";

std::vector<std::vector<std::string>> EventsOf(const std::string& trace) {
    std::vector<std::vector<std::string>> events;
    for (const std::string& line : image::SplitLines(trace)) {
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
        if (!fields.empty()) events.push_back(fields);
    }
    return events;
}

bool ValidShortName(const std::string& name) {
    const auto dot = name.find('.');
    const std::string base = name.substr(0, dot), extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    return !base.empty() && base.size() <= 8 && extension.size() <= 3 && extension.find('.') == std::string::npos &&
           name.find(' ') == std::string::npos;
}

// The type of a value a trace deleted: from the image's registry, or from
// the hive file mounted at the time (its keys under HKEY_CURRENT_USER); 0
// when the image does not name it.
std::uint32_t TypeOf(const image::MachineImage& generated, const std::string& mountedHive, std::string key,
                     const std::string& value) {
    image::RegistryKeys keys = generated.registry;
    const std::string mount = "HKEY_USERS\\Purgent.UserHive";
    if (image::EqualsIgnoreCase(key.substr(0, mount.size()), mount)) {
        const image::DriveItem* hive = image::FindDriveItem(generated.drive, mountedHive);
        if (!hive) return 0;
        keys = image::ParseHiveText(hive->contents, mountedHive);
        key = "HKEY_CURRENT_USER" + key.substr(mount.size());
    }
    const image::RegistryKeys net = image::NetRegistry(keys);
    const image::RegistryKey* found = image::FindKey(net, key);
    const image::RegistryValue* named = found ? image::FindValue(*found, value) : nullptr;
    return named ? named->type : 0;
}

bool SharedFolder(const std::string& folder) {
    for (const char* shared : {"C:\\", "C:\\Program Files\\", "C:\\windows\\", "C:\\Program Files\\Common Files\\"})
        if (image::EqualsIgnoreCase(folder, shared)) return true;
    return false;
}

}  // namespace

const std::vector<std::string>& CoverageRows() {
    static const std::vector<std::string> rows = {kSzDeleted, kDwordDeleted, kOtherDeleted, kForced,
                                                  kJunction,  kLoadedHive,   kProtected,    kShortName,
                                                  kDll,       kMessenger,    kSharedFolder, kOtherDrive,
                                                  kLeftover,  kLink, kRegistryLink};
    return rows;
}

std::map<std::string, int> CoverageOf(const image::MachineImage& generated, const std::vector<std::string>& traces) {
    std::map<std::string, int> count;
    for (const std::string& row : CoverageRows()) count[row] = 0;
    count[kJunction] = static_cast<int>(generated.machine.junctions.size());
    count[kProtected] = static_cast<int>(generated.machine.denied.size());
    count[kLink] = static_cast<int>(generated.machine.reparsePoints.size());
    count[kRegistryLink] = static_cast<int>(generated.machine.registryLinks.size());
    for (const image::RegistryKey& key : generated.registry)
        if (image::EqualsIgnoreCase(key.path.substr(0, 19), "HKEY_USERS\\S-1-5-21")) ++count[kLoadedHive];
        else if (image::EqualsIgnoreCase(key.path.substr(0, 27), "HKEY_USERS\\Purgent.UserHive")) ++count[kLeftover];
    for (const image::DriveItem& item : generated.drive) {
        if (!ValidShortName(item.path.substr(item.path.rfind('\\') + 1))) ++count[kShortName];
        if (item.path.rfind("D:\\", 0) == 0) ++count[kOtherDrive];
    }
    for (const std::string& trace : traces) {
        std::string mountedHive, attributesCleared;
        for (const std::vector<std::string>& event : EventsOf(trace)) {
            const std::string& name = event[0];
            const std::string first = event.size() > 1 ? event[1] : "";
            if (name == "hive-load" && event.size() > 2) mountedHive = event[2];
            if (name == "reg-delete-value" && event.size() > 2) {
                const std::uint32_t type = TypeOf(generated, mountedHive, first, event[2]);
                if (type) ++count[type == RegSz ? kSzDeleted : type == RegDword ? kDwordDeleted : kOtherDeleted];
            }
            if (name == "file-delete" && image::EqualsIgnoreCase(first, attributesCleared)) ++count[kForced];
            attributesCleared = name == "file-attr" ? first : "";
            if (name == "launch" && event.size() > 2 && event[2].find(" /u /s ") != std::string::npos) ++count[kDll];
            if ((name == "reg-delete-key" || name == "file-delete") && first.find("Messenger") != std::string::npos)
                ++count[kMessenger];
            if (name == "location" && event.size() > 2 && first == "GroupWiseDir" && SharedFolder(event[2]))
                ++count[kSharedFolder];
        }
    }
    return count;
}

}  // namespace purgent::differential
