#pragma once
#include <functional>
#include <string>

#include "files/path_template.h"
#include "run/install_locations.h"
#include "run/run_context.h"

namespace purgent {

// A profile other than the current user's, as its own hive describes it.
struct OtherUser {
    std::string folder;          // the profile's own folder
    InstallLocations locations;  // the run's, with this user's four shell folders
};

// Runs body for every other profile whose hive is at hand (where Windows
// keeps it loaded, or mounted), with the shell folders its own hive names.
// Run as SYSTEM, or by an administrator over a user's shoulder, the current
// user's shell folders are not the users' own: this is how each user's
// shortcuts and files are found.
void ForEachOtherUser(RunContext& ctx, const std::function<void(const OtherUser&)>& body);

// Whether a catalogue path is composed from a user shell folder that the
// locations name: another user's paths are those alone, and an empty one
// would name the drive's root.
bool NamesUserShellFolder(const PathTemplate& path, const InstallLocations& locations);

}  // namespace purgent
