#include "first_spellings.h"

#include "image/ansi_text.h"

namespace purgent::report {

std::string FirstSpellings::Of(const std::string& path) {
    std::string spelled, folded;
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string separator = start == 0 ? "" : "\\";
        folded += separator;
        for (std::size_t i = start; i < end; ++i) folded += image::FoldCase(path[i]);
        const auto [known, unused] = spelled_.emplace(folded, spelled + separator + path.substr(start, end - start));
        spelled = known->second;
        start = end + 1;
    }
    return spelled;
}

demo::Item FirstSpellings::Of(const demo::Item& item) {
    if (item.kind != demo::Kind::Value) return {item.kind, Of(item.id)};
    const std::size_t tab = item.id.find('\t');
    return {item.kind, Of(item.id.substr(0, tab)) + item.id.substr(tab)};
}

}  // namespace purgent::report
