#pragma once
#include <windows.h>

#include <string>

namespace purgent {

// The full path of the key subKey names below base, as RegistryService::KeyPath
// gives it: the registry's own name of the key (NtQueryKey), its root written
// as HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_USERS. A key that cannot be
// opened to ask is named by base's path and subKey as given.
std::string KeyPathOf(HKEY base, const std::string& subKey);

}  // namespace purgent
