#include "platform/win32/win32_programs.h"

#include <windows.h>

namespace purgent {

std::string Win32ProgramService::ShortPathName(const std::string& path) {
    std::string shortPath(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetShortPathNameA(path.c_str(), shortPath.data(),
                                         static_cast<DWORD>(shortPath.size()));
        if (length == 0) return std::string();
        // Too small a buffer is answered with the size needed, NUL included.
        if (length < shortPath.size()) {
            shortPath.resize(length);
            return shortPath;
        }
        shortPath.resize(length);
    }
}

bool Win32ProgramService::RunAndWait(const std::string& application,
                                     const std::string& commandLine) {
    std::string mutableCommandLine = commandLine;  // CreateProcessA may write into it
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(application.empty() ? nullptr : application.c_str(),
                        mutableCommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);  // read, never used
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Win32ProgramService::FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32ProgramService::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

void Win32ProgramService::ExitProcess(int status) {
    ::ExitProcess(static_cast<UINT>(status));
}

}  // namespace purgent
