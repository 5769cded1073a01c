#pragma once
#include <string>

#include "platform/platform.h"

namespace purgent {

// Result codes of KillProcessByName.
namespace kill {
constexpr int Terminated = 0;
constexpr int TerminateFailed = 602;
constexpr int NotFound = 603;
constexpr int OpenFailed = 604;
constexpr int ProcessStatusNotLoaded = 605;
constexpr int VersionUnreadable = 606;
constexpr int UnknownPlatform = 607;
constexpr int BadName = 632;
constexpr int ProcessStatusIncomplete = 700;
constexpr int ProcessListUnreadable = 701;
constexpr int ToolhelpNotLoaded = 702;
constexpr int ToolhelpIncomplete = 703;
constexpr int SnapshotFailed = 704;
}  // namespace kill

// Terminates the first running process, in enumeration order, whose executable
// is named `name` (a file name without folder, e.g. "grpwise.exe"), with exit
// code 0. Returns one of the codes above.
int KillProcessByName(Platform& platform, const std::string& name);

}  // namespace purgent
