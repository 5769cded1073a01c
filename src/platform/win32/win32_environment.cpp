#include "platform/win32/win32_environment.h"

#include <windows.h>

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

std::string Win32EnvironmentService::WindowsDirectory() {
    char folder[MAX_PATH + 1];
    const UINT length = GetWindowsDirectoryA(folder, sizeof(folder));
    return length == 0 || length >= sizeof(folder) ? std::string() : std::string(folder, length);
}

}  // namespace purgent
