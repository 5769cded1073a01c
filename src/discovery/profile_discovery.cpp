#include "discovery/profile_discovery.h"

#include <cstdint>
#include <optional>

namespace purgent {

namespace {

const char* const ProfileListKey = "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// Local and domain accounts, and Microsoft Entra ID (Azure AD) accounts, as
// on the workstations Intune joins: users. Service and system accounts
// (S-1-5-18, -19, -20, S-1-5-80-...) and any other kind of SID are not.
const char* const UserSidPrefixes[] = {"S-1-5-21", "S-1-12-1-"};
// XP's stored form: the folder name is what follows these 37 characters.
const std::string StoredProfileRoot = "%SystemDrive%\\Documents and Settings\\";

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameAsciiText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsUserSid(const std::string& name) {
    for (const std::string prefix : UserSidPrefixes)
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

bool IsNtFamily(EnvironmentService& environment) {
    std::uint32_t id = 0;
    return environment.PlatformId(id) && id == PlatformWinNT;
}

// The path's last component, trailing separators ignored; a bare drive
// ("C:", "C:\\") has none.
std::string LastComponent(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && IsSeparator(path[end - 1])) --end;
    std::size_t start = end;
    while (start > 0 && !IsSeparator(path[start - 1])) --start;
    const std::string name = path.substr(start, end - start);
    const bool bareDrive = start == 0 && name.size() == 2 && name[1] == ':';
    return bareDrive ? "" : name;
}

bool SkippedAsCurrentUser(const std::string& path, const std::string& logonName) {
    // Without a logon name (Vista and later, or a run as SYSTEM) the current
    // user cannot be told apart: list every profile; a hive in use is cleaned
    // where it is loaded. The whole folder name must be the logon name: with
    // a mere suffix, logon name "jo" would skip another user's "C:\Users\bjo".
    return !logonName.empty() && SameAsciiText(LastComponent(path), logonName);
}

struct ProfileLists {
    ProfileSet& names;
    ProfileSids& sids;
    ProfileFolders& folders;
    std::string& logonUserFolder;
};

void AddOtherProfiles(RegistryAccess& registry, EnvironmentService& environment, const InstallLocations& locations,
                      const ProfileLists& lists) {
    std::vector<std::string> subKeys;
    if (registry.OpenKey(ProfileListKey)) subKeys = registry.GetKeyNames();
    registry.CloseKey();
    for (const std::string& sid : subKeys) {
        if (!IsUserSid(sid)) continue;
        const bool opened = registry.OpenKey(std::string(ProfileListKey) + "\\" + sid);
        const std::string path = opened ? registry.ReadString("ProfileImagePath") : "";
        const std::string folder = ProfileFolderPath(path, environment, locations.WindowsDrive);
        // The current user's own profile is entry 1 already.
        if (SkippedAsCurrentUser(path, locations.LogonUserName)) {
            lists.logonUserFolder = folder;
            continue;
        }
        lists.names.push_back(ProfileFolderName(path));
        lists.sids.push_back(sid);
        lists.folders.push_back(folder);
    }
}

}  // namespace

std::string ProfileFolderName(const std::string& profileImagePath) {
    // Any other form ("%SystemDrive%\\Users\\ann", "C:\\Users\\ann.CORP", an
    // expanded XP path) names the folder by its last component: Windows keeps
    // "Documents and Settings" as a junction to the profiles root.
    const std::size_t root = StoredProfileRoot.size();
    if (profileImagePath.size() >= root && SameAsciiText(profileImagePath.substr(0, root), StoredProfileRoot))
        return profileImagePath.substr(root);
    return LastComponent(profileImagePath);
}

std::string ExpandVariables(const std::string& text,
                            const std::function<std::optional<std::string>(const std::string&)>& lookup) {
    std::string expanded;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t open = text.find('%', at);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            expanded += text.substr(at);
            break;
        }
        const std::string name = text.substr(open + 1, close - open - 1);
        expanded += text.substr(at, open - at) + lookup(name).value_or("%" + name + "%");
        at = close + 1;
    }
    return expanded;
}

std::string DefaultProfileFolder(const std::string& windowsDrive, const std::string& folderName) {
    return windowsDrive + ":\\Documents and Settings\\" + folderName;
}

std::string ProfileFolderPath(const std::string& profileImagePath, EnvironmentService& environment,
                              const std::string& windowsDrive) {
    std::string expanded = ExpandVariables(profileImagePath, [&](const std::string& name) {
        std::optional<std::string> value = environment.Variable(name);
        if (!value && SameAsciiText(name, "SystemDrive") && !windowsDrive.empty()) value = windowsDrive + ":";
        return value;
    });
    while (expanded.size() > 3 && IsSeparator(expanded.back())) expanded.pop_back();
    const bool drivePath = expanded.size() >= 3 && expanded[1] == ':' && IsSeparator(expanded[2]);
    const bool uncPath = expanded.size() > 2 && IsSeparator(expanded[0]) && IsSeparator(expanded[1]);
    if (drivePath || uncPath) return expanded;
    const std::string name = ProfileFolderName(profileImagePath);
    return name.empty() ? "" : DefaultProfileFolder(windowsDrive, name);
}

ProfileSet DiscoverProfiles(RegistryAccess& registry, EnvironmentService& environment,
                            InstallLocations& locations, ProfileSids& sids, ProfileFolders& folders,
                            std::string& logonUserFolder) {
    ProfileSet profiles;
    sids.clear();
    folders.clear();
    logonUserFolder.clear();
    if (IsNtFamily(environment)) {
        profiles.push_back("");
        sids.push_back("");
        folders.push_back("");
        // Every qualifying profile is kept: the set has no size limit.
        AddOtherProfiles(registry, environment, locations, {profiles, sids, folders, logonUserFolder});
    }
    registry.CloseKey();
    const bool opened = registry.OpenKey(ProfileListKey);
    locations.DefaultUserProfile = opened ? registry.ReadString("DefaultUserProfile") : "";
    locations.AllUsersProfile = opened ? registry.ReadString("AllUsersProfile") : "";
    registry.CloseKey();
    return profiles;
}

}  // namespace purgent
