#include "app/variable_expansion.h"

#include <optional>

namespace purgent {

std::string ExpandVariables(const std::string& text, EnvironmentService& environment) {
    std::string expanded;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = text.find('%', pos);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) return expanded + text.substr(pos);
        expanded += text.substr(pos, open - pos);
        const std::string name = text.substr(open + 1, close - open - 1);
        const std::optional<std::string> value = name.empty() ? std::nullopt : environment.Variable(name);
        expanded += value ? *value : text.substr(open, close - open + 1);
        pos = close + 1;
    }
}

}  // namespace purgent
