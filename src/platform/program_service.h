#pragma once
#include <string>

namespace purgent {

// Starting other programs and ending this one.
class ProgramService {
public:
    virtual ~ProgramService() = default;
    // GetShortPathNameA; "" when the platform cannot give one (e.g. no such file).
    virtual std::string ShortPathName(const std::string& path) = 0;
    // CreateProcessA(application, commandLine) with inherited handles, then
    // WaitForSingleObject without a time limit. The exit code is not used.
    // False when the process could not be created.
    virtual bool RunAndWait(const std::string& application, const std::string& commandLine) = 0;
    // The file RunAndWait would start for these arguments: the application
    // when one is named (the program always names it); "" when none is found.
    virtual std::string StartedProgram(const std::string& application, const std::string& /*commandLine*/) {
        return application;
    }
    // Whether a file (not a folder) exists at path; used by the program search.
    virtual bool FileExists(const std::string& path) = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
    // Ends the process. The simulator unwinds with ProcessExit instead.
    [[noreturn]] virtual void ExitProcess(int status) = 0;
};

}  // namespace purgent
