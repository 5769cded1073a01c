#include "platform/sim/sim_drive.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/file_mask.h"
#include "platform/registry_service.h"
#include "platform/sim/sim_names.h"
#include "platform/sim/sim_short_names.h"

namespace purgent::sim {

namespace {

constexpr int MaxJunctionHops = 63;
constexpr std::uint32_t KeptAttributes = FileAttrReadOnly | FileAttrHidden | FileAttrSystem;

// The folded, normalised form of a Windows path: "C:\WINDOWS\SYSTEM32". The
// root of a drive is "C:". A network path names nothing here: "".
std::string ItemKey(const std::string& path) {
    std::string full = FullPath(path);
    if (full.rfind("\\\\", 0) == 0) return "";
    if (full.back() == '\\') full.pop_back();
    return FoldName(full);
}

bool IsAtOrBelow(const std::string& key, const std::string& folder) {
    return key.compare(0, folder.size(), folder) == 0 && (key.size() == folder.size() || key[folder.size()] == '\\');
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }
std::string ParentKey(const std::string& key) { return key.substr(0, key.rfind('\\')); }
bool HasParent(const std::string& key) { return key.find('\\') != std::string::npos; }

std::string NetworkDrives(const image::MachineIni& machine) {
    std::string letters;
    for (const image::IniEntry& entry : machine.machine.otherKeys)
        if (entry.key == "network-drives")
            for (char c : entry.value)
                if (std::isalpha(static_cast<unsigned char>(c))) letters += static_cast<char>(std::toupper(c));
    return letters;
}

std::vector<std::string> OpenFolders(const image::MachineIni& machine) {
    std::vector<std::string> folders;
    for (const image::IniEntry& entry : machine.machine.otherKeys) {
        if (entry.key != "user-writable") continue;
        for (std::string::size_type start = 0; start <= entry.value.size();) {
            const auto end = std::min(entry.value.find(';', start), entry.value.size());
            if (end > start) folders.push_back(ItemKey(entry.value.substr(start, end - start)));
            start = end + 1;
        }
    }
    return folders;
}

bool VolumesHaveShortNames(const image::MachineIni& machine) {
    for (const image::IniEntry& entry : machine.machine.otherKeys)
        if (entry.key == "short-names") return entry.value != "no";
    return true;
}

bool AllowedName(const std::string& name) {
    return !name.empty() && name.find_first_of("<>:\"/|?*") == std::string::npos &&
           std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; });
}

}  // namespace

SimDrive::SimDrive(const image::DriveItems& items, const image::MachineIni& machine)
    : networkDrives_(NetworkDrives(machine)), openToUsers_(OpenFolders(machine)) {
    for (const image::Junction& junction : machine.junctions) AddLink(junction, false);
    for (const image::ReparsePoint& link : machine.reparsePoints) AddLink(link, true);
    // A link written below another one sits where that one leads.
    for (Link& link : links_)
        if (HasParent(link.key)) link.key = Key(ParentKey(link.key)) + "\\" + NameOf(link.key);
    for (const image::DriveItem& item : items) {
        Entry& entry = items_[Key(item.path)];
        entry.item = item;
        Revise(entry);
    }
    if (VolumesHaveShortNames(machine)) GiveShortNames(items);
    for (const image::FileAttributes& entry : machine.attributes)
        if (Entry* found = At(entry.path)) found->attributes = entry.attributes & KeptAttributes;
    for (const std::string& path : machine.locked)
        if (Entry* found = At(path)) found->locked = true;
}

// In the image's order, the order the items were made in.
void SimDrive::GiveShortNames(const image::DriveItems& items) {
    std::map<std::string, std::set<std::string>> taken;  // by folder key
    for (const image::DriveItem& item : items) {
        const std::string key = Key(item.path);
        Entry& entry = items_[key];
        if (!entry.shortName.empty()) continue;
        std::set<std::string>& inFolder = taken[ParentKey(key)];
        const std::string name = NameOf(entry.item.path);
        entry.shortName = MakeShortName(name, inFolder);
        inFolder.insert(FoldName(entry.shortName.empty() ? name : entry.shortName));
    }
}

void SimDrive::AddLink(const image::Junction& link, bool listable) {
    links_.push_back({ItemKey(link.link), ItemKey(link.target), listable, link});
}

std::string SimDrive::Key(const std::string& path) const {
    std::string key = ItemKey(path);
    // The outermost link first, as Windows walks a path from its root; at
    // most as many hops as Windows follows, so that links pointing into
    // each other cannot loop.
    for (int hop = 0; !links_.empty(); ++hop) {
        const Link* through = nullptr;
        for (const Link& link : links_)
            if (IsAtOrBelow(key, link.key) && (!through || link.key.size() < through->key.size())) through = &link;
        if (!through) break;
        if (hop == MaxJunctionHops) return "";  // names nothing, as on Windows
        key = through->target + key.substr(through->key.size());
    }
    return key;
}

