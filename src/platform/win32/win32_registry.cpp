#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "platform/win32/win32_key_path.h"
#include "platform/win32/win32_registry_links.h"

namespace purgent {
namespace {

HKEY Handle(RegKey key) { return reinterpret_cast<HKEY>(key); }

// RegEnumKeyExA / RegEnumValueA fill a name buffer; grow it until the name fits.
template <typename EnumFunction>
long EnumName(std::string& name, EnumFunction enumerate) {
    std::string buffer(256, '\0');
    for (;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG result = enumerate(buffer.data(), &length);
        if (result == ERROR_MORE_DATA) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (result == ERROR_SUCCESS) name.assign(buffer.data(), length);
        return result;
    }
}

bool EnablePrivilege(const char* name) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return false;
    TOKEN_PRIVILEGES privileges{};
    static_assert(sizeof(privileges) == 16, "one privilege entry is 16 bytes");
    bool enabled = false;
    if (LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        // AdjustTokenPrivileges succeeds even when the account lacks the
        // privilege; only the last error tells (ERROR_NOT_ALL_ASSIGNED).
        enabled = AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), nullptr,
                                        nullptr) &&
                  GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return enabled;
}

bool RunningOnWine() {
    static const bool wine =
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// Saves the loaded key into a fresh file; false when no complete copy was written.
bool SaveLoadedKey(HKEY root, const std::string& name, const std::string& file) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    EnablePrivilege("SeBackupPrivilege");
    DeleteFileA(file.c_str());  // RegSaveKeyA refuses an existing file
    const bool saved = RegSaveKeyA(key, file.c_str(), nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);  // an open handle would make the unload fail
    return saved;
}

}  // namespace

long Win32RegistryService::OpenKey(RegKey base, const std::string& subKey, RegKey& opened) {
    return OpenWith(base, subKey, 0, opened);
}

long Win32RegistryService::OpenAsLink(RegKey base, const std::string& subKey, RegKey& opened) {
    return OpenWith(base, subKey, REG_OPTION_OPEN_LINK, opened);
}

long Win32RegistryService::OpenWith(RegKey base, const std::string& subKey, unsigned long options, RegKey& opened) {
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(Handle(base), subKey.c_str(), options, KEY_ALL_ACCESS, &key);
    if (result == ERROR_SUCCESS) opened = reinterpret_cast<RegKey>(key);
    return result;
}

long Win32RegistryService::CloseKey(RegKey key) { return RegCloseKey(Handle(key)); }

long Win32RegistryService::QueryInfoKey(RegKey key, std::uint32_t& subKeys,
                                        std::uint32_t& maxSubKeyLength, std::uint32_t& values) {
    DWORD keyCount = 0, longestKey = 0, valueCount = 0;
    LONG result = RegQueryInfoKeyA(Handle(key), nullptr, nullptr, nullptr, &keyCount, &longestKey,
                                   nullptr, &valueCount, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
        subKeys = keyCount;
        maxSubKeyLength = longestKey;
        values = valueCount;
    }
    return result;
}

long Win32RegistryService::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
    return EnumName(name, [&](char* buffer, DWORD* length) {
        return RegEnumKeyExA(Handle(key), index, buffer, length, nullptr, nullptr, nullptr,
                             nullptr);
    });
}

long Win32RegistryService::EnumValue(RegKey key, std::uint32_t index, std::string& name) {
    return EnumName(name, [&](char* buffer, DWORD* length) {
        return RegEnumValueA(Handle(key), index, buffer, length, nullptr, nullptr, nullptr,
                             nullptr);
    });
}

long Win32RegistryService::QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                                      std::vector<std::uint8_t>& data) {
    DWORD size = 0;
    DWORD valueType = REG_NONE;
    LONG result = RegQueryValueExA(Handle(key), name.c_str(), nullptr, &valueType, nullptr, &size);
    // The value may grow between the size query and the read: ask again until it fits.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        data.resize(size);
        result = RegQueryValueExA(Handle(key), name.c_str(), nullptr, &valueType, data.data(),
                                  &size);
        if (result == ERROR_SUCCESS) {
            data.resize(size);
            type = valueType;
            return result;
        }
    }
    return result;
}

long Win32RegistryService::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                    const std::vector<std::uint8_t>& data) {
    return RegSetValueExA(Handle(key), name.c_str(), 0, type, data.data(),
                          static_cast<DWORD>(data.size()));
}

long Win32RegistryService::DeleteKey(RegKey base, const std::string& subKey) {
    return RegDeleteKeyA(Handle(base), subKey.c_str());
}

LinkCheck Win32RegistryService::CheckLink(RegKey base, const std::string& subKey, RegLink& link) {
    return CheckLinkAt(Handle(base), subKey, link);
}

bool Win32RegistryService::IsLink(RegKey key, RegLink& link) { return OpenKeyIsLink(Handle(key), link); }

long Win32RegistryService::DeleteLink(RegKey base, const std::string& subKey) {
    return DeleteLinkAt(Handle(base), subKey);
}

long Win32RegistryService::DeleteValue(RegKey key, const std::string& name) {
    return RegDeleteValueA(Handle(key), name.c_str());
}

long Win32RegistryService::LoadKey(RegKey root, const std::string& name,
                                   const std::string& file) {
    const LONG result = RegLoadKeyA(Handle(root), name.c_str(), file.c_str());
    if (result == ERROR_SUCCESS && RunningOnWine()) hiveFiles_[name] = file;
    return result;
}

// Windows writes a loaded hive back to its file at the unload; Wine drops it
// with every change made inside. So under Wine the key is saved next to the
// hive file first and, once the unload has succeeded, the copy replaces it,
// taking over the file's attributes as a write in place would keep them.
long Win32RegistryService::UnLoadKey(RegKey root, const std::string& name) {
    const auto hive = hiveFiles_.find(name);
    if (hive == hiveFiles_.end()) return RegUnLoadKeyA(Handle(root), name.c_str());
    const std::string file = hive->second;
    const std::string saved = file + ".purgent-new";
    const DWORD attributes = GetFileAttributesA(file.c_str());
    const bool haveCopy = SaveLoadedKey(Handle(root), name, saved);
    const LONG result = RegUnLoadKeyA(Handle(root), name.c_str());
    const bool unloaded = result == ERROR_SUCCESS;
    if (unloaded) hiveFiles_.erase(hive);
    if (!unloaded || !haveCopy ||
        !MoveFileExA(saved.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING))
        DeleteFileA(saved.c_str());
    else if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(file.c_str(), attributes);
    return result;
}

long Win32RegistryService::UnLoadKeyUnchanged(RegKey root, const std::string& name) {
    const LONG result = RegUnLoadKeyA(Handle(root), name.c_str());
    if (result == ERROR_SUCCESS) hiveFiles_.erase(name);
    return result;
}

bool Win32RegistryService::EnableRestorePrivilege() { return EnablePrivilege("SeRestorePrivilege"); }

std::string Win32RegistryService::KeyPath(RegKey base, const std::string& subKey) {
    return KeyPathOf(Handle(base), subKey);
}

}  // namespace purgent
