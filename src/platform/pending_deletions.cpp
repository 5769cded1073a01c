#include "platform/pending_deletions.h"

namespace purgent {

std::string PendingNtPath(const std::string& path) {
    if (path.rfind("\\\\", 0) == 0) return "\\??\\UNC\\" + path.substr(2);
    return "\\??\\" + path;
}

std::vector<std::string> PendingDeletionPaths(const std::vector<std::uint8_t>& data) {
    std::vector<std::string> strings(1);
    for (std::uint8_t byte : data) byte ? strings.back() += static_cast<char>(byte) : strings.emplace_back();
    std::vector<std::string> paths;
    for (std::size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2) {
        if (!strings[i + 1].empty()) continue;
        const std::string& source = strings[i];
        if (source.rfind("\\??\\UNC\\", 0) == 0)
            paths.push_back("\\\\" + source.substr(8));
        else
            paths.push_back(source.rfind("\\??\\", 0) == 0 ? source.substr(4) : source);
    }
    return paths;
}

}  // namespace purgent
