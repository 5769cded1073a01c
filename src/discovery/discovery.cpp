#include "discovery/discovery.h"

#include <utility>

#include "discovery/profile_discovery.h"
#include "registry/registry_access.h"

namespace purgent {

namespace {

const char* const AppPathsKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char* const ExplorerKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char* const ShellFoldersKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Opens path as the only open key. A key that cannot be opened leaves no key
// open, so its values read as absent rather than from an earlier key.
void OpenOnly(RegistryAccess& registry, const std::string& path) {
    registry.CloseKey();
    registry.OpenKey(path);
}

// Every field of InstallLocations, in declaration order, for the platform's
// LocationFound.
const std::pair<const char*, std::string InstallLocations::*> LocationFields[] = {
    {"WindowsDir", &InstallLocations::WindowsDir},
    {"WindowsDrive", &InstallLocations::WindowsDrive},
    {"GroupWiseDir", &InstallLocations::GroupWiseDir},
    {"MessengerDir", &InstallLocations::MessengerDir},
    {"CommonSendTo", &InstallLocations::CommonSendTo},
    {"CommonDesktop", &InstallLocations::CommonDesktop},
    {"CommonStartup", &InstallLocations::CommonStartup},
    {"CommonPrograms", &InstallLocations::CommonPrograms},
    {"UserSendTo", &InstallLocations::UserSendTo},
    {"UserDesktop", &InstallLocations::UserDesktop},
    {"UserStartup", &InstallLocations::UserStartup},
    {"UserPrograms", &InstallLocations::UserPrograms},
    {"LogonUserName", &InstallLocations::LogonUserName},
    {"DefaultUserProfile", &InstallLocations::DefaultUserProfile},
    {"AllUsersProfile", &InstallLocations::AllUsersProfile},
};

void TellProfile(RunContext& ctx, std::size_t index) {
    ctx.platform.environment.ProfileFound(index + 1, ctx.profiles[index]);
}

// Where a program's folder is found.
struct InstallFolderSource {
    const char* appPath;
    const char* field;
    RecordedFolder FolderRecord::*recorded;
    const char* fallback;
};

const InstallFolderSource GroupWiseFolder{"GrpWise.Exe", "GroupWiseDir", &FolderRecord::groupWise,
                                          "c:\\novell\\groupwise\\"};
const InstallFolderSource MessengerFolder{"nmcl32.Exe", "MessengerDir", &FolderRecord::messenger,
                                          "c:\\novell\\messenger\\"};

// The "Path" of the program's App Paths entry; where it names none, the
// folder an interrupted run verified (it may have deleted the entry before
// emptying the folder), said in resumed; else the default. Ends in "\".
// What the record names is checked again wherever the folder is emptied, as
// App Paths' folder is.
std::string InstallFolder(RunContext& ctx, const InstallFolderSource& source, std::string& resumed) {
    OpenOnly(ctx.registry, std::string(AppPathsKey) + source.appPath);
    std::string folder = ctx.registry.ReadString("Path");
    if (folder.empty() && ctx.recordedFolders) {
        folder = ((*ctx.recordedFolders).*source.recorded).path;
        if (!folder.empty())
            resumed += std::string("; ") + source.field + " " + folder + " from its record: App Paths names none";
    }
    if (folder.empty()) folder = source.fallback;
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

void DiscoverLocations(RunContext& ctx) {
    RegistryAccess& registry = ctx.registry;
    InstallLocations& found = ctx.locations;
    found = InstallLocations{};

    found.WindowsDir = ctx.platform.environment.Variable("windir").value_or("");
    found.WindowsDrive = found.WindowsDir.substr(0, 1);

    registry.SetRootKey(HkeyLocalMachine);
    ctx.recordedFolders = ctx.platform.environment.ReadFolderRecord();
    std::string resumed = "after an interrupted run";
    found.GroupWiseDir = InstallFolder(ctx, GroupWiseFolder, resumed);
    found.MessengerDir = InstallFolder(ctx, MessengerFolder, resumed);
    if (ctx.recordedFolders) ctx.platform.environment.Note("resumed", resumed);

    OpenOnly(registry, ShellFoldersKey);
    found.CommonSendTo = registry.ReadString("Common sendto");
    found.CommonDesktop = registry.ReadString("Common desktop");
    found.CommonStartup = registry.ReadString("Common startup");
    found.CommonPrograms = registry.ReadString("Common programs");

    registry.CloseKey();
    registry.SetRootKey(HkeyCurrentUser);
    OpenOnly(registry, ExplorerKey);
    found.LogonUserName = registry.ReadString("Logon User Name");

    registry.CloseKey();
    registry.SetRootKey(HkeyLocalMachine);
    ctx.profiles = DiscoverProfiles(registry, ctx.platform.environment, found, ctx.profileSids, ctx.profileFolders,
                                    ctx.logonUserFolder);

    registry.SetRootKey(HkeyCurrentUser);
    OpenOnly(registry, ShellFoldersKey);
    found.UserSendTo = registry.ReadString("sendto");
    found.UserDesktop = registry.ReadString("desktop");
    found.UserStartup = registry.ReadString("startup");
    found.UserPrograms = registry.ReadString("programs");
    registry.CloseKey();

    for (const auto& [name, field] : LocationFields)
        ctx.platform.environment.LocationFound(name, found.*field);
    for (std::size_t i = 0; i < ctx.profiles.size(); ++i) TellProfile(ctx, i);
}

void AppendLogonUser(RunContext& ctx) {
    ctx.profiles.push_back(ctx.locations.LogonUserName);
    ctx.profileSids.push_back("");
    ctx.profileFolders.push_back(ctx.logonUserFolder.empty()
                                     ? DefaultProfileFolder(ctx.locations.WindowsDrive, ctx.locations.LogonUserName)
                                     : ctx.logonUserFolder);
    TellProfile(ctx, ctx.profiles.size() - 1);
}

}  // namespace purgent
