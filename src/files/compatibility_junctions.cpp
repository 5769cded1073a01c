#include "files/compatibility_junctions.h"

namespace purgent {

namespace {

// A junction named name in a folder whose path ends in parentEnd leads to
// target, below the folder that is left when parentEnd is taken off ("" for
// the folder itself).
struct Junction {
    const char* parentEnd;
    const char* name;
    const char* target;
};

const Junction Junctions[] = {
    {"", "Documents and Settings", "Users"},
    {"", "Application Data", "AppData\\Roaming"},
    {"", "Local Settings", "AppData\\Local"},
    {"", "My Documents", "Documents"},
    {"", "Start Menu", "AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
    {"", "SendTo", "AppData\\Roaming\\Microsoft\\Windows\\SendTo"},
    {"", "Templates", "AppData\\Roaming\\Microsoft\\Windows\\Templates"},
    {"", "Recent", "AppData\\Roaming\\Microsoft\\Windows\\Recent"},
    {"", "NetHood", "AppData\\Roaming\\Microsoft\\Windows\\Network Shortcuts"},
    {"", "PrintHood", "AppData\\Roaming\\Microsoft\\Windows\\Printer Shortcuts"},
    {"", "Cookies", "AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
    {"", "Cookies", "AppData\\Local\\Microsoft\\Windows\\INetCookies"},
    {"AppData\\Local", "Application Data", "AppData\\Local"},
    {"AppData\\Local", "History", "AppData\\Local\\Microsoft\\Windows\\History"},
    {"AppData\\Local", "Temporary Internet Files", "AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"},
    {"AppData\\Local", "Temporary Internet Files", "AppData\\Local\\Microsoft\\Windows\\INetCache"},
    {"Documents", "My Music", "Music"},
    {"Documents", "My Pictures", "Pictures"},
    {"Documents", "My Videos", "Videos"},
    {"Users", "All Users", "ProgramData"},
    {"Users", "Default User", "Users\\Default"},
    {"ProgramData", "Application Data", "ProgramData"},
    {"ProgramData", "Desktop", "Users\\Public\\Desktop"},
    {"ProgramData", "Documents", "Users\\Public\\Documents"},
    {"ProgramData", "Favorites", "Users\\Public\\Favorites"},
    {"ProgramData", "Start Menu", "ProgramData\\Microsoft\\Windows\\Start Menu"},
    {"ProgramData", "Templates", "ProgramData\\Microsoft\\Windows\\Templates"},
};

// The folder left when end, as whole trailing components, is taken off path;
// false when path does not end so.
bool WithoutEnd(const std::string& path, const std::string& end, std::string& base) {
    if (end.empty()) {
        base = path;
        return true;
    }
    if (path.size() <= end.size() || path.compare(path.size() - end.size(), end.size(), end) != 0 ||
        path[path.size() - end.size() - 1] != '\\')
        return false;
    base = path.substr(0, path.size() - end.size() - 1);
    return true;
}

}  // namespace

bool IsCompatibilityJunction(TextService& text, const std::string& parent, const std::string& name,
                             const std::string& target) {
    const std::string upperParent = text.UpperCase(parent);
    const std::string upperName = text.UpperCase(name);
    const std::string upperTarget = text.UpperCase(target);
    for (const Junction& junction : Junctions) {
        std::string base;
        if (upperName == text.UpperCase(junction.name) &&
            WithoutEnd(upperParent, text.UpperCase(junction.parentEnd), base) &&
            upperTarget == base + "\\" + text.UpperCase(junction.target))
            return true;
    }
    return false;
}

}  // namespace purgent
