#include "shutdown/kill_process.h"

#include <cstdint>
#include <set>
#include <vector>

namespace purgent {
namespace {

// The ids of the processes a call has acted on.
using TriedProcesses = std::set<std::uint32_t>;

constexpr std::size_t MaxNameLength = 260;
constexpr std::size_t FirstProcessTableSize = 1000;

// ASCII letters only, byte by byte: the platform's own case rules play no part.
std::string Capitalised(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

int Terminate(ProcessService& processes, std::uint32_t processId) {
    ProcessHandle process = processes.OpenProcess(ProcessTerminateAccess, processId);
    if (process == 0) return kill::OpenFailed;
    bool terminated = processes.TerminateProcess(process, 0);
    processes.CloseHandle(process);
    return terminated ? kill::Terminated : kill::TerminateFailed;
}

// A fixed table would silently miss processes on a busy terminal server, so
// the table grows until the whole list fits in it.
bool ReadAllProcessIds(ProcessStatusLibrary& psapi, std::vector<std::uint32_t>& ids) {
    ids.resize(FirstProcessTableSize);
    for (;;) {
        std::size_t count = 0;
        if (!psapi.EnumProcesses(ids, count)) return false;
        if (count < ids.size()) {
            ids.resize(count);
            return true;
        }
        ids.resize(ids.size() * 2);
    }
}

// "Unknown" when the process cannot be queried, so it never matches. A 32-bit
// program cannot read the module list of a 64-bit process; the path of its
// executable still names it.
std::string ExecutableName(ProcessService& processes, ProcessStatusLibrary& psapi,
                           std::uint32_t processId) {
    std::string name = "Unknown";
    ProcessHandle process = processes.OpenProcess(ProcessQueryAndReadAccess, processId);
    if (process != 0) {
        ModuleHandle executable = 0;
        std::string baseName, path;
        if (psapi.FirstModule(process, executable) &&
            psapi.ModuleBaseName(process, executable, baseName)) {
            name = baseName;
        } else if (processes.FullImageName(process, path)) {
            name = path.substr(path.find_last_of('\\') + 1);
        }
    }
    processes.CloseHandle(process);  // attempted even when the open failed
    return name;
}

int KillOnNt(ProcessService& processes, const std::string& target, TriedProcesses& tried) {
    LoadedLibrary<ProcessStatusLibrary> psapi = processes.LoadProcessStatusLibrary();
    if (psapi.status == LibraryStatus::NotLoaded) return kill::ProcessStatusNotLoaded;
    if (psapi.status == LibraryStatus::FunctionMissing) return kill::ProcessStatusIncomplete;
    std::vector<std::uint32_t> ids;
    if (!ReadAllProcessIds(*psapi.functions, ids)) return kill::ProcessListUnreadable;
    for (std::uint32_t id : ids) {
        if (tried.count(id) == 0 && Capitalised(ExecutableName(processes, *psapi.functions, id)) == target) {
            tried.insert(id);
            return Terminate(processes, id);
        }
    }
    return kill::NotFound;
}

// Module names are compared as reported, unconverted: only a name the platform
// reports in capitals can match the capitalised target.
bool HasModuleNamed(ToolhelpLibrary& toolhelp, ProcessHandle moduleSnapshot,
                    const std::string& target) {
    std::string module;
    for (bool more = toolhelp.FirstModule(moduleSnapshot, module); more;
         more = toolhelp.NextModule(moduleSnapshot, module)) {
        if (module == target) return true;
    }
    return false;
}

int KillOn9x(ProcessService& processes, const std::string& target, TriedProcesses& tried) {
    LoadedLibrary<ToolhelpLibrary> toolhelp = processes.LoadToolhelpLibrary();
    if (toolhelp.status == LibraryStatus::NotLoaded) return kill::ToolhelpNotLoaded;
    if (toolhelp.status == LibraryStatus::FunctionMissing) return kill::ToolhelpIncomplete;
    ToolhelpLibrary& functions = *toolhelp.functions;
    ProcessHandle processSnapshot = 0;
    if (!functions.CreateSnapshot(SnapshotProcesses, 0, processSnapshot)) {
        return kill::SnapshotFailed;
    }
    int result = kill::NotFound;
    std::uint32_t id = 0;
    for (bool more = functions.FirstProcess(processSnapshot, id); more;
         more = functions.NextProcess(processSnapshot, id)) {
        if (tried.count(id) != 0) continue;
        ProcessHandle moduleSnapshot = 0;
        if (!functions.CreateSnapshot(SnapshotModules, id, moduleSnapshot)) {
            result = kill::SnapshotFailed;  // the remaining processes are not examined
            break;
        }
        bool matched = HasModuleNamed(functions, moduleSnapshot, target);
        if (matched) {
            tried.insert(id);
            result = Terminate(processes, id);
        }
        processes.CloseHandle(moduleSnapshot);
        if (matched) break;
    }
    processes.CloseHandle(processSnapshot);
    return result;
}

// Acts on the first matching process not tried yet; its id joins tried.
int KillUntried(Platform& platform, const std::string& name, TriedProcesses& tried) {
    if (name.empty() || name.size() > MaxNameLength) return kill::BadName;
    std::string target = Capitalised(name);
    std::uint32_t platformId = 0;
    if (!platform.environment.PlatformId(platformId)) return kill::VersionUnreadable;
    if (platformId == PlatformWinNT) return KillOnNt(platform.processes, target, tried);
    if (platformId == PlatformWin9x) return KillOn9x(platform.processes, target, tried);
    return kill::UnknownPlatform;
}

}  // namespace

std::vector<int> KillProcessByName(Platform& platform, const std::string& name) {
    std::vector<int> codes;
    TriedProcesses tried;
    for (;;) {
        const std::size_t before = tried.size();
        const int code = KillUntried(platform, name, tried);
        const bool actedOn = tried.size() > before;
        // The search that finds nothing more after the last process ended is no outcome of its own.
        if (actedOn || codes.empty() || code != kill::NotFound) {
            codes.push_back(code);
            platform.processes.KillFinished(name, code);
        }
        if (!actedOn || tried.size() == MaxProcessesPerName) return codes;
    }
}

}  // namespace purgent
