#include "shutdown/kill_process.h"

#include <cstdint>
#include <vector>

namespace purgent {
namespace {

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

int KillOnNt(ProcessService& processes, const std::string& target) {
    LoadedLibrary<ProcessStatusLibrary> psapi = processes.LoadProcessStatusLibrary();
    if (psapi.status == LibraryStatus::NotLoaded) return kill::ProcessStatusNotLoaded;
    if (psapi.status == LibraryStatus::FunctionMissing) return kill::ProcessStatusIncomplete;
    std::vector<std::uint32_t> ids;
    if (!ReadAllProcessIds(*psapi.functions, ids)) return kill::ProcessListUnreadable;
    for (std::uint32_t id : ids) {
        if (Capitalised(ExecutableName(processes, *psapi.functions, id)) == target) {
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

int KillOn9x(ProcessService& processes, const std::string& target) {
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
        ProcessHandle moduleSnapshot = 0;
        if (!functions.CreateSnapshot(SnapshotModules, id, moduleSnapshot)) {
            result = kill::SnapshotFailed;  // the remaining processes are not examined
            break;
        }
        bool matched = HasModuleNamed(functions, moduleSnapshot, target);
        if (matched) result = Terminate(processes, id);
        processes.CloseHandle(moduleSnapshot);
        if (matched) break;
    }
    processes.CloseHandle(processSnapshot);
    return result;
}

int KillByPlatform(Platform& platform, const std::string& name) {
    if (name.empty() || name.size() > MaxNameLength) return kill::BadName;
    std::string target = Capitalised(name);
    std::uint32_t platformId = 0;
    if (!platform.environment.PlatformId(platformId)) return kill::VersionUnreadable;
    if (platformId == PlatformWinNT) return KillOnNt(platform.processes, target);
    if (platformId == PlatformWin9x) return KillOn9x(platform.processes, target);
    return kill::UnknownPlatform;
}

}  // namespace

int KillProcessByName(Platform& platform, const std::string& name) {
    int code = KillByPlatform(platform, name);
    platform.processes.KillFinished(name, code);
    return code;
}

}  // namespace purgent
