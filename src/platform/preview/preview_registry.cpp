#include "platform/preview/preview_registry.h"

#include <algorithm>

#include "platform/preview/preview_text.h"
#include "platform/windows_links.h"

namespace purgent {

using preview::AtOrBelow;
using preview::Folded;

namespace {

const std::string kUsers = "HKEY_USERS";
const std::string kCurrentUser = "HKEY_CURRENT_USER";

// The first component of a subkey and what follows it ("" when it is all).
std::pair<std::string, std::string> FirstComponent(const std::string& subKey) {
    const auto end = subKey.find('\\');
    return end == std::string::npos ? std::pair{subKey, std::string()} : std::pair{subKey.substr(0, end), subKey.substr(end)};
}

// A root, or a hive's root below HKEY_USERS: RegDeleteKeyA refuses them.
bool IsRootOrHive(const std::string& path) {
    const auto first = path.find('\\');
    return first == std::string::npos ||
           (Folded(path.substr(0, first)) == Folded(kUsers) && path.find('\\', first + 1) == std::string::npos);
}

}  // namespace

std::string PreviewRegistry::RealSubKey(RegKey base, const std::string& subKey) const {
    if (base != HkeyUsers || mountedAs_.empty()) return subKey;
    const auto [first, rest] = FirstComponent(subKey);
    return image::EqualsIgnoreCase(first, mountedAs_) ? MountName + rest : subKey;
}

std::string PreviewRegistry::RunPath(const std::string& realPath) const {
    const std::string mount = kUsers + "\\" + MountName;
    if (mountedAs_.empty() || !AtOrBelow(Folded(realPath), Folded(mount))) return realPath;
    return kUsers + "\\" + mountedAs_ + realPath.substr(mount.size());
}

std::string PreviewRegistry::PathOf(RegKey key, const std::string& subKey) {
    return RunPath(real_.KeyPath(key, RealSubKey(key, subKey)));
}

bool PreviewRegistry::Gone(const std::string& path) const {
    const std::string folded = Folded(path);
    for (auto end = folded.find('\\'); ; end = folded.find('\\', end + 1)) {
        if (deletedKeys_.count(folded.substr(0, end))) return true;
        if (end == std::string::npos) return false;
    }
}

void PreviewRegistry::ForgetBelow(const std::string& path) {
    const std::string top = Folded(path);
    std::erase_if(deletedKeys_, [&](const std::string& key) { return AtOrBelow(key, top); });
    std::erase_if(deletedValues_, [&](const auto& entry) { return AtOrBelow(entry.first, top); });
    std::erase_if(setValues_, [&](const auto& entry) { return AtOrBelow(entry.first, top); });
    Changed();
}

std::string PreviewRegistry::CapturePath(RegKey base, const std::string& subKey, const std::string& path) const {
    const auto alias = runPaths_.find(base);
    const std::string asked = base == HkeyUsers        ? kUsers
                              : alias != runPaths_.end() ? alias->second
                                                         : std::string();
    if (asked.empty() || !AtOrBelow(Folded(path), Folded(kCurrentUser))) return path;
    return subKey.empty() ? asked : asked + "\\" + subKey;
}

void PreviewRegistry::Capture(RegKey key, const std::string& path) {
    CaptureRecord* capture = state_.Capture();
    if (!capture || path.empty() || capture->KnowsKey(path)) return;
    // As the run sees them now: through another name of a key (the current
    // user's own hive below HKEY_USERS) it may have changed them already.
    std::vector<image::RegistryValue> values;
    for (const std::string& name : ValueNames(key)) {
        image::RegistryValue value{name, 0, {}, false};
        if (QueryValue(key, name, value.type, value.data) == winerr::Success) values.push_back(std::move(value));
    }
    capture->Key(path, std::move(values));
}

long PreviewRegistry::OpenKey(RegKey base, const std::string& subKey, RegKey& opened) {
    if (!state_.active) return real_.OpenKey(base, subKey, opened);
    const std::string path = PathOf(base, subKey);
    if (!path.empty() && Gone(path)) return winerr::FileNotFound;
    const long result = real_.OpenKey(base, RealSubKey(base, subKey), opened);
    Opened(base, subKey, path, result, opened);
    return result;
}

void PreviewRegistry::Opened(RegKey base, const std::string& subKey, const std::string& path, long result,
                             RegKey opened) {
    const std::string captured = CapturePath(base, subKey, path);
    if (result == winerr::Success) {
        if (captured != path) runPaths_[opened] = captured;
        Capture(opened, captured);
    }
    if (result == winerr::AccessDenied && !path.empty() && state_.Capture()) state_.Capture()->DeniedKey(captured);
}

long PreviewRegistry::OpenAsLink(RegKey base, const std::string& subKey, RegKey& opened) {
    if (!state_.active) return real_.OpenAsLink(base, subKey, opened);
    const long result = real_.OpenAsLink(base, RealSubKey(base, subKey), opened);
    if (result != winerr::Success) {
        Opened(base, subKey, PathOf(base, subKey), result, opened);
        return result;
    }
    // Named by the key opened: a link's own path, which PathOf would not give.
    const std::string path = PathOf(opened, "");
    if (Gone(path)) {
        real_.CloseKey(opened);
        return winerr::FileNotFound;
    }
    RegLink link;
    if (IsLink(opened, link)) CaptureLink(CapturePath(base, subKey, path), link);
    else Opened(base, subKey, path, result, opened);
    return result;
}

bool PreviewRegistry::IsLink(RegKey key, RegLink& link) {
    if (!real_.IsLink(key, link)) return false;
    if (state_.active) link = {RunPath(link.path), RunPath(link.target)};
    return true;
}

void PreviewRegistry::CaptureLink(const std::string& path, const RegLink& link) {
    if (CaptureRecord* capture = state_.Capture(); capture && !IsWindowsLink(link)) capture->Link(path, link.target);
}

long PreviewRegistry::CloseKey(RegKey key) {
    runPaths_.erase(key);
    subkeys_.erase(key);
    values_.erase(key);
    return real_.CloseKey(key);
}

const std::vector<std::string>& PreviewRegistry::Subkeys(RegKey key) {
    const auto cached = subkeys_.find(key);
    if (cached != subkeys_.end()) return cached->second;
    std::vector<std::string>& names = subkeys_[key];
    const std::string path = PathOf(key, ""), listedUnder = CapturePath(key, "", path);
    std::string name;
    for (std::uint32_t i = 0; real_.EnumKey(key, i, name) == winerr::Success; ++i) {
        if (Gone(path + "\\" + name)) continue;
        names.push_back(name);
        if (CaptureRecord* capture = state_.Capture()) capture->ListedKey(listedUnder + "\\" + name);
    }
    return names;
}

const std::vector<std::string>& PreviewRegistry::ValueNames(RegKey key) {
    const auto cached = values_.find(key);
    if (cached != values_.end()) return cached->second;
    std::vector<std::string>& names = values_[key];
    const std::string folded = Folded(PathOf(key, ""));
    const auto deleted = deletedValues_.find(folded);
    const auto set = setValues_.find(folded);
    std::set<std::string> listed;
    std::string name;
    for (std::uint32_t i = 0; real_.EnumValue(key, i, name) == winerr::Success; ++i) {
        listed.insert(Folded(name));
        if (deleted == deletedValues_.end() || !deleted->second.count(Folded(name))) names.push_back(name);
    }
    if (set != setValues_.end())
        for (const auto& [foldedName, value] : set->second)
            if (!listed.count(foldedName)) names.push_back(value.name);
    return names;
}

long PreviewRegistry::QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& maxSubKeyLength,
                                   std::uint32_t& values) {
    const long result = real_.QueryInfoKey(key, subKeys, maxSubKeyLength, values);
    if (!state_.active || result != winerr::Success) return result;
    if (Gone(PathOf(key, ""))) return winerr::KeyDeleted;
    const std::vector<std::string>& names = Subkeys(key);
    subKeys = static_cast<std::uint32_t>(names.size());
    maxSubKeyLength = 0;
    for (const std::string& name : names) maxSubKeyLength = std::max(maxSubKeyLength, static_cast<std::uint32_t>(name.size()));
    values = static_cast<std::uint32_t>(ValueNames(key).size());
    return winerr::Success;
}

