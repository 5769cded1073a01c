#include "platform/sim/sim_processes.h"

#include <memory>
#include <type_traits>

#include "platform/sim/sim_names.h"

namespace purgent::sim {
namespace {

const std::string* FindKey(const std::vector<image::IniEntry>& entries, const std::string& key) {
    for (const image::IniEntry& entry : entries) {
        if (entry.key == key) return &entry.value;
    }
    return nullptr;
}

bool YesNoKey(const std::vector<image::IniEntry>& entries, const std::string& key,
              const std::string& section) {
    const std::string* value = FindKey(entries, key);
    if (value == nullptr || *value == "yes") return true;
    if (*value == "no") return false;
    throw image::ImageError("machine.ini [" + section + "]: " + key + "=" + *value +
                            " is neither yes nor no");
}

SimLibrary LibraryKey(const image::MachineSettings& settings, const std::string& key) {
    const std::string* value = FindKey(settings.otherKeys, key);
    if (value == nullptr || *value == "yes") return SimLibrary::Works;
    if (*value == "no") return SimLibrary::Missing;
    if (*value == "incomplete") return SimLibrary::Incomplete;
    if (*value == "failing") return SimLibrary::Failing;
    throw image::ImageError("machine.ini [machine]: " + key + "=" + *value +
                            " is not yes, no, incomplete or failing");
}

}  // namespace

SimTasks::SimTasks(const image::MachineIni& ini) {
    std::uint32_t id = 0;
    for (const image::ProcessEntry& entry : ini.processes) {
        id += 4;  // Windows hands out process ids in steps of 4
        processes.push_back(SimProcess{id, entry.image, entry.queryable,
                                       YesNoKey(entry.otherKeys, "modules", "process"), entry.terminable,
                                       YesNoKey(entry.otherKeys, "terminates", "process"), true});
    }
    for (const image::WindowEntry& entry : ini.windows) {
        windows.push_back(SimWindow{entry.title, entry.className, entry.closes, entry.process,
                                    YesNoKey(entry.otherKeys, "thread", "window"), true});
    }
}

void SimTasks::Terminate(SimProcess& process) {
    process.running = false;
    for (const SimProcess& other : processes) {
        if (other.running && SameName(other.image, process.image)) return;
    }
    for (SimWindow& window : windows) {
        if (SameName(window.process, process.image)) window.open = false;
    }
}

SimProcess* SimTasks::FindRunning(std::uint32_t id) {
    for (SimProcess& process : processes) {
        if (process.running && process.id == id) return &process;
    }
    return nullptr;
}

class SimProcessStatusLibrary : public ProcessStatusLibrary {
public:
    SimProcessStatusLibrary(SimProcesses& owner, bool failing) : owner_(owner), failing_(failing) {}
    ~SimProcessStatusLibrary() override { --owner_.loadedLibraries_; }

    bool EnumProcesses(std::vector<std::uint32_t>& ids, std::size_t& count) override {
        if (failing_) return false;
        count = 0;
        for (const SimProcess& process : owner_.tasks_.processes) {
            if (process.running && count < ids.size()) ids[count++] = process.id;
        }
        return true;
    }

    bool FirstModule(ProcessHandle process, ModuleHandle& module) override {
        SimProcesses::Handle* handle = owner_.QueryHandle(process);
        SimProcess* running = handle ? owner_.tasks_.FindRunning(handle->processId) : nullptr;
        if (running == nullptr || !running->modulesReadable) return false;
        module = handle->processId;
        return true;
    }

    bool ModuleBaseName(ProcessHandle process, ModuleHandle module, std::string& name) override {
        SimProcesses::Handle* handle = owner_.QueryHandle(process);
        if (handle == nullptr || module != handle->processId) return false;
        SimProcess* running = owner_.tasks_.FindRunning(handle->processId);
        if (running == nullptr) return false;
        name = running->image.substr(0, 260);
        return true;
    }

private:
    SimProcesses& owner_;
    bool failing_;
};

class SimToolhelpLibrary : public ToolhelpLibrary {
public:
    SimToolhelpLibrary(SimProcesses& owner, bool failing) : owner_(owner), failing_(failing) {}
    ~SimToolhelpLibrary() override { --owner_.loadedLibraries_; }

    bool CreateSnapshot(std::uint32_t flags, std::uint32_t processId,
                        ProcessHandle& snapshot) override {
        SimProcesses::Handle taken;
        if (flags == SnapshotProcesses) {
            if (failing_) return false;
            for (const SimProcess& process : owner_.tasks_.processes) {
                if (process.running) taken.processIds.push_back(process.id);
            }
        } else if (flags == SnapshotModules) {
            // A process the caller may not look into refuses its module snapshot.
            SimProcess* process = owner_.tasks_.FindRunning(processId);
            if (process == nullptr || !process->queryable) return false;
            taken.modules.push_back(process->image);
        } else {
            return false;
        }
        snapshot = owner_.NewHandle(taken);
        return true;
    }

