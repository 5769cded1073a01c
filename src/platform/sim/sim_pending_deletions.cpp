#include "platform/sim/sim_pending_deletions.h"

#include <cstdint>
#include <vector>

#include "platform/pending_deletions.h"

namespace purgent::sim {
namespace {

long Append(SimRegistry& registry, RegKey key, const std::string& fullPath) {
    std::uint32_t type = RegMultiSz;
    std::vector<std::uint8_t> list;
    if (registry.QueryValue(key, PendingDeletionsValue, type, list) == winerr::Success) {
        if (type != RegMultiSz) return winerr::InvalidParameter;
        if (!list.empty()) list.pop_back();  // the list's closing empty string, written again below
    }
    const std::string source = PendingNtPath(fullPath);
    list.insert(list.end(), source.begin(), source.end());
    list.insert(list.end(), {0, 0, 0});  // the path's end, the empty new name, the list's end
    return registry.SetValue(key, PendingDeletionsValue, RegMultiSz, list);
}

}  // namespace

long AddPendingDeletion(SimRegistry& registry, const std::string& fullPath) {
    RegKey key = 0;
    if (const long error = registry.CreateKey(std::string("HKEY_LOCAL_MACHINE\\") + SessionManagerSubKey, key)) return error;
    const long result = Append(registry, key, fullPath);
    registry.CloseKey(key);
    return result;
}

}  // namespace purgent::sim