long PreviewRegistry::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
    if (!state_.active) return real_.EnumKey(key, index, name);
    const std::vector<std::string>& names = Subkeys(key);
    if (index >= names.size()) return winerr::NoMoreItems;
    name = names[index];
    return winerr::Success;
}

long PreviewRegistry::EnumValue(RegKey key, std::uint32_t index, std::string& name) {
    if (!state_.active) return real_.EnumValue(key, index, name);
    const std::vector<std::string>& names = ValueNames(key);
    if (index >= names.size()) return winerr::NoMoreItems;
    name = names[index];
    return winerr::Success;
}

long PreviewRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                                 std::vector<std::uint8_t>& data) {
    if (!state_.active) return real_.QueryValue(key, name, type, data);
    const std::string folded = Folded(PathOf(key, ""));
    const auto deleted = deletedValues_.find(folded);
    if (deleted != deletedValues_.end() && deleted->second.count(Folded(name))) return winerr::FileNotFound;
    const auto set = setValues_.find(folded);
    if (set != setValues_.end()) {
        const auto value = set->second.find(Folded(name));
        if (value != set->second.end()) {
            type = value->second.type;
            data = value->second.data;
            return winerr::Success;
        }
    }
    return real_.QueryValue(key, name, type, data);
}

long PreviewRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                               const std::vector<std::uint8_t>& data) {
    if (!state_.active) return real_.SetValue(key, name, type, data);
    const std::string path = PathOf(key, "");
    if (path.empty() || Gone(path)) return winerr::KeyDeleted;
    deletedValues_[Folded(path)].erase(Folded(name));
    setValues_[Folded(path)][Folded(name)] = {name, type, data};
    Changed();
    return winerr::Success;
}

