#include "shutdown/kill_result_text.h"

#include "shutdown/kill_process.h"

namespace purgent {

std::string KillResultText(int code) {
    switch (code) {
        case kill::Terminated: return "ended";
        case kill::TerminateFailed: return "found, but terminating it failed";
        case kill::NotFound: return "not running";
        case kill::OpenFailed: return "found, but it cannot be opened for termination";
        case kill::ProcessStatusNotLoaded: return "not looked for: PSAPI.DLL cannot be loaded";
        case kill::VersionUnreadable: return "not looked for: the Windows version cannot be read";
        case kill::UnknownPlatform: return "not looked for: the platform is neither NT nor 9x";
        case kill::BadName: return "not looked for: the name is empty or longer than 260 characters";
        case kill::ProcessStatusIncomplete: return "not looked for: PSAPI.DLL lacks one of its functions";
        case kill::ProcessListUnreadable: return "not looked for: the process list cannot be read";
        case kill::ToolhelpNotLoaded: return "not looked for: the toolhelp functions cannot be loaded";
        case kill::ToolhelpIncomplete: return "not looked for: a toolhelp function is missing";
        case kill::SnapshotFailed: return "not all processes looked at: a snapshot cannot be taken";
        default: return "result " + std::to_string(code);
    }
}

}  // namespace purgent
