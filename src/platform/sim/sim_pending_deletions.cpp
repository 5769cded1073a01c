#include "platform/sim/sim_pending_deletions.h"

#include <cstdint>
#include <vector>

namespace purgent::sim {
namespace {

const char* const SessionManagerKey = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char* const PendingValue = "PendingFileRenameOperations";

// The NT form of a path, as MoveFileEx writes it.
std::string NtPath(const std::string& path) {
    if (path.rfind("\\\\", 0) == 0) return "\\??\\UNC\\" + path.substr(2);
    return "\\??\\" + path;
}

long Append(SimRegistry& registry, RegKey key, const std::string& fullPath) {
    std::uint32_t type = RegMultiSz;
    std::vector<std::uint8_t> list;
    if (registry.QueryValue(key, PendingValue, type, list) == winerr::Success) {
        if (type != RegMultiSz) return winerr::InvalidParameter;
        if (!list.empty()) list.pop_back();  // the list's closing empty string, written again below
    }
    const std::string source = NtPath(fullPath);
    list.insert(list.end(), source.begin(), source.end());
    list.insert(list.end(), {0, 0, 0});  // the path's end, the empty new name, the list's end
    return registry.SetValue(key, PendingValue, RegMultiSz, list);
}

}  // namespace

long AddPendingDeletion(SimRegistry& registry, const std::string& fullPath) {
    RegKey key = 0;
    if (const long error = registry.CreateKey(SessionManagerKey, key)) return error;
    const long result = Append(registry, key, fullPath);
    registry.CloseKey(key);
    return result;
}

}  // namespace purgent::sim
