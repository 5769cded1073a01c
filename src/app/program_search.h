#pragma once
#include <optional>
#include <string>

#include "platform/environment_service.h"
#include "platform/program_service.h"

namespace purgent {

// What to hand to ProgramService::RunAndWait.
struct ProgramStart {
    std::string application;
    std::string commandLine;
};

// Finds the file of program: a name without drive or folder in the current
// folder and then along PATH; a name without extension as .EXE, .BAT, .CMD in
// this order. A batch file runs through COMSPEC with /c, the program quoted
// and the whole command in one more pair of quotes. commandLine is the full
// command line (program text first, quoted when it holds a blank).
// nullopt when nothing is found.
std::optional<ProgramStart> FindProgram(const std::string& program, const std::string& commandLine,
                                        EnvironmentService& environment, ProgramService& programs);

}  // namespace purgent