long PreviewRegistry::DeleteKey(RegKey base, const std::string& subKey) {
    if (!state_.active) return real_.DeleteKey(base, subKey);
    const std::string path = PathOf(base, subKey);
    if (path.empty() || Gone(path)) return winerr::FileNotFound;
    if (IsRootOrHive(path)) return winerr::AccessDenied;
    RegKey key = 0;
    // Opened as the run opens keys: with full access, which includes deleting.
    if (const long error = OpenKey(base, subKey, key)) return error;
    const bool hasSubkeys = !Subkeys(key).empty();
    CloseKey(key);
    if (hasSubkeys) return winerr::AccessDenied;
    deletedKeys_.insert(Folded(path));
    Changed();
    return winerr::Success;
}

LinkCheck PreviewRegistry::CheckLink(RegKey base, const std::string& subKey, RegLink& link) {
    const LinkCheck check = real_.CheckLink(base, RealSubKey(base, subKey), link);
    if (!state_.active || check == LinkCheck::NoSuchKey || check == LinkCheck::Unreadable) return check;
    if (check == LinkCheck::NotALink) return Gone(PathOf(base, subKey)) ? LinkCheck::NoSuchKey : check;
    link = {RunPath(link.path), RunPath(link.target)};
    if (Gone(link.path)) return LinkCheck::NoSuchKey;
    CaptureLink(CapturePath(base, subKey, link.path), link);
    return check;
}

long PreviewRegistry::DeleteLink(RegKey base, const std::string& subKey) {
    if (!state_.active) return real_.DeleteLink(base, subKey);
    RegLink link;
    const LinkCheck check = CheckLink(base, subKey, link);
    if (check != LinkCheck::Link) return check == LinkCheck::NotALink ? winerr::InvalidParameter : winerr::FileNotFound;
    deletedKeys_.insert(Folded(link.path));
    Changed();
    return winerr::Success;
}

long PreviewRegistry::DeleteValue(RegKey key, const std::string& name) {
    if (!state_.active) return real_.DeleteValue(key, name);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (const long error = QueryValue(key, name, type, data)) return error;
    const std::string folded = Folded(PathOf(key, ""));
    deletedValues_[folded].insert(Folded(name));
    const auto set = setValues_.find(folded);
    if (set != setValues_.end()) set->second.erase(Folded(name));
    Changed();
    return winerr::Success;
}

long PreviewRegistry::LoadKey(RegKey root, const std::string& name, const std::string& file) {
    if (!state_.active || root != HkeyUsers) return real_.LoadKey(root, name, file);
    if (!mountedAs_.empty()) return winerr::AccessDenied;  // the run mounts one hive at a time
    // A mount of the preview's own name left by a preview that was stopped.
    if (!real_.KeyPath(HkeyUsers, MountName).empty()) real_.UnLoadKeyUnchanged(HkeyUsers, MountName);
    const long result = real_.LoadKey(HkeyUsers, MountName, file);
    if (result != winerr::Success) return result;
    mountedAs_ = name;
    ForgetBelow(kUsers + "\\" + name);
    if (CaptureRecord* capture = state_.Capture()) capture->HiveMounted(name, file);
    state_.Note("hive\t" + file + "\tread under " + kUsers + "\\" + MountName + ", unloaded as it was");
    return result;
}

long PreviewRegistry::UnLoadKey(RegKey root, const std::string& name) {
    if (!state_.active || root != HkeyUsers) return real_.UnLoadKey(root, name);
    if (!mountedAs_.empty() && image::EqualsIgnoreCase(name, mountedAs_)) {
        const long result = real_.UnLoadKeyUnchanged(HkeyUsers, MountName);
        if (result != winerr::Success) return result;
        if (CaptureRecord* capture = state_.Capture()) capture->HiveUnmounted(mountedAs_);
        ForgetBelow(kUsers + "\\" + mountedAs_);
        // A mount of that name the preview found (and the run unloaded) stays gone.
        if (!real_.KeyPath(HkeyUsers, mountedAs_).empty()) deletedKeys_.insert(Folded(kUsers + "\\" + mountedAs_));
        mountedAs_.clear();
        return result;
    }
    // A mount the preview did not make stays loaded; the run sees it gone.
    const std::string path = kUsers + "\\" + name;
    if (Gone(path) || real_.KeyPath(HkeyUsers, name).empty()) return winerr::FileNotFound;
    if (CaptureRecord* capture = state_.Capture()) capture->ListedKey(real_.KeyPath(HkeyUsers, name));
    deletedKeys_.insert(Folded(path));
    Changed();
    state_.Note("hive-unload\t" + name + "\tnot done: it stays loaded");
    return winerr::Success;
}

std::string PreviewRegistry::KeyPath(RegKey base, const std::string& subKey) {
    if (!state_.active) return real_.KeyPath(base, subKey);
    const std::string path = PathOf(base, subKey);
    return Gone(path) ? std::string() : path;
}

bool PreviewRegistry::EnableRestorePrivilege() {
    const bool enabled = real_.EnableRestorePrivilege();
    if (CaptureRecord* capture = state_.Capture()) capture->Settings().restorePrivilege = enabled;
    return enabled;
}

}  // namespace purgent
