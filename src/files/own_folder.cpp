#include "files/own_folder.h"

#include <cctype>
#include <vector>

namespace purgent {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string WithoutTrailingSeparators(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// "C:\A\B" -> {"C:", "A", "B"}; empty parts (doubled separators) are dropped.
std::vector<std::string> Parts(const std::string& path) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find_first_of("\\/", start), path.size());
        if (end > start) parts.push_back(Upper(path.substr(start, end - start)));
        start = end + 1;
    }
    return parts;
}

// Whether one path's parts begin with all of the other's.
bool StartsWith(const std::vector<std::string>& path, const std::vector<std::string>& prefix) {
    if (prefix.empty() || prefix.size() > path.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (path[i] != prefix[i]) return false;
    return true;
}

bool IsSharedFolderName(const std::string& name) {
    for (const char* shared : {"PROGRAM FILES", "PROGRAM FILES (X86)", "COMMON FILES", "DOCUMENTS AND SETTINGS", "USERS"})
        if (name == shared) return true;
    return false;
}

}  // namespace

bool IsOwnFolder(const std::string& folder, const InstallLocations& locations, const ProfileSet& profiles) {
    const std::string path = WithoutTrailingSeparators(folder);
    if (path.find_first_of(";*?/") != std::string::npos) return false;
    const bool onDrive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
                         path[2] == '\\';
    const bool onShare = path.rfind("\\\\", 0) == 0;
    if (!onDrive && !onShare) return false;  // relative
    const std::vector<std::string> parts = Parts(path);
    for (const std::string& part : parts)
        if (part == "." || part == "..") return false;
    if (parts.size() < (onShare ? 3u : 2u)) return false;  // a drive root or a share's root
    if (IsSharedFolderName(parts.back())) return false;
    const std::string parent = parts[parts.size() - 2];
    if (parent == "DOCUMENTS AND SETTINGS" || parent == "USERS") return false;  // a profile folder
    const std::vector<std::string> windows = Parts(WithoutTrailingSeparators(locations.WindowsDir));
    if (StartsWith(parts, windows) || StartsWith(windows, parts)) return false;
    for (const std::string& profile : profiles) {
        if (profile.empty()) continue;
        const std::string profileFolder = locations.WindowsDrive + ":\\Documents and Settings\\" + profile;
        if (Parts(profileFolder) == parts) return false;
    }
    return true;
}

}  // namespace purgent
