#pragma once
#include <windows.h>

#include <string>

namespace purgent {

// The full path of the key subKey names below base, as RegistryService::KeyPath
// gives it: the registry's own name of the key (NtQueryKey), its root written
// as HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_USERS. A key that cannot be
// opened to ask is named by base's path and subKey as given.
std::string KeyPathOf(HKEY base, const std::string& subKey);
// The same for an open key itself (a link opened as a link is named as the
// link); "" when the registry cannot be asked.
std::string OpenKeyPath(HKEY key);
// A name the registry gives in UTF-16, as the A functions give it.
std::string AnsiName(const std::wstring& name);
// A registry name ("\\REGISTRY\\MACHINE\\...") with its root written as in
// KeyPathOf; "" when it lies under none of them.
std::string RootedKeyName(const std::string& kernelName);

}  // namespace purgent
