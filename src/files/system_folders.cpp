#include "files/system_folders.h"

#include <algorithm>
#include <initializer_list>

namespace purgent {

namespace {

const char* const CurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const ProfileListKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// "%SystemDrive%\Users" -> "C:\Users"; a reference to an unset variable stays.
std::string Expanded(EnvironmentService& environment, const std::string& text) {
    std::string result;
    std::string::size_type start = 0;
    for (;;) {
        const auto open = text.find('%', start);
        const auto close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) return result + text.substr(start);
        const auto value = environment.Variable(text.substr(open + 1, close - open - 1));
        result += text.substr(start, open - start) + (value ? *value : text.substr(open, close - open + 1));
        start = close + 1;
    }
}

// A text value of an HKEY_LOCAL_MACHINE key, expanded; "" when the key or the
// value is missing or the value is not text.
std::string MachineText(Platform& platform, const char* key, const char* name) {
    RegKey opened = 0;
    if (platform.registry.OpenKey(HkeyLocalMachine, key, opened) != winerr::Success) return "";
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    const bool read = platform.registry.QueryValue(opened, name, type, data) == winerr::Success;
    platform.registry.CloseKey(opened);
    if (!read || (type != RegSz && type != RegExpandSz)) return "";
    const std::string text(data.begin(), std::find(data.begin(), data.end(), 0));
    return type == RegExpandSz ? Expanded(platform.environment, text) : text;
}

void AddVariables(Platform& platform, std::vector<std::string>& folders, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (const auto value = platform.environment.Variable(name)) folders.push_back(*value);
}

void AddValues(Platform& platform, std::vector<std::string>& folders, const char* key,
               std::initializer_list<const char*> names) {
    for (const char* name : names) folders.push_back(MachineText(platform, key, name));
}

// The "ProfileImagePath" of every ProfileList entry, service accounts' too.
void AddProfileImagePaths(Platform& platform, std::vector<std::string>& folders) {
    RegKey list = 0;
    if (platform.registry.OpenKey(HkeyLocalMachine, ProfileListKey, list) != winerr::Success) return;
    std::uint32_t subKeys = 0, longest = 0, values = 0;
    std::vector<std::string> entries;
    if (platform.registry.QueryInfoKey(list, subKeys, longest, values) == winerr::Success)
        for (std::uint32_t index = 0; index < subKeys; ++index)
            if (std::string name; platform.registry.EnumKey(list, index, name) == winerr::Success) entries.push_back(name);
    platform.registry.CloseKey(list);
    for (const std::string& entry : entries)
        folders.push_back(MachineText(platform, (std::string(ProfileListKey) + "\\" + entry).c_str(), "ProfileImagePath"));
}

}  // namespace

SystemFolders FindSystemFolders(Platform& platform, const InstallLocations& locations,
                                const ProfileFolders& profileFolders) {
    SystemFolders found;
    found.windows = {platform.environment.WindowsDirectory(), locations.WindowsDir};

    AddValues(platform, found.shared, CurrentVersionKey,
              {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir"});
    AddVariables(platform, found.shared, {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"});
    AddValues(platform, found.shared, ShellFoldersKey, {"Common AppData"});
    AddVariables(platform, found.shared, {"ALLUSERSPROFILE", "ProgramData"});
    for (const std::string* shell :
         {&locations.CommonSendTo, &locations.CommonDesktop, &locations.CommonStartup, &locations.CommonPrograms,
          &locations.UserSendTo, &locations.UserDesktop, &locations.UserStartup, &locations.UserPrograms})
        found.shared.push_back(*shell);
    for (const std::string& folder : profileFolders)
        if (!folder.empty()) found.profiles.push_back(folder);
    AddProfileImagePaths(platform, found.profiles);
    AddVariables(platform, found.profiles, {"USERPROFILE"});

    AddValues(platform, found.common, CurrentVersionKey, {"CommonFilesDir", "CommonFilesDir (x86)", "CommonW6432Dir"});
    AddVariables(platform, found.common, {"CommonProgramFiles", "CommonProgramFiles(x86)", "CommonProgramW6432"});

    AddValues(platform, found.profileRoots, ProfileListKey, {"ProfilesDirectory"});
    return found;
}

}  // namespace purgent
