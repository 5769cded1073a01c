#pragma once
#include <functional>
#include <optional>
#include <string>

#include "run/install_locations.h"
#include "run/profile_set.h"
#include "platform/environment_service.h"
#include "registry/registry_access.h"

namespace purgent {

// Lists the other local profiles as folder names (entry 1 the current user,
// NT family only) with the SID and the own folder of each, and reads
// DefaultUserProfile and AllUsersProfile. The logged-on user's folder, when
// its entry is told apart, goes to logonUserFolder. Expects RootKey
// HKEY_LOCAL_MACHINE and locations.LogonUserName and WindowsDrive already read.
ProfileSet DiscoverProfiles(RegistryAccess& registry, EnvironmentService& environment,
                            InstallLocations& locations, ProfileSids& sids, ProfileFolders& folders,
                            std::string& logonUserFolder);

// The profile folder name a "ProfileImagePath" stands for.
std::string ProfileFolderName(const std::string& profileImagePath);

// The folder a "ProfileImagePath" names, without a trailing separator: its
// %variables% expanded from the environment (%SystemDrive% is the Windows
// drive where it is not set). One that is still no full path is taken as a
// folder name under the Windows drive's "Documents and Settings"; "" when it
// names no folder at all.
std::string ProfileFolderPath(const std::string& profileImagePath, EnvironmentService& environment,
                              const std::string& windowsDrive);

// The text with each %NAME% that lookup knows replaced by its value; the
// others, and a lone "%", stay as they are.
std::string ExpandVariables(const std::string& text,
                            const std::function<std::optional<std::string>(const std::string&)>& lookup);

// The folder of a profile known by its folder name only.
std::string DefaultProfileFolder(const std::string& windowsDrive, const std::string& folderName);

}  // namespace purgent
