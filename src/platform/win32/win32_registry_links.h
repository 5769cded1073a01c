#pragma once
#include <windows.h>

#include <string>

#include "platform/registry_service.h"

namespace purgent {

// RegistryService::CheckLink and DeleteLink on the Win32 registry: the key
// is opened with REG_OPTION_OPEN_LINK, and a link is told by its
// "SymbolicLinkValue" of type REG_LINK (the target's registry name, UTF-16,
// without a terminating NUL).
LinkCheck CheckLinkAt(HKEY base, const std::string& subKey, RegLink& link);
// RegistryService::IsLink of a key opened with REG_OPTION_OPEN_LINK.
bool OpenKeyIsLink(HKEY key, RegLink& link);
// RegDeleteKeyA would delete the target; NtDeleteKey on the link's own
// handle deletes the link.
long DeleteLinkAt(HKEY base, const std::string& subKey);

}  // namespace purgent