const SimDrive::Link* SimDrive::LinkAt(const std::string& path) const {
    if (links_.empty()) return nullptr;
    const std::string written = ItemKey(path);
    if (!HasParent(written)) return nullptr;
    const std::string key = Key(ParentKey(written)) + "\\" + NameOf(written);
    for (const Link& link : links_)
        if (link.key == key) return &link;
    return nullptr;
}

std::uint32_t SimDrive::LinkAttributes(const Link& link) const {
    if (!link.listable) return FileAttrReparsePoint | FileAttrHidden | FileAttrSystem | FileAttrFolder;
    const auto target = items_.find(Key(link.target));
    const bool toFile = target != items_.end() && !target->second.item.folder;
    return FileAttrReparsePoint | (toFile ? 0 : FileAttrFolder);
}

SimDrive::Entry* SimDrive::At(const std::string& path) {
    const auto it = items_.find(Key(path));
    return it == items_.end() ? nullptr : &it->second;
}

const SimDrive::Entry* SimDrive::At(const std::string& path) const {
    const auto it = items_.find(Key(path));
    return it == items_.end() ? nullptr : &it->second;
}

const image::DriveItem* SimDrive::Find(const std::string& path) const {
    const Entry* entry = At(path);
    return entry ? &entry->item : nullptr;
}

bool SimDrive::OnNetworkDrive(const std::string& path) const {
    return path.size() >= 2 && path[1] == ':' &&
           networkDrives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) != std::string::npos;
}

bool SimDrive::OpenToUsers(const std::string& folder) const {
    const std::string key = Key(folder);
    return std::any_of(openToUsers_.begin(), openToUsers_.end(), [&](const std::string& open) { return Key(open) == key; });
}

bool SimDrive::Locked(const std::string& path) const {
    const Entry* entry = At(path);
    return entry && entry->locked;
}

bool SimDrive::FileExists(const std::string& path) const {
    const image::DriveItem* item = Find(path);
    return item && !item->folder;
}

bool SimDrive::WriteFile(const std::string& path, const std::string& contents) {
    Entry* entry = At(path);
    if (!entry || entry->item.folder) return false;
    entry->item.contents.assign(contents.begin(), contents.end());
    Revise(*entry);
    return true;
}

bool SimDrive::CreateHeldFile(const std::string& path, bool empty) {
    // Through a link, as CreateFile without FILE_FLAG_OPEN_REPARSE_POINT.
    const std::string key = Key(path);
    const std::string name = path.substr(path.find_last_of("\\/") + 1);
    if (key.size() <= 2 || !AllowedName(name)) return false;
    const std::string folderKey = key.substr(0, key.rfind('\\'));
    const std::uint32_t folderAttributes = Attributes(folderKey);
    if (folderAttributes == NoSuchFile || !(folderAttributes & FileAttrFolder)) return false;
    Entry& entry = items_[key];
    if (entry.item.path.empty()) {
        const auto folder = items_.find(folderKey);
        // A drive root is no item; its key is its path, "C:".
        entry.item.path = (folder != items_.end() ? folder->second.item.path : folderKey) + "\\" + name;
    } else if (entry.item.folder || entry.locked || (entry.attributes & FileAttrReadOnly)) {
        return false;
    }
    if (empty) entry.item.contents.clear();
    Revise(entry);
    entry.locked = true;
    return true;
}

long SimDrive::CreateFolder(const std::string& path) {
    const std::string key = ItemKey(path);
    const std::string name = path.substr(path.find_last_of("\\/") + 1);
    if (key.size() <= 2 || !AllowedName(name)) return winerr::InvalidName;
    if (items_.count(key) || LinkAt(path)) return winerr::AlreadyExists;
    const std::string folderKey = key.substr(0, key.rfind('\\'));
    const std::uint32_t folderAttributes = Attributes(folderKey);
    if (folderAttributes == NoSuchFile || !(folderAttributes & FileAttrFolder)) return winerr::PathNotFound;
    const auto folder = items_.find(folderKey);
    items_[key].item = {(folder != items_.end() ? folder->second.item.path : folderKey) + "\\" + name, true, {}};
    return winerr::Success;
}

bool SimDrive::AppendToFile(const std::string& path, const std::string& bytes) {
    Entry* entry = At(path);
    if (!entry || entry->item.folder) return false;
    entry->item.contents.insert(entry->item.contents.end(), bytes.begin(), bytes.end());
    Revise(*entry);
    return true;
}

std::uint64_t SimDrive::Revision(const std::string& path) const {
    const Entry* entry = At(path);
    return entry ? entry->revision : 0;
}

void SimDrive::ReleaseFile(const std::string& path) {
    if (Entry* entry = At(path)) entry->locked = false;
}

bool SimDrive::IsDriveRoot(const std::string& key) const {
    // Drive C: holds the system; another drive exists when it holds anything.
    return key.size() == 2 && (key == FoldName("C:") || HasChildren(key));
}

