#pragma once
// Runs the win64 build under Wine for the end-to-end tests. Every test gets its
// own throwaway WINEPREFIX copied from the cached template (creating a prefix
// from scratch costs many seconds); one Xvfb serves the whole test binary.
#include <string>
#include <sys/types.h>
#include <vector>

namespace purgent::e2e {

// Status reported by Run/Wait when the program outlived its time limit and
// was killed (together with everything else running in its prefix).
constexpr int kTimedOut = -1;

// A Windows program started in the background in a prefix. Killed by the
// destructor if it is still running.
class WineProcess {
public:
    WineProcess(pid_t pid, std::string prefixDir);
    WineProcess(WineProcess&& other) noexcept;
    WineProcess& operator=(WineProcess&&) = delete;
    WineProcess(const WineProcess&) = delete;
    WineProcess& operator=(const WineProcess&) = delete;
    ~WineProcess();

    // Exit status of the program (0..255), or kTimedOut after killing it.
    int Wait(int timeoutSeconds);
    bool Running();
    void Kill();

private:
    pid_t pid_;
    std::string prefixDir_;
    int status_ = kTimedOut;
};

class WinePrefix {
public:
    WinePrefix();   // copies the template prefix
    ~WinePrefix();  // kills the prefix's wineserver and deletes the prefix
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    std::string Dir() const;
    // Host path of a Windows path in this prefix, e.g. "C:\\WINDOWS\\win.ini".
    // Existing components are matched case-insensitively, as Windows would.
    std::string UnixPath(const std::string& winPath) const;

    // Runs `wine args...` (a 64-bit exe runs under wine64) and waits for it:
    // exit status, or kTimedOut.
    int Run(const std::vector<std::string>& args, int timeoutSeconds);
    WineProcess Start(const std::vector<std::string>& args);

    // Everything Wine and the programs wrote to stdout/stderr in this prefix.
    std::string Output() const;

private:
    std::string root_;  // temporary folder holding the prefix and its log
};

// Path of a program built by the win64 preset, e.g. Win64Exe("purgent.exe").
// Throws std::runtime_error when it has not been built.
std::string Win64Exe(const std::string& name);
// Path of the native purgent-sim built alongside the tests.
std::string PurgentSimExe();
// Folder for test artefacts (screenshots); created on demand.
std::string ArtifactDir();
// Saves the whole Xvfb screen as ArtifactDir()/<name>.png.
void SaveScreenshot(const std::string& name);
// Waits until a window whose title contains titlePart is visible on the Xvfb
// screen; false when none is within the time limit.
bool WaitForWindow(const std::string& titlePart, int timeoutSeconds);

}  // namespace purgent::e2e
