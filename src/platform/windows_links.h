#pragma once
#include "platform/registry_service.h"

namespace purgent {

// Whether a link key is one Windows keeps for every program to go through:
// on 64-bit Windows "...\Wow6432Node\Classes", which leads to
// "...\Classes\Wow6432Node", the 32-bit view of the classes. A 32-bit
// program asking for "Software\Classes" is shown that link.
bool IsWindowsLink(const RegLink& link);

}  // namespace purgent
