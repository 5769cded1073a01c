#include "platform/win32/win32_environment.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace purgent {

namespace {

bool ReadVersion(OSVERSIONINFOA& info) {
    info = OSVERSIONINFOA{};
    static_assert(sizeof(info) == 148, "the ANSI version record is 148 bytes");
    info.dwOSVersionInfoSize = sizeof(info);
    return GetVersionExA(&info) != 0;
}

// A 32-bit program on 64-bit Windows runs under WoW64; Windows 2000 has no
// IsWow64Process, and no 64-bit edition.
bool WindowsIs64Bit() {
    if (sizeof(void*) == 8) return true;
    using Wow64Query = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64Process = reinterpret_cast<Wow64Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

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
    OSVERSIONINFOA info;
    if (!ReadVersion(info)) return false;
    id = info.dwPlatformId;
    return true;
}

// The manifest names Windows 10 and 11, so the version is theirs, not that
// of an older Windows a program without it is told. The 9x family keeps its
// major and minor version in the build's high word.
std::optional<WindowsRelease> Win32EnvironmentService::Release() {
    OSVERSIONINFOA info;
    if (!ReadVersion(info)) return std::nullopt;
    return WindowsRelease{info.dwMajorVersion, info.dwMinorVersion, LOWORD(info.dwBuildNumber), WindowsIs64Bit()};
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

std::string Win32EnvironmentService::WindowsDirectory() {
    char folder[MAX_PATH + 1];
    const UINT length = GetWindowsDirectoryA(folder, sizeof(folder));
    return length == 0 || length >= sizeof(folder) ? std::string() : std::string(folder, length);
}

}  // namespace purgent
