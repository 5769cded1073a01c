#include "purgent_sim/trace_fields.h"

namespace purgent::sim {

std::string EventName(const std::string& line) { return line.substr(0, line.find('\t')); }

std::vector<std::string> EventFields(const std::string& line, std::size_t count) {
    std::vector<std::string> fields;
    std::size_t start = line.find('\t');
    while (start != std::string::npos && fields.size() + 1 < count) {
        const std::size_t end = line.find('\t', start + 1);
        fields.push_back(line.substr(start + 1, end == std::string::npos ? end : end - start - 1));
        start = end;
    }
    if (start != std::string::npos) fields.push_back(line.substr(start + 1));
    fields.resize(count);
    return fields;
}

std::string ProfileLabel(const std::string& position, const std::string& folder) {
    if (!folder.empty()) return folder;
    return position == "1" ? "(the current user)" : "(empty: no folder)";
}

}  // namespace purgent::sim
