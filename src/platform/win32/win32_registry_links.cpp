#include "platform/win32/win32_registry_links.h"

#include <vector>

#include "platform/win32/win32_key_path.h"

namespace purgent {
namespace {

// A function of ntdll's, looked up at run time.
template <typename Function>
Function NtFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

// The target's registry name when the open key is a link.
bool LinkTarget(HKEY key, std::string& target) {
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_LINK)
        return false;
    std::vector<wchar_t> name(size / sizeof(wchar_t) + 1);
    if (RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, reinterpret_cast<BYTE*>(name.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    target = AnsiName(std::wstring(name.data(), size / sizeof(wchar_t)));
    return true;
}

}  // namespace

bool OpenKeyIsLink(HKEY key, RegLink& link) {
    std::string target;
    if (!LinkTarget(key, target)) return false;
    const std::string rooted = RootedKeyName(target);
    link = {OpenKeyPath(key), rooted.empty() ? target : rooted};
    return true;
}

LinkCheck CheckLinkAt(HKEY base, const std::string& subKey, RegLink& link) {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(base, subKey.c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &key);
    if (opened == ERROR_ACCESS_DENIED) return LinkCheck::Unreadable;
    if (opened != ERROR_SUCCESS) return LinkCheck::NoSuchKey;
    const bool isLink = OpenKeyIsLink(key, link);
    RegCloseKey(key);
    return isLink ? LinkCheck::Link : LinkCheck::NotALink;
}

long DeleteLinkAt(HKEY base, const std::string& subKey) {
    using NtDeleteKey = LONG(NTAPI*)(HANDLE);
    using RtlNtStatusToDosError = ULONG(NTAPI*)(LONG);
    static const auto deleteKey = NtFunction<NtDeleteKey>("NtDeleteKey");
    static const auto dosError = NtFunction<RtlNtStatusToDosError>("RtlNtStatusToDosError");
    if (!deleteKey || !dosError) return ERROR_CALL_NOT_IMPLEMENTED;
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(base, subKey.c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE | DELETE, &key);
    if (opened != ERROR_SUCCESS) return opened;
    std::string target;
    const LONG result = LinkTarget(key, target) ? static_cast<LONG>(dosError(deleteKey(key))) : ERROR_INVALID_PARAMETER;
    RegCloseKey(key);
    return result;
}

}  // namespace purgent
