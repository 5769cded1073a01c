#pragma once
#include <string>

#include "platform/sim/sim_registry.h"

namespace purgent::sim {

// MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT and no new name, as Windows
// keeps it: the value PendingFileRenameOperations (REG_MULTI_SZ) of
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager, the
// key made where absent, gets the pair "\??\<full path>" and "" (nothing to
// rename it to) appended. 0, or the error: AccessDenied where the key is
// denied, InvalidParameter where the value is of another type.
long AddPendingDeletion(SimRegistry& registry, const std::string& fullPath);

}  // namespace purgent::sim
