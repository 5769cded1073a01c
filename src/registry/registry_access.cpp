#include "registry/registry_access.h"

#include <algorithm>

#include "image/ansi_text.h"
#include "platform/windows_links.h"
#include "run/errors.h"

namespace purgent {

namespace {

bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '\\'; }

std::string WithoutLeadingSeparator(const std::string& path) {
    return IsAbsolute(path) ? path.substr(1) : path;
}

bool IsRoot(RegKey key) {
    return key == HkeyClassesRoot || key == HkeyCurrentUser || key == HkeyLocalMachine || key == HkeyUsers;
}

const char* const kUnreadable = " cannot be read to tell whether it is a link";

std::string Quoted(const char* format, const std::string& name) {
    std::string text = format;
    text.replace(text.find("%s"), 2, name);
    return text;
}

}  // namespace

RegistryAccess::RegistryAccess(RegistryService& registry, StatusReporter& status, EnvironmentService& environment)
    : registry_(registry), status_(status), environment_(environment) {}

RegistryAccess::~RegistryAccess() { CloseKey(); }

void RegistryAccess::SetRootKey(RegKey root) {
    if (root == root_) return;
    root_ = root;
    CloseKey();
}

RegKey RegistryAccess::BaseFor(const std::string& path) const {
    return !IsAbsolute(path) && hasCurrent_ ? current_ : root_;
}

RegKey RegistryAccess::OpenHandle(const std::string& path) const {
    RegKey opened = 0;
    if (registry_.OpenKey(BaseFor(path), WithoutLeadingSeparator(path), opened) != winerr::Success)
        return 0;
    return opened;
}

std::string RegistryAccess::NamedPath(RegKey base, const std::string& subKey) {
    return registry_.KeyPath(base, "") + "\\" + subKey;
}

std::string RegistryAccess::WalkName(RegKey base, const std::string& subKey) {
    std::string name = (IsRoot(base) ? std::to_string(base) : registry_.KeyPath(base, "")) + "\\" + subKey;
    std::transform(name.begin(), name.end(), name.begin(), image::FoldCase);
    return name;
}

std::string RegistryAccess::Obstacle(RegKey base, const std::string& subKey) {
    const std::size_t parentEnd = subKey.rfind('\\');
    if (parentEnd == std::string::npos) return "";
    // The catalogues name many keys below one parent, spelled alike.
    if (base == lastParentRoot_ && subKey.compare(0, parentEnd, lastParent_) == 0) return "";
    const std::string walked = WalkName(base, subKey);
    const std::size_t keyStart = walked.size() - subKey.size();
    const auto passed = [&](std::size_t end) { return throughPassable_.count(walked.substr(0, keyStart + end)) > 0; };
    // A parent passed before was passed all the way.
    if (passed(parentEnd)) return "";
    for (std::size_t end = subKey.find('\\'); end != std::string::npos; end = subKey.find('\\', end + 1)) {
        if (passed(end)) continue;
        const std::string key = subKey.substr(0, end);
        RegLink link;
        switch (registry_.CheckLink(base, key, link)) {
            case LinkCheck::NoSuchKey: return "";  // nor anything below it
            case LinkCheck::Unreadable: return NamedPath(base, key) + kUnreadable;
            case LinkCheck::Link:
                if (!IsWindowsLink(link)) return link.path + " on the way is a link to " + link.target;
                break;
            case LinkCheck::NotALink: break;
        }
        throughPassable_.insert(walked.substr(0, keyStart + end));
    }
    if (IsRoot(base)) {
        lastParentRoot_ = base;
        lastParent_ = subKey.substr(0, parentEnd);
    }
    return "";
}

bool RegistryAccess::Refused(const std::string& path) {
    const RegKey base = BaseFor(path);
    const std::string subKey = WithoutLeadingSeparator(path);
    const std::string reason = Obstacle(base, subKey);
    if (reason.empty()) return false;
    environment_.Kept(NamedPath(base, subKey), reason);
    return true;
}

RegKey RegistryAccess::OpenItself(const std::string& path) {
    if (Refused(path)) return 0;
    const RegKey base = BaseFor(path);
    const std::string subKey = WithoutLeadingSeparator(path);
    RegKey opened = 0;
    if (registry_.OpenAsLink(base, subKey, opened) != winerr::Success) return 0;
    RegLink link;
    if (!registry_.IsLink(opened, link)) return opened;
    registry_.CloseKey(opened);
    if (IsWindowsLink(link)) return OpenHandle(path);
    environment_.Kept(NamedPath(base, subKey), "a link to " + link.target);
    return 0;
}

