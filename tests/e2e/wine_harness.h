#pragma once
// Runs the Windows builds under Wine for the end-to-end tests. Every test gets
// its own throwaway WINEPREFIX copied from the cached template of its kind
// (creating a prefix from scratch costs many seconds); one Xvfb serves the
// whole test binary.
#include <ostream>
#include <string>
#include <sys/types.h>
#include <vector>

namespace purgent::e2e {

// The kinds of Wine machine, each with its own template prefix.
enum class WineArch {
    Win64,  // wine64 alone: a 64-bit Windows without its 32-bit half
    // The other two run in the 32-bit runner's own Debian root:
    Win32,  // 32-bit Wine under qemu-i386 emulation: a 32-bit Windows
    Wow64,  // wine64 with the emulated 32-bit Wine beside it: a 64-bit Windows
            // running 32-bit programs (registry and system-folder redirection)
};

// The preset that built a program: build/win64 or build/win32.
enum class Build { Win64, Win32 };

// Path of a program built by a preset, e.g. BuiltExe(Build::Win32, "seed.exe").
// Throws std::runtime_error when it has not been built.
std::string BuiltExe(Build build, const std::string& name);

// A build's programs on a kind of Wine machine: what a test runs against.
struct E2eTarget {
    const char* name;  // names the target's artefacts and its test output
    WineArch arch;
    Build build;
    std::string Exe(const std::string& program) const { return BuiltExe(build, program); }
};
inline void PrintTo(const E2eTarget& target, std::ostream* out) { *out << target.name; }
inline const E2eTarget kWin64Target{"win64", WineArch::Win64, Build::Win64};
// The shipped 32-bit program on a 32-bit Windows, and on a 64-bit one.
inline const E2eTarget kWin32Target{"win32", WineArch::Win32, Build::Win32};
inline const E2eTarget kWow64Target{"wow64", WineArch::Wow64, Build::Win32};

// Runs a parameterised test suite (TEST_P over E2eTarget) on the win64 build
// (label wine) and on the shipped win32 build under the emulated 32-bit Wine
// (label win32, which takes the tests named Win32* and Wow64*).
#define PURGENT_E2E_ON_WIN64_AND_WIN32(Suite)                                              \
    INSTANTIATE_TEST_SUITE_P(Win64, Suite, ::testing::Values(::purgent::e2e::kWin64Target)); \
    INSTANTIATE_TEST_SUITE_P(Win32, Suite, ::testing::Values(::purgent::e2e::kWin32Target))

// Status reported by Run/Wait when the program outlived its time limit and
// was killed (together with everything else running in its prefix).
constexpr int kTimedOut = -1;

// A Windows program started in the background in a prefix. Killed by the
// destructor if it is still running.
class WineProcess {
public:
    WineProcess(pid_t pid, std::string prefixDir, WineArch arch);
    WineProcess(WineProcess&& other) noexcept;
    WineProcess& operator=(WineProcess&&) = delete;
    WineProcess(const WineProcess&) = delete;
    WineProcess& operator=(const WineProcess&) = delete;
    ~WineProcess();

    // Exit status of the program (0..255), or kTimedOut after killing it.
    int Wait(int timeoutSeconds);
    bool Running();
    void Kill();
    // Kills the program and what it started, as a deployment tool's time
    // limit does; the Wine machine lives on: its registry, a hive the
    // program loaded, its files.
    void KillProgram();

private:
    pid_t pid_;
    std::string prefixDir_;
    WineArch arch_;
    int status_ = kTimedOut;
};

class WinePrefix {
public:
    // Copies the template prefix; the profile folders Wine links to the host's
    // home become empty folders of the prefix's own.
    explicit WinePrefix(WineArch arch = WineArch::Win64);
    ~WinePrefix();  // kills the prefix's wineserver and deletes the prefix
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    std::string Dir() const;
    // Windows restarting: every process ends, and the next program starts
    // the machine again, which first does what was left for its start (the
    // files PendingFileRenameOperations lists are deleted).
    void Restart();
    // Maps the drive (a letter, 'd') to a new empty folder of the prefix,
    // drive_<letter>, unless it is mapped already.
    void MapDrive(char letter) const;
    // Host path of a Windows path in this prefix, e.g. "C:\\WINDOWS\\win.ini".
    // Existing components are matched case-insensitively, as Windows would.
    std::string UnixPath(const std::string& winPath) const;

    // Runs `wine args...` with the prefix's Wine loader and waits for it: exit
    // status, or kTimedOut. Under WoW64 each program runs as its own bitness.
    int Run(const std::vector<std::string>& args, int timeoutSeconds);
    WineProcess Start(const std::vector<std::string>& args);
    // As Start, but with a terminal for Wine's console: a console program
    // (cmd) then has a console of its own, as at a command prompt, which
    // the terminal's text (in Output()) shows.
    WineProcess StartOnTerminal(const std::vector<std::string>& args);

    // Everything Wine and the programs wrote to stdout/stderr in this prefix.
    std::string Output() const;

private:
    WineArch arch_;
    std::string root_;  // temporary folder holding the prefix and its log
};

// Path of a program built by the win64 preset, e.g. Win64Exe("purgent.exe").
inline std::string Win64Exe(const std::string& name) { return BuiltExe(Build::Win64, name); }
// Path of the native purgent-sim built alongside the tests.
std::string PurgentSimExe();
// Folder for test artefacts (screenshots); created on demand.
std::string ArtifactDir();
// Saves the whole Xvfb screen as ArtifactDir()/<name>.png.
void SaveScreenshot(const std::string& name);
// Waits until a file exists on the host; false when none does within the
// time limit.
bool WaitForFile(const std::string& hostPath, int timeoutSeconds);
// Waits until a window whose title contains titlePart is visible on the Xvfb
// screen; false when none is within the time limit.
bool WaitForWindow(const std::string& titlePart, int timeoutSeconds);

}  // namespace purgent::e2e
