#pragma once
#include <string>

#include "run/run_context.h"
#include "run/run_options.h"

namespace purgent {

// Every phase of the run has this shape; the phase table in cleaning_run.cpp
// calls them in order under their guards.
using PhaseStep = void (*)(RunContext& ctx);

// Exit statuses of the process after an unattended run.
constexpr int ExitCompleted = 0;
constexpr int ExitHalted = 1;  // unattended modes only
constexpr int ExitFailed = 2;  // unattended modes only; before the run, every mode
// After the "Invalid Purgent Commandline" box, in every mode: a deployment
// tool must not take a run that did nothing for a success.
constexpr int ExitInvalidCommandLine = 3;
// Another run holds the run's name, in every mode; nothing was changed.
constexpr int ExitAnotherRun = 4;

// The click action of the Clean button: start, phases, end. Returns after a
// halt, an error, or a completed Interactive run; otherwise ends the process.
void RunCleaning(RunContext& ctx);

// The error box's text for a failure: its message, ending in a full stop.
std::string ErrorBoxText(const std::string& message);

// The progress maximum a run starts with, before the deregistration phases
// add the DLLs they find.
int InitialProgressMaximum(const RunOptions& options);

}  // namespace purgent
