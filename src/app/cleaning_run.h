#pragma once
#include "run/run_context.h"
#include "run/run_options.h"

namespace purgent {

// Every phase of the run has this shape; the phase table in cleaning_run.cpp
// calls them in order under their guards.
using PhaseStep = void (*)(RunContext& ctx);

// Exit statuses of the process after an unattended run.
constexpr int ExitCompleted = 0;
constexpr int ExitHalted = 1;  // Silent, SilentNoMessage only
constexpr int ExitFailed = 2;  // Silent, SilentNoMessage only

// The click action of the Clean button: start, phases, end. Returns after a
// halt, an error, or a completed Interactive run; otherwise ends the process.
void RunCleaning(RunContext& ctx);

// The progress maximum a run starts with, before the deregistration phases
// add the DLLs they find.
int InitialProgressMaximum(const RunOptions& options);

}  // namespace purgent
