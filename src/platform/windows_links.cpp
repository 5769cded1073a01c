#include "platform/windows_links.h"

#include "image/ansi_text.h"

namespace purgent {
namespace {

const std::string kView = "\\Wow6432Node";

// Whether text ends with tail, in any case; what comes before it in head.
bool EndsWith(const std::string& text, const std::string& tail, std::string& head) {
    if (text.size() < tail.size() || !image::EqualsIgnoreCase(text.substr(text.size() - tail.size()), tail))
        return false;
    head = text.substr(0, text.size() - tail.size());
    return true;
}

// The path less its "\Wow6432Node" name, or "" when it has none.
std::string Outside32BitView(const std::string& path) {
    for (std::size_t at = 0; at + kView.size() <= path.size(); ++at) {
        const bool whole = at + kView.size() == path.size() || path[at + kView.size()] == '\\';
        if (whole && image::EqualsIgnoreCase(path.substr(at, kView.size()), kView))
            return path.substr(0, at) + path.substr(at + kView.size());
    }
    return "";
}

}  // namespace

bool IsWindowsLink(const RegLink& link) {
    std::string linkParent, targetParent;
    if (EndsWith(link.path, kView + "\\Classes", linkParent) && EndsWith(link.target, "\\Classes" + kView, targetParent))
        return image::EqualsIgnoreCase(linkParent, targetParent);
    const std::string shared = Outside32BitView(link.path);
    return !shared.empty() && image::EqualsIgnoreCase(shared, link.target);
}

}  // namespace purgent
