#pragma once
#include <string>

#include "run/install_locations.h"
#include "run/profile_set.h"

namespace purgent {

// Whether a folder named by the registry (the GroupWise or Messenger program
// folder) may be emptied wholesale. Any installer, administrator or broken
// setup can point App Paths elsewhere, so a folder that belongs to the
// system or to everybody is refused: a drive or share root, a relative or
// wildcard path, the Windows folder (or one inside or around it), a
// "Program Files", "Common Files", "Documents and Settings" or "Users"
// folder, and a user's profile folder. Named files and subfolders in it are
// still handled by their catalogues.
bool IsOwnFolder(const std::string& folder, const InstallLocations& locations, const ProfileSet& profiles);

}  // namespace purgent
