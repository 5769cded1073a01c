#include "platform/win32/win32_environment.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace purgent {

std::optional<std::string> Win32EnvironmentService::Variable(const std::string& name) {
    std::string value(MAX_PATH, '\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(),
                                               static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        // A value that does not fit comes back as the size it needs, NUL included.
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);
    }
}

std::string Win32EnvironmentService::CommandLine() { return GetCommandLineA(); }

bool Win32EnvironmentService::PlatformId(std::uint32_t& id) {
    OSVERSIONINFOA info{};
    static_assert(sizeof(info) == 148, "the ANSI version record is 148 bytes");
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) return false;
    id = info.dwPlatformId;
    return true;
}

std::string Win32EnvironmentService::ProgramVersion() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return "";
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(path, &ignored));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (info.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), info.data()) ||
        !VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size) || !fixed)
        return "";
    char version[48];
    std::snprintf(version, sizeof version, "%u.%u.%u.%u", unsigned{HIWORD(fixed->dwFileVersionMS)},
                  unsigned{LOWORD(fixed->dwFileVersionMS)}, unsigned{HIWORD(fixed->dwFileVersionLS)},
                  unsigned{LOWORD(fixed->dwFileVersionLS)});
    return version;
}

std::string Win32EnvironmentService::LocalTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
}

std::string Win32EnvironmentService::ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : "";
}

std::string Win32EnvironmentService::UserName() {
    char name[257];  // UNLEN + 1
    DWORD size = sizeof name;
    // The size given back counts the terminating NUL.
    return GetUserNameA(name, &size) && size > 0 ? std::string(name, size - 1) : "";
}

}  // namespace purgent
