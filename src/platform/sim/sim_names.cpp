#include "platform/sim/sim_names.h"

#include <algorithm>

#include "image/ansi_text.h"

namespace purgent::sim {

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = image::FoldCase(c);
    return folded;
}

bool SameName(std::string_view a, std::string_view b) { return image::EqualsIgnoreCase(a, b); }

bool NameLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(image::FoldCase(x)) <
               static_cast<unsigned char>(image::FoldCase(y));
    });
}

std::vector<std::string_view> SplitPath(std::string_view path, bool& ok) {
    std::vector<std::string_view> parts;
    ok = true;
    std::string_view::size_type start = 0;
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

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "\\server\share" of a network path, "C:" of a drive path, else "C:".
std::string::size_type RootLength(const std::string& path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::string::size_type end = 2;
        for (int part = 0; part < 2; ++part) {
            while (end < path.size() && IsSeparator(path[end])) ++end;
            while (end < path.size() && !IsSeparator(path[end])) ++end;
        }
        return end;
    }
    return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

}  // namespace

std::string FullPath(const std::string& path) {
    const auto rootLength = RootLength(path);
    std::string root = rootLength ? path.substr(0, rootLength) : "C:";
    for (char& c : root)
        if (c == '/') c = '\\';
    std::vector<std::string> parts;
    std::string::size_type start = rootLength;
    bool separatorAfter = false;
    while (start < path.size()) {
        auto end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        std::string part = path.substr(start, end - start);
        separatorAfter = end < path.size();
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            if (separatorAfter) {
                if (part.back() == '.') part.pop_back();
            } else {
                while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
                if (part.empty()) separatorAfter = true;
            }
            if (!part.empty()) parts.push_back(part);
        }
        start = end + 1;
    }
    std::string full = root;
    for (const std::string& part : parts) full += "\\" + part;
    if (parts.empty() || separatorAfter) full += "\\";
    return full;
}

}  // namespace purgent::sim
