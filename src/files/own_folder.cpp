#include "files/own_folder.h"

#include <cctype>
#include <optional>
#include <vector>

namespace purgent {

namespace {

using Parts = std::vector<std::string>;

bool IsSeparator(char c) { return c == '\\'; }

// A drive path behind "\\.\" is that drive path. ("\\?\" never gets this
// far: it holds a wildcard.)
std::string WithoutDevicePrefix(const std::string& path) {
    return path.rfind("\\\\.\\", 0) == 0 ? path.substr(4) : path;
}

Parts Split(const std::string& path, std::string::size_type start) {
    Parts parts;
    while (start < path.size()) {
        auto end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool IsAdminShare(const std::string& share) {
    return share.size() == 2 && std::isalpha(static_cast<unsigned char>(share[0])) && share[1] == '$';
}

// The path as comparable parts: "C:" or "\\HOST" and the share, then each
// segment upper-cased without trailing dots and blanks (Windows drops some of
// them; judging without all of them refuses more, never less). An
// administrative share stands for its drive. nullopt for a relative path or
// a segment that is empty without them ("." and ".." among them).
std::optional<Parts> Judged(TextService& text, const std::string& written) {
    const std::string path = WithoutDevicePrefix(written);
    Parts parts;
    Parts segments;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        segments = Split(path, 2);
        if (segments.size() < 2) return std::nullopt;
        if (IsAdminShare(segments[1])) {
            parts.push_back(segments[1].substr(0, 1) + ":");
        } else {
            parts = {"\\\\" + segments[0], segments[1]};
        }
        segments.erase(segments.begin(), segments.begin() + 2);
    } else if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
               IsSeparator(path[2])) {
        parts.push_back(path.substr(0, 2));
        segments = Split(path, 3);
    } else {
        return std::nullopt;
    }
    for (std::string segment : segments) {
        while (!segment.empty() && (segment.back() == '.' || segment.back() == ' ')) segment.pop_back();
        if (segment.empty()) return std::nullopt;
        parts.push_back(segment);
    }
    for (std::string& part : parts) part = text.UpperCase(part);
    return parts;
}

// Whether one path's parts begin with all of the other's.
bool StartsWith(const Parts& path, const Parts& prefix) {
    if (prefix.empty() || prefix.size() > path.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (path[i] != prefix[i]) return false;
    return true;
}

bool IsOneOf(const std::string& part, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (part == name) return true;
    return false;
}

// The forms Windows may use for a path: as written, full, long; and whether
// it holds a short name that does not resolve (then there is no long form).
struct Forms {
    std::vector<std::string> written;
    bool unresolvedShortName = false;
};

Forms FormsOf(FileService& files, const std::string& path) {
    Forms forms{{path}};
    const std::string full = files.FullPathName(path);
    const std::string longForm = full.empty() ? "" : files.LongPathName(full);
    forms.unresolvedShortName = longForm.empty() && path.find('~') != std::string::npos;
    if (!full.empty()) forms.written.push_back(full);
    if (!longForm.empty()) forms.written.push_back(longForm);
    return forms;
}

// Every judged form of each folder that has one.
std::vector<Parts> JudgedAll(Platform& platform, const std::vector<std::string>& folders) {
    std::vector<Parts> judged;
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        for (const std::string& form : FormsOf(platform.files, folder).written)
            if (auto parts = Judged(platform.text, form)) judged.push_back(*parts);
    }
    return judged;
}

struct JudgedSystemFolders {
    std::vector<Parts> windows, shared, common, profileRoots, profiles;
};

bool IsNetworkPath(const Parts& path) { return path[0].rfind("\\\\", 0) == 0; }

// Refused by the English names of the shared folders, wherever they lie.
bool HasSharedName(const Parts& path) {
    if (IsOneOf(path.back(), {"PROGRAM FILES", "PROGRAM FILES (X86)", "COMMON FILES", "DOCUMENTS AND SETTINGS",
                              "USERS", "PROGRAMDATA"}))
        return true;
    for (std::size_t i = 1; i + 1 < path.size(); ++i)
        if (path[i] == "COMMON FILES") return true;  // a shared component's folder
    // Whatever lies in the profiles folder is a user's or everybody's
    // (Public, All Users): documents, desktops, data.
    return IsOneOf(path[1], {"DOCUMENTS AND SETTINGS", "USERS"});
}

bool IsOwnForm(const Parts& path, const JudgedSystemFolders& system) {
    // A shared installation serves many workstations: emptied from one, it
    // is gone for all of them.
    if (IsNetworkPath(path) || path.size() < 2) return false;
    if (HasSharedName(path)) return false;
    if (system.windows.empty()) return false;
    for (const Parts& windows : system.windows)
        if (StartsWith(path, windows) || StartsWith(windows, path)) return false;
    for (const Parts& shared : system.shared)
        if (StartsWith(shared, path)) return false;
    for (const Parts& common : system.common)
        if (StartsWith(path, common) || StartsWith(common, path)) return false;
    for (const Parts& root : system.profileRoots)
        if (StartsWith(root, path) || StartsWith(path, root)) return false;
    for (const Parts& profile : system.profiles)
        if (StartsWith(profile, path) || StartsWith(path, profile)) return false;
    return true;
}

}  // namespace

bool IsOwnFolder(const std::string& folder, Platform& platform, const SystemFolders& system) {
    if (folder.find_first_of(";*?/") != std::string::npos) return false;
    if (platform.files.OnNetworkDrive(folder)) return false;
    const JudgedSystemFolders judgedSystem{JudgedAll(platform, system.windows), JudgedAll(platform, system.shared),
                                           JudgedAll(platform, system.common),
                                           JudgedAll(platform, system.profileRoots),
                                           JudgedAll(platform, system.profiles)};
    // What an unresolved short name stands for cannot be told: it may be a
    // system folder under another alias (the aliases differ from machine to
    // machine), so it is not taken for the client's own.
    const Forms forms = FormsOf(platform.files, folder);
    for (const std::string& form : forms.written) {
        const std::optional<Parts> path = Judged(platform.text, form);
        if (!path || !IsOwnForm(*path, judgedSystem)) return false;
    }
    return !forms.unresolvedShortName;
}

bool IsOwnFolder(RunContext& ctx, const std::string& folder) {
    return IsOwnFolder(folder, ctx.platform, FindSystemFolders(ctx.platform, ctx.locations, ctx.profileFolders));
}

}  // namespace purgent
