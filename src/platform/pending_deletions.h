#pragma once
// Windows' list of what goes when it next starts, as MoveFileEx with
// MOVEFILE_DELAY_UNTIL_REBOOT keeps it: the REG_MULTI_SZ value
// PendingFileRenameOperations, pairs of an NT path and a new name, the name
// empty for a deletion.
#include <cstdint>
#include <string>
#include <vector>

namespace purgent {

// Below HKEY_LOCAL_MACHINE.
constexpr const char* SessionManagerSubKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* PendingDeletionsValue = "PendingFileRenameOperations";

// "\??\C:\..." for a drive path, "\??\UNC\server\..." for "\\server\...".
std::string PendingNtPath(const std::string& path);

// The paths the list deletes, in order, as they were given (the NT prefix
// taken off); renames are passed over.
std::vector<std::string> PendingDeletionPaths(const std::vector<std::uint8_t>& data);

}  // namespace purgent
