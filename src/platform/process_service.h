#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace purgent {

// A process or snapshot handle; 0 is what a failed OpenProcess gives.
using ProcessHandle = std::uintptr_t;
using ModuleHandle = std::uintptr_t;

// OpenProcess access masks.
constexpr std::uint32_t ProcessTerminateAccess = 0x0001;
constexpr std::uint32_t ProcessQueryAndReadAccess = 0x0410;  // query information + read memory

// CreateToolhelp32Snapshot flags.
constexpr std::uint32_t SnapshotProcesses = 2;
constexpr std::uint32_t SnapshotModules = 8;

// "PSAPI.DLL" while loaded; destroying it releases the library (FreeLibrary).
class ProcessStatusLibrary {
public:
    virtual ~ProcessStatusLibrary() = default;
    // EnumProcesses into a table of ids.size() entries, handed over as its size
    // in bytes; count := the byte count reported back / 4.
    virtual bool EnumProcesses(std::vector<std::uint32_t>& ids, std::size_t& count) = 0;
    // EnumProcessModules with room for exactly one module handle: the executable.
    virtual bool FirstModule(ProcessHandle process, ModuleHandle& module) = 0;
    // GetModuleBaseNameA, at most 260 characters.
    virtual bool ModuleBaseName(ProcessHandle process, ModuleHandle module, std::string& name) = 0;
};

// The toolhelp functions of "Kernel32.DLL" while loaded; destroying it
// releases the library. Snapshots are closed with ProcessService::CloseHandle.
class ToolhelpLibrary {
public:
    virtual ~ToolhelpLibrary() = default;
    // CreateToolhelp32Snapshot; false when no snapshot could be taken.
    virtual bool CreateSnapshot(std::uint32_t flags, std::uint32_t processId,
                                ProcessHandle& snapshot) = 0;
    // Process32First / Process32Next (record size 296): the entry's process id.
    virtual bool FirstProcess(ProcessHandle snapshot, std::uint32_t& processId) = 0;
    virtual bool NextProcess(ProcessHandle snapshot, std::uint32_t& processId) = 0;
    // Module32First / Module32Next (record size 548): the module name exactly
    // as the platform reports it.
    virtual bool FirstModule(ProcessHandle snapshot, std::string& moduleName) = 0;
    virtual bool NextModule(ProcessHandle snapshot, std::string& moduleName) = 0;
};

enum class LibraryStatus { Loaded, NotLoaded, FunctionMissing };

// A library looked up at run time. A library lacking one of its functions has
// already been released again: only Loaded comes with the functions.
template <class Functions>
struct LoadedLibrary {
    LibraryStatus status = LibraryStatus::NotLoaded;
    std::unique_ptr<Functions> functions;
};

// Listing and terminating processes: the process-status library on NT, the
// toolhelp snapshots on 9x, both looked up by name at run time so the program
// starts where one of them is missing.
class ProcessService {
public:
    virtual ~ProcessService() = default;
    // LoadLibraryA("PSAPI.DLL"), then EnumProcesses, EnumProcessModules,
    // GetModuleBaseNameA by GetProcAddress.
    virtual LoadedLibrary<ProcessStatusLibrary> LoadProcessStatusLibrary() = 0;
    // LoadLibraryA("Kernel32.DLL"), then CreateToolhelp32Snapshot,
    // Process32First, Process32Next, Module32First, Module32Next.
    virtual LoadedLibrary<ToolhelpLibrary> LoadToolhelpLibrary() = 0;
    // 0 when the process cannot be opened with that access.
    virtual ProcessHandle OpenProcess(std::uint32_t access, std::uint32_t processId) = 0;
    virtual bool TerminateProcess(ProcessHandle process, std::uint32_t exitCode) = 0;
    // QueryFullProcessImageNameA, looked up in "Kernel32.DLL" at run time (absent
    // before Vista): the path of the process's executable, also where its module
    // list cannot be read. False when the function is missing or fails.
    virtual bool FullImageName(ProcessHandle process, std::string& path) = 0;
    virtual void CloseHandle(ProcessHandle handle) = 0;
    // Told the outcome of every KillProcessByName; the recorder over the
    // platform writes it, Windows has nothing to do with it.
    virtual void KillFinished(const std::string& /*name*/, int /*code*/) {}
};

}  // namespace purgent
