#include "discovery/profile_discovery.h"

#include <cstdint>

namespace purgent {

namespace {

const char* const ProfileListKey = "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const char* const LocalUserSidPrefix = "S-1-5-21";
// Length of "%SystemDrive%\Documents and Settings\": the folder name follows.
constexpr std::size_t StoredProfileRootLength = 37;

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsLocalUserSid(const std::string& name) {
    const std::string prefix = LocalUserSidPrefix;
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0;
}

bool IsNtFamily(EnvironmentService& environment) {
    std::uint32_t id = 0;
    return environment.PlatformId(id) && id == PlatformWinNT;
}

std::string FolderName(const std::string& profileImagePath) {
    return profileImagePath.size() > StoredProfileRootLength
               ? profileImagePath.substr(StoredProfileRootLength)
               : "";
}

void AddOtherProfiles(RegistryAccess& registry, const std::string& logonName, ProfileSet& profiles) {
    std::vector<std::string> subKeys;
    if (registry.OpenKey(ProfileListKey)) subKeys = registry.GetKeyNames();
    registry.CloseKey();
    for (const std::string& sid : subKeys) {
        if (!IsLocalUserSid(sid)) continue;
        const bool opened = registry.OpenKey(std::string(ProfileListKey) + "\\" + sid);
        const std::string path = opened ? registry.ReadString("ProfileImagePath") : "";
        // The current user's own profile is entry 1 already.
        if (EndsWithLogonName(path, logonName)) continue;
        profiles.push_back(FolderName(path));
    }
}

}  // namespace

bool EndsWithLogonName(const std::string& path, const std::string& logonName) {
    const std::string tail =
        path.size() >= logonName.size() ? path.substr(path.size() - logonName.size()) : "";
    if (tail.size() != logonName.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (AsciiUpper(tail[i]) != AsciiUpper(logonName[i])) return false;
    return true;
}

ProfileSet DiscoverProfiles(RegistryAccess& registry, EnvironmentService& environment,
                            InstallLocations& locations) {
    ProfileSet profiles;
    if (IsNtFamily(environment)) {
        profiles.push_back("");
        // Every qualifying profile is kept: the set has no size limit.
        AddOtherProfiles(registry, locations.LogonUserName, profiles);
    }
    registry.CloseKey();
    const bool opened = registry.OpenKey(ProfileListKey);
    locations.DefaultUserProfile = opened ? registry.ReadString("DefaultUserProfile") : "";
    locations.AllUsersProfile = opened ? registry.ReadString("AllUsersProfile") : "";
    registry.CloseKey();
    return profiles;
}

}  // namespace purgent
