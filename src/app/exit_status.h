#pragma once
#include <vector>

#include "platform/platform.h"
#include "run/process_state.h"

namespace purgent {

// One way the process can end: its own status (ExitCompleted ...) and, with
// "/msiexit", the Windows Installer's, which deployment tools act on without
// being told (3010: restart; 1618: retry later).
struct ExitStatusRow {
    int status;
    bool restartNeeded;  // a completed run that left files for the next restart
    int installerStatus;
    const char* meaning;
};

// Every way, in the order "/?" and the documents list them.
const std::vector<ExitStatusRow>& ExitStatuses();

// The status the process gives for one of its own: unchanged without
// "/msiexit", the Windows Installer's with it.
int ExitStatusFor(int status, const ProcessState& state);

// Ends the process with that status, or with a failed run's when a record
// the command line asked for (the run log, a capture) is not whole.
[[noreturn]] void EndProcess(Platform& platform, const ProcessState& state, int status);

}  // namespace purgent
