#include "platform/sim/sim_names.h"

#include <algorithm>

#include "image/ansi_text.h"

namespace purgent::sim {

std::string FoldName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) c = image::FoldCase(c);
    return folded;
}

bool SameName(const std::string& a, const std::string& b) { return image::EqualsIgnoreCase(a, b); }

bool NameLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(image::FoldCase(x)) <
               static_cast<unsigned char>(image::FoldCase(y));
    });
}

std::vector<std::string> SplitPath(const std::string& path, bool& ok) {
    std::vector<std::string> parts;
    ok = true;
    std::string::size_type start = 0;
    while (start < path.size()) {
        const auto end = std::min(path.find('\\', start), path.size());
        if (end == start) {
            ok = false;
            return {};
        }
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace purgent::sim
