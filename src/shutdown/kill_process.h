#pragma once
#include <cstddef>
#include <string>
#include <vector>

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

// At most this many processes of one name are tried in one call: a program
// restarted as fast as it is ended must not keep the run here for ever.
constexpr std::size_t MaxProcessesPerName = 1000;

// Terminates every running process whose executable is named `name` (a file
// name without folder, e.g. "grpwise.exe"), in every session, with exit code
// 0. A terminal server or fast user switching runs one Outlook per user, and
// any one left keeps the client's files and MAPI profile in use. The search
// is made again while a process of that name is left that it has not tried
// yet, so one that cannot be ended is tried once. Returns one of the codes
// above for each process acted on, in order, and the code of a failure that
// ended the search; NotFound alone when none runs. Each is told to
// ProcessService::KillFinished.
std::vector<int> KillProcessByName(Platform& platform, const std::string& name);

}  // namespace purgent
