#pragma once
#include <string>

#include "files/system_folders.h"
#include "run/run_context.h"

namespace purgent {

// Whether a folder named by the registry (the GroupWise or Messenger program
// folder) may be emptied wholesale. Any installer, administrator or broken
// setup can point App Paths elsewhere, so a folder that belongs to the
// system, to everybody or to a user is refused: a drive root, a relative or
// wildcard path, the Windows folder (or one inside or around it), a
// "Program Files", "Common Files", "Documents and Settings" or "Users"
// folder, anything in a profile folder or in the profiles folder, and
// anything on a network share or a drive mapped to one (a shared
// installation serves many workstations). Named files and subfolders in it
// are still handled by their catalogues.
//
// The folder is judged as written and in the form Windows resolves it to
// (GetFullPathNameA, then GetLongPathNameA where it exists), so that short
// names, "." and "..", trailing dots and blanks, and administrative shares
// ("\\host\C$\...", judged as "C:\...") cannot disguise a system folder; the
// system folders are those the machine names (see SystemFolders) as well as
// the English names. Every form must pass.
bool IsOwnFolder(const std::string& folder, Platform& platform, const SystemFolders& system);

// The same, against this run's machine, locations and profiles.
bool IsOwnFolder(RunContext& ctx, const std::string& folder);

}  // namespace purgent
