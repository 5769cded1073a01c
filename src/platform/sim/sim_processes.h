#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "platform/process_service.h"

namespace purgent::sim {

struct SimProcess {
    std::uint32_t id = 0;
    std::string image;          // also its module name as 9x reports it
    bool queryable = true;      // NT: opens for querying; 9x: its module snapshot can be taken
    bool modulesReadable = true;  // machine.ini `modules=no`: NT: only its image name can be read
    bool terminable = true;     // opens for termination
    bool terminates = true;     // machine.ini `terminates=no`: TerminateProcess fails
    bool running = true;
};

struct SimWindow {
    std::string title;
    std::string className;
    bool closes = true;         // goes away on the close request
    std::string process;        // image whose termination takes the window away
    bool threadKnown = true;    // machine.ini `thread=no`: GetWindowThreadProcessId gives 0
    bool open = true;
};

// The running programs of the simulated workstation and their top-level windows.
struct SimTasks {
    explicit SimTasks(const image::MachineIni& ini);

    // A window of the image goes away once no process of that image runs.
    void Terminate(SimProcess& process);
    SimProcess* FindRunning(std::uint32_t id);

    std::vector<SimProcess> processes;
    std::vector<SimWindow> windows;
};

// How a run-time library behaves; [machine] `psapi=` and `toolhelp=`:
// yes (default), no (cannot be loaded), incomplete (a function is missing),
// failing (the process list or snapshot cannot be read).
enum class SimLibrary { Works, Missing, Incomplete, Failing };

// The processes of the simulated workstation; they own the tasks that the
// window service shows.
class SimProcesses : public ProcessService {
public:
    explicit SimProcesses(const image::MachineIni& machine);

    LoadedLibrary<ProcessStatusLibrary> LoadProcessStatusLibrary() override;
    LoadedLibrary<ToolhelpLibrary> LoadToolhelpLibrary() override;
    ProcessHandle OpenProcess(std::uint32_t access, std::uint32_t processId) override;
    bool TerminateProcess(ProcessHandle process, std::uint32_t exitCode) override;
    // The image name in a folder of its own.
    bool FullImageName(ProcessHandle process, std::string& path) override;
    void CloseHandle(ProcessHandle handle) override;

    SimTasks& Tasks() { return tasks_; }
    const SimTasks& Tasks() const { return tasks_; }
    // Libraries loaded and handles opened that were not released yet.
    int LoadedLibraries() const { return loadedLibraries_; }
    std::size_t OpenHandles() const { return handles_.size(); }

private:
    friend class SimProcessStatusLibrary;
    friend class SimToolhelpLibrary;

    // A process handle, or a snapshot: the ids or module names it holds and
    // how far a walk has got.
    struct Handle {
        std::uint32_t processId = 0;
        std::uint32_t access = 0;
        std::vector<std::uint32_t> processIds;
        std::vector<std::string> modules;
        std::size_t next = 0;
    };

    ProcessHandle NewHandle(Handle handle);
    Handle* FindHandle(ProcessHandle handle);
    // A process handle opened for querying, else nullptr.
    Handle* QueryHandle(ProcessHandle process);
    template <class Library>
    LoadedLibrary<Library> Load(SimLibrary behaviour);

    SimTasks tasks_;
    SimLibrary processStatus_;
    SimLibrary toolhelp_;
    std::map<ProcessHandle, Handle> handles_;
    ProcessHandle nextHandle_ = 0x100;
    int loadedLibraries_ = 0;
};

}  // namespace purgent::sim
