#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"
#include "run/install_locations.h"
#include "run/profile_set.h"

namespace purgent {

// The folders that belong to the system or to everybody, as this machine
// names them (localised, moved, in either registry view); the own-folder rule
// judges a folder against them.
struct SystemFolders {
    // GetWindowsDirectoryA and windir: refused with what lies inside or
    // around them. None known: no folder is safe.
    std::vector<std::string> windows;
    // Refused with their ancestors: Program Files (each view), the common
    // application data folder, every shell folder, every profile folder.
    std::vector<std::string> shared;
    // Refused with their ancestors and everything inside: Common Files (each
    // view), where products share components.
    std::vector<std::string> common;
    // Refused with their ancestors and everything inside: the profiles
    // folder.
    std::vector<std::string> profileRoots;
    // Refused with their ancestors and everything inside: every profile's
    // folder the ProfileList names (any account's, wherever it lies), and
    // the current user's.
    std::vector<std::string> profiles;
};

// Reads them from the Windows API, the environment and the registry's own
// records; reads only, and leaves no key open.
SystemFolders FindSystemFolders(Platform& platform, const InstallLocations& locations,
                                const ProfileFolders& profileFolders);

}  // namespace purgent
