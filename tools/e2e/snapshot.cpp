// snapshot.exe <image-dir> <out-dir>: reads the machine back into the image
// format, limited to what the image names:
//   the keys of its registry.reg (each with its whole subtree, if it exists);
//   its hive files, loaded under HKEY_USERS\PurgentSnapshot and written out
//   as .reg text under HKEY_CURRENT_USER;
//   the link keys in all of them and those its [registry-link] names, as
//   links (never followed);
//   its files and folders that still exist, with their r/h/s attributes;
//   its links ([reparse]) that are still links (a target's files are items
//   of their own, read where they lie).
#include <algorithm>

#include "image/ansi_text.h"
#include "image/machine_image.h"
#include "platform/win32/win32_registry_links.h"
#include "seed_registry.h"

namespace purgent::e2e {
namespace {

const char* const kHiveMountName = "PurgentSnapshot";

bool HasLink(const std::vector<image::RegistryLink>& links, const image::RegistryLink& link) {
    return std::any_of(links.begin(), links.end(), [&](const image::RegistryLink& found) {
        return image::EqualsIgnoreCase(found.key, link.key) && image::EqualsIgnoreCase(found.hive, link.hive);
    });
}

RegistryRead ReadScopedRegistry(const image::MachineImage& named) {
    RegistryRead out;
    for (const std::string& path : image::RegistryScope(named.registry)) DumpKeyTree(LocateKey(path), path, "", out);
    // A link the image names outside every key it names.
    for (const image::RegistryLink& link : named.machine.registryLinks) {
        if (!link.hive.empty() || HasLink(out.links, link)) continue;
        const KeyLocation location = LocateKey(link.key);
        RegLink found;
        if (CheckLinkAt(location.root, location.subKey, found) == LinkCheck::Link)
            out.links.push_back({link.key, found.target, ""});
    }
    return out;
}

// The hive's keys as regedit would export them from HKEY_CURRENT_USER; the
// hive's root is listed only when it holds values. Its links go to links.
image::Bytes ReadHiveFile(const std::string& path, std::vector<image::RegistryLink>& links) {
    const LONG loaded = RegLoadKeyA(HKEY_USERS, kHiveMountName, path.c_str());
    if (loaded != ERROR_SUCCESS)
        throw HelperError("RegLoadKeyA " + path + " failed with error " + std::to_string(loaded));
    RegistryRead read;
    try {
        DumpKeyTree({HKEY_USERS, kHiveMountName}, "HKEY_CURRENT_USER", path, read);
    } catch (...) {
        RegUnLoadKeyA(HKEY_USERS, kHiveMountName);
        throw;
    }
    const LONG unloaded = RegUnLoadKeyA(HKEY_USERS, kHiveMountName);
    if (unloaded != ERROR_SUCCESS)
        throw HelperError("RegUnLoadKeyA " + path + " failed with error " + std::to_string(unloaded));
    image::RegistryKeys& keys = read.keys;
    if (!keys.empty() && keys.front().values.empty()) keys.erase(keys.begin());
    links.insert(links.end(), read.links.begin(), read.links.end());
    const std::string text = image::WriteRegText(keys);
    return image::Bytes(text.begin(), text.end());
}

constexpr DWORD kImageAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

void ReadDrive(const image::DriveItems& named, image::MachineImage& out) {
    for (const image::DriveItem& item : named) {
        const DWORD attributes = GetFileAttributesA(item.path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        image::DriveItem found;
        found.path = item.path;
        found.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!found.folder)
            found.contents = image::IsHiveFile(item) ? ReadHiveFile(item.path, out.machine.registryLinks)
                                                     : ReadWholeFile(item.path);
        out.drive.push_back(std::move(found));
        if (attributes & kImageAttributes) out.machine.attributes.push_back({item.path, attributes & kImageAttributes});
    }
}

// GetFinalPathNameByHandleA of a file or folder, without "\\?\" and a
// closing separator; "" when it cannot be opened.
std::string FinalPath(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    char buffer[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleA(file, buffer, sizeof buffer, 0);
    CloseHandle(file);
    std::string final(buffer, length < sizeof buffer ? length : 0);
    if (final.rfind("\\\\?\\", 0) == 0) final.erase(0, 4);
    while (!final.empty() && final.back() == '\\') final.pop_back();
    return final;
}

// A folder link carries the reparse-point attribute; Wine shows a link to a
// file as a plain file, which only its final path tells: it lies elsewhere
// than its folder and its name. A link whose target went names nothing.
bool IsLink(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    const std::string::size_type slash = path.rfind('\\');
    const std::string folder = FinalPath(path.substr(0, slash + 1));
    return !image::EqualsIgnoreCase(FinalPath(path), folder + path.substr(slash));
}

void Snapshot(const std::string& imageDir, const std::string& outDir) {
    const image::MachineImage named = image::LoadMachineImage(imageDir);
    EnablePrivilege("SeRestorePrivilege");
    image::MachineImage out;
    out.machine = named.machine;
    out.machine.attributes.clear();
    std::erase_if(out.machine.reparsePoints, [](const image::ReparsePoint& link) { return !IsLink(link.link); });
    RegistryRead registry = ReadScopedRegistry(named);
    out.registry = std::move(registry.keys);
    out.machine.registryLinks = std::move(registry.links);
    ReadDrive(named.drive, out);
    image::ForgetDeletedFiles(out.machine, out.drive);
    image::SaveMachineImage(out, outDir);
}

}  // namespace
}  // namespace purgent::e2e

int main(int argc, char** argv) {
    return purgent::e2e::RunHelper(argc, argv, "snapshot", {"<image-dir>", "<out-dir>"},
                                   [](char** arguments) { purgent::e2e::Snapshot(arguments[0], arguments[1]); });
}
