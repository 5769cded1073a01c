#pragma once
#include "platform/registry_service.h"

namespace purgent {

// Whether a link key is one that 64-bit Windows keeps for its 32-bit view
// (and Wine's WoW64 shows 32-bit programs): "...\Wow6432Node\Classes",
// leading to "...\Classes\Wow6432Node", the 32-bit view of the classes; or a
// key the two views share, such as App Paths or the ProfileList, which lies
// at its path less "Wow6432Node". Every path through one is meant to go
// there: it names the key the program asked for, in its own view.
bool IsWindowsLink(const RegLink& link);

}  // namespace purgent
