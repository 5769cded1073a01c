#pragma once
#include <optional>
#include <string>
#include <vector>

#include "run/run_options.h"
#include "run/window_survey_state.h"

namespace purgent {

// What lives as long as the process, across runs.
struct ProcessState {
    SilentMode silentMode = SilentMode::Interactive;
    bool networkInstall = false;  // "/nw", then the Networked box at every run start
    bool webServices = false;     // "/rws", rewritten by the WebServices box
    std::optional<std::string> logFile;  // "/log=": the run log's path
    bool preview = false;                 // "/whatif": nothing on the machine is changed
    std::string captureFolder;            // "/capture=": what the preview read goes there
    bool installerStatuses = false;       // "/msiexit": the process ends with the Windows Installer's statuses
    // Passed over: unknown after "/sn", or after the eighth; the log names them.
    std::vector<std::string> ignoredArguments;
    WindowSurveyState windowSurvey;
    // How the last run ended, for a process that ends when its window closes.
    int lastRunStatus = 0;
    // The last run left files for Windows to delete when it next starts;
    // a run that finds them still held schedules them again.
    bool restartNeeded = false;
};

}  // namespace purgent
