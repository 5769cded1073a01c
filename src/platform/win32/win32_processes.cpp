#include "platform/win32/win32_processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include <array>

namespace purgent {
namespace {

HANDLE AsHandle(ProcessHandle handle) { return reinterpret_cast<HANDLE>(handle); }
ProcessHandle FromHandle(HANDLE handle) { return reinterpret_cast<ProcessHandle>(handle); }

template <class Function>
Function As(FARPROC address) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

// A library loaded at run time with its functions looked up; released when destroyed.
template <std::size_t N>
class RunTimeLibrary {
public:
    RunTimeLibrary(HMODULE module, const std::array<FARPROC, N>& functions)
        : module_(module), functions_(functions) {}
    ~RunTimeLibrary() { FreeLibrary(module_); }
    RunTimeLibrary(const RunTimeLibrary&) = delete;
    RunTimeLibrary& operator=(const RunTimeLibrary&) = delete;

protected:
    FARPROC Function(std::size_t index) const { return functions_[index]; }

private:
    HMODULE module_;
    std::array<FARPROC, N> functions_;
};

// Both libraries are looked up by name so that the program starts where one
// of them is missing; a library lacking a function is released at once.
template <class Functions, class Library, std::size_t N>
LoadedLibrary<Functions> Load(const char* file, const std::array<const char*, N>& names) {
    LoadedLibrary<Functions> loaded;
    HMODULE module = LoadLibraryA(file);
    if (module == nullptr) return loaded;
    std::array<FARPROC, N> functions{};
    for (std::size_t i = 0; i < N; ++i) {
        functions[i] = GetProcAddress(module, names[i]);
        if (functions[i] == nullptr) {
            FreeLibrary(module);
            loaded.status = LibraryStatus::FunctionMissing;
            return loaded;
        }
    }
    loaded.status = LibraryStatus::Loaded;
    loaded.functions = std::make_unique<Library>(module, functions);
    return loaded;
}

class Win32ProcessStatusLibrary : public ProcessStatusLibrary, RunTimeLibrary<3> {
public:
    using RunTimeLibrary::RunTimeLibrary;

    bool EnumProcesses(std::vector<std::uint32_t>& ids, std::size_t& count) override {
        using Fn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
        DWORD bytes = 0;
        static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
        if (!As<Fn>(Function(0))(reinterpret_cast<DWORD*>(ids.data()),
                                 static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) {
            return false;
        }
        count = bytes / sizeof(DWORD);
        return true;
    }

    bool FirstModule(ProcessHandle process, ModuleHandle& module) override {
        using Fn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
        HMODULE first = nullptr;
        DWORD needed = 0;
        if (!As<Fn>(Function(1))(AsHandle(process), &first, sizeof(first), &needed)) return false;
        module = reinterpret_cast<ModuleHandle>(first);
        return true;
    }

    bool ModuleBaseName(ProcessHandle process, ModuleHandle module, std::string& name) override {
        using Fn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
        char buffer[MAX_PATH];  // a file name never exceeds it
        DWORD length = As<Fn>(Function(2))(AsHandle(process), reinterpret_cast<HMODULE>(module),
                                           buffer, MAX_PATH);
        if (length == 0) return false;
        name.assign(buffer, length);
        return true;
    }
};

class Win32ToolhelpLibrary : public ToolhelpLibrary, RunTimeLibrary<5> {
public:
    using RunTimeLibrary::RunTimeLibrary;

    bool CreateSnapshot(std::uint32_t flags, std::uint32_t processId,
                        ProcessHandle& snapshot) override {
        using Fn = HANDLE(WINAPI*)(DWORD, DWORD);
        HANDLE taken = As<Fn>(Function(0))(flags, processId);
        if (taken == INVALID_HANDLE_VALUE) return false;
        snapshot = FromHandle(taken);
        return true;
    }

    bool FirstProcess(ProcessHandle snapshot, std::uint32_t& processId) override {
        return Entry<PROCESSENTRY32>(Function(1), snapshot, [&](auto& e) { processId = e.th32ProcessID; });
    }
    bool NextProcess(ProcessHandle snapshot, std::uint32_t& processId) override {
        return Entry<PROCESSENTRY32>(Function(2), snapshot, [&](auto& e) { processId = e.th32ProcessID; });
    }
    bool FirstModule(ProcessHandle snapshot, std::string& moduleName) override {
        return Entry<MODULEENTRY32>(Function(3), snapshot, [&](auto& e) { moduleName = e.szModule; });
    }
    bool NextModule(ProcessHandle snapshot, std::string& moduleName) override {
        return Entry<MODULEENTRY32>(Function(4), snapshot, [&](auto& e) { moduleName = e.szModule; });
    }

private:
    static_assert(sizeof(void*) != 4 || (sizeof(PROCESSENTRY32) == 296 && sizeof(MODULEENTRY32) == 548),
                  "the ANSI toolhelp records");

    // One step of a snapshot walk, the record's size field set first.
    template <class Record, class Read>
    static bool Entry(FARPROC walk, ProcessHandle snapshot, Read read) {
        using Fn = BOOL(WINAPI*)(HANDLE, Record*);
        Record record{};
        record.dwSize = sizeof(record);
        if (!As<Fn>(walk)(AsHandle(snapshot), &record)) return false;
        read(record);
        return true;
    }
};

}  // namespace

LoadedLibrary<ProcessStatusLibrary> Win32ProcessService::LoadProcessStatusLibrary() {
    return Load<ProcessStatusLibrary, Win32ProcessStatusLibrary, 3>(
        "PSAPI.DLL", {"EnumProcesses", "EnumProcessModules", "GetModuleBaseNameA"});
}

LoadedLibrary<ToolhelpLibrary> Win32ProcessService::LoadToolhelpLibrary() {
    return Load<ToolhelpLibrary, Win32ToolhelpLibrary, 5>(
        "Kernel32.DLL", {"CreateToolhelp32Snapshot", "Process32First", "Process32Next",
                         "Module32First", "Module32Next"});
}

ProcessHandle Win32ProcessService::OpenProcess(std::uint32_t access, std::uint32_t processId) {
    return FromHandle(::OpenProcess(access, FALSE, processId));
}

bool Win32ProcessService::TerminateProcess(ProcessHandle process, std::uint32_t exitCode) {
    return ::TerminateProcess(AsHandle(process), exitCode) != FALSE;
}

bool Win32ProcessService::FullImageName(ProcessHandle process, std::string& path) {
    using Fn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, DWORD*);
    // Kernel32 stays loaded for the whole life of the process.
    static const FARPROC query =
        GetProcAddress(GetModuleHandleA("Kernel32.DLL"), "QueryFullProcessImageNameA");
    if (query == nullptr) return false;
    std::string buffer(32768, '\0');  // the longest path Windows knows
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!As<Fn>(query)(AsHandle(process), 0, buffer.data(), &length)) return false;
    path.assign(buffer.data(), length);
    return true;
}

void Win32ProcessService::CloseHandle(ProcessHandle handle) { ::CloseHandle(AsHandle(handle)); }

}  // namespace purgent
