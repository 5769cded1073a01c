#include "platform/win32/win32_key_path.h"

#include <vector>

namespace purgent {
namespace {

constexpr int KeyNameInformation = 3;
constexpr LONG StatusBufferOverflow = static_cast<LONG>(0x80000005);
constexpr LONG StatusBufferTooSmall = static_cast<LONG>(0xC0000023);

// "\REGISTRY\MACHINE\SOFTWARE\Novell" for an open key; "" when it cannot be asked.
std::string KernelName(HKEY key) {
    using NtQueryKey = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query =
        reinterpret_cast<NtQueryKey>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryKey"));
    if (!query) return "";
    // KEY_NAME_INFORMATION: the name's length in bytes, then the name.
    std::vector<ULONG> buffer(256);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(key, KeyNameInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size() * sizeof(ULONG)), &needed);
        if (status == StatusBufferOverflow || status == StatusBufferTooSmall) {
            buffer.resize(needed / sizeof(ULONG) + 2);
            continue;
        }
        if (status < 0) return "";
        return AnsiName(std::wstring(reinterpret_cast<const wchar_t*>(buffer.data() + 1), buffer[0] / sizeof(wchar_t)));
    }
}

// Whether name begins with prefix, in any case, up to a separator or its end.
bool Below(const std::string& name, const std::string& prefix) {
    return name.size() >= prefix.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.data(),
                                                          static_cast<int>(prefix.size()), prefix.data(),
                                                          static_cast<int>(prefix.size())) == CSTR_EQUAL &&
           (name.size() == prefix.size() || name[prefix.size()] == '\\');
}

const std::string& CurrentUserKernelName() {
    static const std::string name = [] {
        HKEY key = nullptr;
        if (RegOpenCurrentUser(KEY_READ, &key) != ERROR_SUCCESS) return std::string();
        std::string found = KernelName(key);
        RegCloseKey(key);
        return found;
    }();
    return name;
}

std::string PredefinedName(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (key == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (key == HKEY_USERS) return "HKEY_USERS";
    if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    return "";
}

}  // namespace

std::string AnsiName(const std::wstring& name) {
    if (name.empty()) return "";
    const int size = WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), ansi.data(), size, nullptr,
                        nullptr);
    return ansi;
}

std::string RootedKeyName(const std::string& kernelName) {
    const std::string& currentUser = CurrentUserKernelName();
    const std::pair<std::string, const char*> roots[] = {
        {currentUser, "HKEY_CURRENT_USER"},
        {"\\REGISTRY\\USER", "HKEY_USERS"},
        {"\\REGISTRY\\MACHINE", "HKEY_LOCAL_MACHINE"},
    };
    for (const auto& [prefix, root] : roots)
        if (!prefix.empty() && Below(kernelName, prefix)) return root + kernelName.substr(prefix.size());
    return "";
}

std::string OpenKeyPath(HKEY key) { return RootedKeyName(KernelName(key)); }

std::string KeyPathOf(HKEY base, const std::string& subKey) {
    // A predefined root opened by an empty name stays a pseudo handle the
    // registry cannot name.
    if (subKey.empty() && !PredefinedName(base).empty()) return PredefinedName(base);
    HKEY key = nullptr;
    std::string path;
    if (RegOpenKeyExA(base, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        path = OpenKeyPath(key);
        RegCloseKey(key);
    }
    if (path.empty() && !subKey.empty()) {
        const std::string basePath = KeyPathOf(base, "");
        if (!basePath.empty()) path = basePath + "\\" + subKey;
    }
    return path;
}

}  // namespace purgent
