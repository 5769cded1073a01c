#include "platform/windows_links.h"

#include "image/ansi_text.h"

namespace purgent {
namespace {

// Whether text ends with tail, in any case; what comes before it in head.
bool EndsWith(const std::string& text, const std::string& tail, std::string& head) {
    if (text.size() < tail.size() || !image::EqualsIgnoreCase(text.substr(text.size() - tail.size()), tail))
        return false;
    head = text.substr(0, text.size() - tail.size());
    return true;
}

}  // namespace

bool IsWindowsLink(const RegLink& link) {
    std::string linkParent, targetParent;
    return EndsWith(link.path, "\\Wow6432Node\\Classes", linkParent) &&
           EndsWith(link.target, "\\Classes\\Wow6432Node", targetParent) &&
           image::EqualsIgnoreCase(linkParent, targetParent);
}

}  // namespace purgent