bool SimDrive::HasChildren(const std::string& key) const {
    const std::string prefix = key + "\\";
    const auto it = items_.lower_bound(prefix);
    if (it != items_.end() && it->first.compare(0, prefix.size(), prefix) == 0) return true;
    return std::any_of(links_.begin(), links_.end(),
                       [&](const Link& link) { return HasParent(link.key) && ParentKey(link.key) == key; });
}

std::uint32_t SimDrive::Attributes(const std::string& path) const {
    if (const Link* link = LinkAt(path)) return LinkAttributes(*link);
    const std::string key = Key(path);
    if (key.empty()) return NoSuchFile;
    if (IsDriveRoot(key)) return FileAttrFolder;
    const auto it = items_.find(key);
    if (it == items_.end()) return NoSuchFile;
    return it->second.attributes | (it->second.item.folder ? FileAttrFolder : 0);
}

bool SimDrive::SetAttributes(const std::string& path, std::uint32_t attributes) {
    Entry* entry = At(path);
    if (!entry) return false;
    entry->attributes = attributes & KeptAttributes;
    return true;
}

void SimDrive::RemoveLink(const Link& link) {
    links_.erase(links_.begin() + (&link - links_.data()));
}

long SimDrive::DeleteFile(const std::string& path) {
    if (const Link* link = LinkAt(path)) {
        if (LinkAttributes(*link) & FileAttrFolder) return winerr::AccessDenied;
        RemoveLink(*link);
        return winerr::Success;
    }
    const auto it = items_.find(Key(path));
    if (it == items_.end()) return winerr::FileNotFound;
    if (it->second.locked) return winerr::SharingViolation;
    if (it->second.item.folder || (it->second.attributes & FileAttrReadOnly)) return winerr::AccessDenied;
    items_.erase(it);
    return winerr::Success;
}

long SimDrive::RemoveFolder(const std::string& path) {
    if (const Link* link = LinkAt(path)) {
        // Windows' compatibility junctions are the system's; a link goes, and
        // only the link.
        if (!link->listable) return winerr::AccessDenied;
        if (!(LinkAttributes(*link) & FileAttrFolder)) return winerr::Directory;
        RemoveLink(*link);
        return winerr::Success;
    }
    const auto it = items_.find(Key(path));
    if (it == items_.end()) return winerr::FileNotFound;
    if (!it->second.item.folder) return winerr::Directory;
    if (HasChildren(it->first)) return winerr::DirNotEmpty;
    items_.erase(it);
    return winerr::Success;
}

std::vector<FoundFile> SimDrive::Entries(const std::string& folder, const std::string& pattern) const {
    std::vector<FoundFile> found;
    // Windows' compatibility junctions deny listing to everyone; paths through them resolve.
    if (const Link* link = LinkAt(folder); link && !link->listable) return found;
    const std::string key = Key(folder);
    const std::uint32_t attributes = Attributes(folder);
    if (key.empty() || pattern.empty() || attributes == NoSuchFile || !(attributes & FileAttrFolder)) return found;
    const std::string prefix = key + "\\";
    for (auto it = items_.lower_bound(prefix); it != items_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
         ++it) {
        if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
        const std::string name = NameOf(it->second.item.path);
        const std::string& shortName = it->second.shortName;
        if (!FitsMask(name, pattern) && (shortName.empty() || !FitsMask(shortName, pattern))) continue;
        found.push_back({name, it->second.attributes | (it->second.item.folder ? FileAttrFolder : 0u), true});
    }
    for (const Link& link : links_) {
        if (!link.listable || !HasParent(link.key) || ParentKey(link.key) != key) continue;
        const std::string name = NameOf(link.written.link);
        if (FitsMask(name, pattern)) found.push_back({name, LinkAttributes(link), true});
    }
    std::sort(found.begin(), found.end(), [](const FoundFile& a, const FoundFile& b) { return NameLess(a.name, b.name); });
    if (!IsDriveRoot(key)) {
        for (const char* dots : {"..", "."})
            if (FitsMask(dots, pattern)) found.insert(found.begin(), FoundFile{dots, FileAttrFolder, true});
    }
    return found;
}

image::DriveItems SimDrive::Items() const {
    // A folder's key is a prefix of everything it holds, so map order puts it first.
    image::DriveItems items;
    for (const auto& [key, entry] : items_) items.push_back(entry.item);
    return items;
}

std::vector<image::ReparsePoint> SimDrive::ReparsePoints() const {
    std::vector<image::ReparsePoint> links;
    for (const Link& link : links_)
        if (link.listable) links.push_back(link.written);
    return links;
}

std::vector<image::FileAttributes> SimDrive::AttributeList() const {
    std::vector<image::FileAttributes> list;
    for (const auto& [key, entry] : items_)
        if (entry.attributes) list.push_back({entry.item.path, entry.attributes});
    return list;
}

}  // namespace purgent::sim
