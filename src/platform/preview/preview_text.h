#pragma once
// Names as Windows compares them, for the preview's own bookkeeping.
#include <string>

#include "image/ansi_text.h"

namespace purgent::preview {

inline std::string Folded(std::string text) {
    for (char& c : text) c = image::FoldCase(c);
    return text;
}

// Whether a folded path is top itself or lies below it.
inline bool AtOrBelow(const std::string& path, const std::string& top) {
    return path.size() >= top.size() && path.compare(0, top.size(), top) == 0 &&
           (path.size() == top.size() || path[top.size()] == '\\');
}

}  // namespace purgent::preview