bool RegistryAccess::OpenKey(const std::string& path) { return Opened(path, OpenItself(path)); }

bool RegistryAccess::OpenUnchecked(const std::string& path) { return Opened(path, OpenHandle(path)); }

bool RegistryAccess::Opened(const std::string& path, RegKey opened) {
    if (opened == 0) return false;
    std::string fullPath = WithoutLeadingSeparator(path);
    if (!IsAbsolute(path) && hasCurrent_) fullPath = currentPath_ + "\\" + fullPath;
    CloseKey();
    current_ = opened;
    hasCurrent_ = true;
    currentPath_ = fullPath;
    return true;
}

void RegistryAccess::CloseKey() {
    if (!hasCurrent_) return;
    // Lazy writing: the handle is released without a flush.
    registry_.CloseKey(current_);
    current_ = 0;
    hasCurrent_ = false;
    currentPath_.clear();
}

bool RegistryAccess::KeyExists(const std::string& path) {
    RegKey opened = OpenItself(path);
    if (opened == 0) return false;
    registry_.CloseKey(opened);
    return true;
}

bool RegistryAccess::ValueExists(const std::string& name) {
    if (!hasCurrent_) return false;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    return registry_.QueryValue(current_, name, type, data) == winerr::Success;
}

std::string RegistryAccess::ReadString(const std::string& name) {
    if (!hasCurrent_) return "";
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (registry_.QueryValue(current_, name, type, data) != winerr::Success) return "";
    if (type != RegSz && type != RegExpandSz)
        throw PurgentError(Quoted("Invalid data type for '%s'", name));
    std::string text(data.begin(), data.end());
    return text.substr(0, text.find('\0'));
}

void RegistryAccess::WriteString(const std::string& name, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    if (!hasCurrent_ || registry_.SetValue(current_, name, RegSz, data) != winerr::Success)
        throw PurgentError(Quoted("Failed to set data for '%s'", name));
}

bool RegistryAccess::ValueIsEmpty(const std::string& name) {
    if (!hasCurrent_) return false;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (registry_.QueryValue(current_, name, type, data) != winerr::Success) return false;
    const bool isString = type == RegSz || type == RegExpandSz;
    return data.empty() || (isString && data.front() == 0);
}

bool RegistryAccess::DeleteValue(const std::string& name) {
    return hasCurrent_ && registry_.DeleteValue(current_, name) == winerr::Success;
}

bool RegistryAccess::DeleteKey(const std::string& path) {
    return !Refused(path) && DeleteKeyAt(BaseFor(path), WithoutLeadingSeparator(path), 0);
}

bool RegistryAccess::DeleteKeyAt(RegKey base, const std::string& subKey, int depth) {
    RegLink link;
    switch (registry_.CheckLink(base, subKey, link)) {
        case LinkCheck::Link: return registry_.DeleteLink(base, subKey) == winerr::Success;
        case LinkCheck::Unreadable:
            // RegDeleteKeyA would follow a link there to its target.
            environment_.Kept(NamedPath(base, subKey), std::string("it") + kUnreadable);
            return false;
        default: break;
    }
    RegKey doomed = 0;
    if (registry_.OpenKey(base, subKey, doomed) == winerr::Success) {
        // Subkeys go from the last index down, so the indexes still to visit
        // stay valid; each is removed relative to the doomed key.
        std::uint32_t subKeys = 0, maxLength = 0, values = 0;
        if (depth < MaxKeyDepth && registry_.QueryInfoKey(doomed, subKeys, maxLength, values) == winerr::Success) {
            for (std::uint32_t index = subKeys; index-- > 0;) {
                std::string name;
                if (registry_.EnumKey(doomed, index, name) == winerr::Success) DeleteKeyAt(doomed, name, depth + 1);
            }
        }
        registry_.CloseKey(doomed);
    }
    return registry_.DeleteKey(base, subKey) == winerr::Success;
}

std::vector<std::string> RegistryAccess::GetKeyNames() { return ListNames(false); }

std::vector<std::string> RegistryAccess::GetValueNames() { return ListNames(true); }

