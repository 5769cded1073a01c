#pragma once
#include <string>

#include "platform/program_service.h"
#include "platform/sim/sim_drive.h"
#include "platform/sim/sim_environment.h"
#include "platform/sim/sim_regsvr.h"

namespace purgent::sim {

// ExitProcess in the simulator: unwinds to the runner, which returns the
// status. Deliberately not a std::exception, so no error handler takes it.
struct SimProcessExit {
    int status;
};

// The status of a process killed with SIGKILL, as a shell reports it.
constexpr int ExitKilled = 137;

// Starting programs on the simulated workstation. A started program counts
// as having run to its end at once; waits take no time. The image has no 8.3 names: a short path is the path as given.
// The registration tool of the system folder does its work (SimRegsvr).
class SimPrograms final : public ProgramService {
public:
    SimPrograms(const SimDrive& drive, SimEnvironment& environment, SimRegsvr& regsvr);

    std::string ShortPathName(const std::string& path) override;
    // CreateProcessA: an application given by name must exist as named; with
    // none, the first token of the command line is searched for the way
    // CreateProcessA does (".exe" added when it has no extension; a bare name
    // in the system folders, then along PATH).
    bool RunAndWait(const std::string& application, const std::string& commandLine) override;
    std::string StartedProgram(const std::string& application, const std::string& commandLine) override;
    bool FileExists(const std::string& path) override;
    void Sleep(unsigned milliseconds) override;
    [[noreturn]] void ExitProcess(int status) override;

private:
    // A bare workstation has the registration tool and the command interpreter.
    bool IsSystemTool(const std::string& path);
    bool IsSystemFile(const std::string& path, const char* name);
    std::string FindProgram(const std::string& commandLine);

    const SimDrive& drive_;
    SimEnvironment& environment_;
    SimRegsvr& regsvr_;
};

}  // namespace purgent::sim
