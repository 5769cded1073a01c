#pragma once
#include <string>

#include "run/install_locations.h"
#include "run/profile_set.h"
#include "platform/environment_service.h"
#include "registry/registry_access.h"

namespace purgent {

// Lists the other local profiles as folder names (entry 1 the current user,
// NT family only) with the SID of each, and reads DefaultUserProfile and
// AllUsersProfile. Expects RootKey HKEY_LOCAL_MACHINE and
// locations.LogonUserName already read.
ProfileSet DiscoverProfiles(RegistryAccess& registry, EnvironmentService& environment,
                            InstallLocations& locations, ProfileSids& sids);

// The profile folder name a "ProfileImagePath" stands for.
std::string ProfileFolderName(const std::string& profileImagePath);

}  // namespace purgent