std::vector<std::string> RegistryAccess::ListNames(bool valueNames) {
    std::vector<std::string> names;
    std::uint32_t subKeys = 0, maxLength = 0, values = 0;
    if (!hasCurrent_ ||
        registry_.QueryInfoKey(current_, subKeys, maxLength, values) != winerr::Success)
        return names;
    const std::uint32_t count = valueNames ? values : subKeys;
    for (std::uint32_t index = 0; index < count; ++index) {
        std::string name;
        const long result = valueNames ? registry_.EnumValue(current_, index, name)
                                       : registry_.EnumKey(current_, index, name);
        if (result == winerr::Success) names.push_back(name);
    }
    return names;
}

bool RegistryAccess::LoadKey(const std::string& name, const std::string& file) {
    ForgetPassable();
    return registry_.LoadKey(root_, WithoutLeadingSeparator(name), file) == winerr::Success;
}

bool RegistryAccess::UnLoadKey(const std::string& name) {
    ForgetPassable();
    return registry_.UnLoadKey(root_, WithoutLeadingSeparator(name)) == winerr::Success;
}

void RegistryAccess::ForgetPassable() {
    throughPassable_.clear();
    lastParentRoot_ = 0;
}

void RegistryAccess::DeleteKeyTree(const std::string& path) {
    // Left alone, the key still shows and counts, as a key that is not there.
    if (Refused(path)) {
        ReportKey(path);
        return;
    }
    DeleteTree(path, 0);
}

void RegistryAccess::DeleteTree(const std::string& path, int depth) {
    std::vector<std::string> children;
    RegLink link;
    // A link key's subkeys would be its target's.
    const bool isLink = registry_.CheckLink(BaseFor(path), WithoutLeadingSeparator(path), link) == LinkCheck::Link;
    if (!isLink && depth < MaxKeyDepth && OpenUnchecked(path)) {
        children = GetKeyNames();
        CloseKey();
    }
    for (const std::string& child : children) DeleteTree(path + "\\" + child, depth + 1);
    ReportKey(path);
    CloseKey();
    DeleteKeyAt(BaseFor(path), WithoutLeadingSeparator(path), depth);
}

void RegistryAccess::ReportKey(const std::string& path) {
    status_.ShowItem(path);
    status_.StepProgress(1);
    status_.WrapProgress();
}

bool RegistryAccess::MountUserHive(const std::string& file, const std::string& name) {
    CloseKey();
    SetRootKey(HkeyUsers);
    // Enabled again at every mount and never disabled.
    if (!registry_.EnableRestorePrivilege()) return false;
    return LoadKey(name, file);
}

RegistryAccess::UserHive RegistryAccess::EnterUser(const std::string& folder, const std::string& sid) {
    SetRootKey(HkeyUsers);
    // A logged-on user's hive is in use: clean it where Windows keeps it loaded.
    UserHive hive = UserHive::Loaded;
    std::string key = sid;
    if (sid.empty() || !KeyExists("\\" + sid)) {
        if (folder.empty() || !MountUserHive(folder + "\\ntuser.dat", TempHive)) return UserHive::Unavailable;
        hive = UserHive::Mounted;
        key = TempHive;
    }
    CloseKey();
    OpenKey(key);
    hivePrefix_ = "\\" + key;
    return hive;
}

void RegistryAccess::UserHivePass(const std::vector<std::string>& folders, const std::vector<std::string>& sids,
                                  const std::function<void()>& body) {
    const std::size_t count = folders.size();
    if (count > 1) ReleaseLeftoverHive();
    for (std::size_t entry = 0; entry < count; ++entry) {
        UserHive hive = UserHive::Current;
        if (entry == 0) {
            SetRootKey(HkeyCurrentUser);
            hivePrefix_.clear();
        } else {
            hive = EnterUser(folders[entry], entry < sids.size() ? sids[entry] : "");
        }
        if (hive != UserHive::Unavailable) {
            userEntry_ = entry;
            status_.ShowItem("");
            try {
                body();
            } catch (...) {
                // A hive left loaded outlives the process: the user's ntuser.dat
                // stays locked until the next run's leftover check.
                if (hive == UserHive::Mounted) ReleaseUserHive();
                throw;
            }
        }
        if (hive == UserHive::Mounted) ReleaseUserHive();
    }
}

void RegistryAccess::ReleaseLeftoverHive() {
    SetRootKey(HkeyUsers);
    if (KeyExists(std::string("\\") + TempHive) && registry_.EnableRestorePrivilege()) ReleaseUserHive();
}

void RegistryAccess::ReleaseUserHive() {
    // A body may leave a key open inside the hive; it would block the unload.
    CloseKey();
    UnLoadKey(TempHive);
}

}  // namespace purgent
