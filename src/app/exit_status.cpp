#include "app/exit_status.h"

#include <cstdlib>

#include "app/cleaning_run.h"

namespace purgent {

// A halt is 1602 (the user's cancel) rather than 1603: nothing was changed
// and a later attempt may well succeed, which is how deployment tools read
// 1602; 1603 is a fatal error. 1618 is the status they already retry.
const std::vector<ExitStatusRow>& ExitStatuses() {
    static const std::vector<ExitStatusRow> statuses{
        {ExitCompleted, false, 0, "the run completed"},
        {ExitCompleted, true, 3010, "the run completed; a restart will finish it"},
        {ExitHalted, false, 1602,
         "/s, /sn, /sp: the run halted; GroupWise or Messenger windows stayed open; nothing was changed"},
        {ExitFailed, false, 1603,
         "/s, /sn, /sp: the run stopped on an error; every mode: a failure before the run, "
         "the run log could not be created or written, or the capture folder was refused or not written"},
        {ExitInvalidCommandLine, false, 1639, "the command line was invalid; nothing was cleaned"},
        {ExitAnotherRun, false, 1618, "another run was in progress; nothing was changed"},
    };
    return statuses;
}

int ExitStatusFor(int status, const ProcessState& state) {
    if (!state.installerStatuses) return status;
    const bool restartNeeded = status == ExitCompleted && state.restartNeeded;
    for (const ExitStatusRow& row : ExitStatuses())
        if (row.status == status && row.restartNeeded == restartNeeded) return row.installerStatus;
    return status;
}

void EndProcess(Platform& platform, const ProcessState& state, int status) {
    if (!platform.environment.CompleteRecords()) status = ExitFailed;
    platform.programs.ExitProcess(ExitStatusFor(status, state));
    std::abort();  // not reached: the platform ends the process
}

}  // namespace purgent