    bool FirstProcess(ProcessHandle snapshot, std::uint32_t& processId) override {
        return Step(snapshot, true, &SimProcesses::Handle::processIds, processId);
    }
    bool NextProcess(ProcessHandle snapshot, std::uint32_t& processId) override {
        return Step(snapshot, false, &SimProcesses::Handle::processIds, processId);
    }
    bool FirstModule(ProcessHandle snapshot, std::string& moduleName) override {
        return Step(snapshot, true, &SimProcesses::Handle::modules, moduleName);
    }
    bool NextModule(ProcessHandle snapshot, std::string& moduleName) override {
        return Step(snapshot, false, &SimProcesses::Handle::modules, moduleName);
    }

private:
    // First restarts the walk at the snapshot's first entry, Next moves on.
    template <class Entry>
    bool Step(ProcessHandle snapshot, bool first,
              std::vector<Entry> SimProcesses::Handle::*entries, Entry& entry) {
        SimProcesses::Handle* handle = owner_.FindHandle(snapshot);
        if (handle == nullptr) return false;
        handle->next = first ? 0 : handle->next + 1;
        const std::vector<Entry>& list = (*handle).*entries;
        if (handle->next >= list.size()) return false;
        entry = list[handle->next];
        return true;
    }

    SimProcesses& owner_;
    bool failing_;
};

SimProcesses::SimProcesses(const image::MachineIni& machine)
    : tasks_(machine),
      processStatus_(LibraryKey(machine.machine, "psapi")),
      toolhelp_(LibraryKey(machine.machine, "toolhelp")) {}

template <class Library>
LoadedLibrary<Library> SimProcesses::Load(SimLibrary behaviour) {
    LoadedLibrary<Library> loaded;
    if (behaviour == SimLibrary::Missing) {
        loaded.status = LibraryStatus::NotLoaded;
    } else if (behaviour == SimLibrary::Incomplete) {
        loaded.status = LibraryStatus::FunctionMissing;
    } else {
        loaded.status = LibraryStatus::Loaded;
        ++loadedLibraries_;
        bool failing = behaviour == SimLibrary::Failing;
        if constexpr (std::is_same_v<Library, ProcessStatusLibrary>) {
            loaded.functions = std::make_unique<SimProcessStatusLibrary>(*this, failing);
        } else {
            loaded.functions = std::make_unique<SimToolhelpLibrary>(*this, failing);
        }
    }
    return loaded;
}

LoadedLibrary<ProcessStatusLibrary> SimProcesses::LoadProcessStatusLibrary() {
    return Load<ProcessStatusLibrary>(processStatus_);
}

LoadedLibrary<ToolhelpLibrary> SimProcesses::LoadToolhelpLibrary() {
    return Load<ToolhelpLibrary>(toolhelp_);
}

ProcessHandle SimProcesses::OpenProcess(std::uint32_t access, std::uint32_t processId) {
    SimProcess* process = tasks_.FindRunning(processId);
    if (process == nullptr) return 0;
    if ((access & ProcessQueryAndReadAccess) != 0 && !process->queryable) return 0;
    if ((access & ProcessTerminateAccess) != 0 && !process->terminable) return 0;
    Handle handle;
    handle.processId = processId;
    handle.access = access;
    return NewHandle(handle);
}

bool SimProcesses::TerminateProcess(ProcessHandle process, std::uint32_t /*exitCode*/) {
    Handle* handle = FindHandle(process);
    if (handle == nullptr || (handle->access & ProcessTerminateAccess) == 0) return false;
    SimProcess* running = tasks_.FindRunning(handle->processId);
    if (running == nullptr || !running->terminates) return false;
    tasks_.Terminate(*running);
    return true;
}

bool SimProcesses::FullImageName(ProcessHandle process, std::string& path) {
    Handle* handle = QueryHandle(process);
    SimProcess* running = handle ? tasks_.FindRunning(handle->processId) : nullptr;
    if (running == nullptr) return false;
    path = "C:\\Program Files\\" + running->image;
    return true;
}

void SimProcesses::CloseHandle(ProcessHandle handle) { handles_.erase(handle); }

ProcessHandle SimProcesses::NewHandle(Handle handle) {
    ProcessHandle value = nextHandle_;
    nextHandle_ += 4;
    handles_.emplace(value, std::move(handle));
    return value;
}

SimProcesses::Handle* SimProcesses::FindHandle(ProcessHandle handle) {
    auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : &found->second;
}

SimProcesses::Handle* SimProcesses::QueryHandle(ProcessHandle process) {
    Handle* handle = FindHandle(process);
    const bool mayQuery =
        handle != nullptr && (handle->access & ProcessQueryAndReadAccess) == ProcessQueryAndReadAccess;
    return mayQuery ? handle : nullptr;
}

}  // namespace purgent::sim
