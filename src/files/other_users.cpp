#include "files/other_users.h"

#include "discovery/profile_discovery.h"
#include "image/ansi_text.h"
#include "registry/registry_access.h"
#include "run/errors.h"

namespace purgent {

namespace {

const char* const UserShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const ShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct UserFolderField {
    const char* value;  // its name in both keys
    const char* field;  // the path field it fills
    std::string InstallLocations::*location;
};

const UserFolderField UserFolderFields[] = {
    {"SendTo", "UserSendTo", &InstallLocations::UserSendTo},
    {"Desktop", "UserDesktop", &InstallLocations::UserDesktop},
    {"Startup", "UserStartup", &InstallLocations::UserStartup},
    {"Programs", "UserPrograms", &InstallLocations::UserPrograms},
};

// Another user's value that is not text is that user's own business: it
// names no folder, and the run goes on.
std::string ReadFolder(RegistryAccess& registry, const std::string& key, const std::string& name) {
    std::string text;
    if (registry.OpenKey(key)) {
        try {
            text = registry.ReadString(name);
        } catch (const PurgentError&) {
            text.clear();
        }
    }
    registry.CloseKey();
    return text;
}

// "User Shell Folders" first, as Windows itself reads them (%USERPROFILE%
// standing for the profile's folder), then the "Shell Folders" it caches.
std::string UserFolder(RunContext& ctx, const std::string& folder, const char* value) {
    RegistryAccess& registry = ctx.registry;
    std::string path = ReadFolder(registry, registry.HivePrefix() + UserShellFolders, value);
    if (path.empty()) path = ReadFolder(registry, registry.HivePrefix() + ShellFolders, value);
    return ExpandVariables(path, [&](const std::string& name) -> std::optional<std::string> {
        if (image::EqualsIgnoreCase(name, "USERPROFILE")) return folder;
        return ctx.platform.environment.Variable(name);
    });
}

}  // namespace

void ForEachOtherUser(RunContext& ctx, const std::function<void(const OtherUser&)>& body) {
    ctx.registry.UserHivePass(ctx.profileFolders, ctx.profileSids, [&] {
        const std::size_t entry = ctx.registry.UserEntry();
        if (entry == 0) return;  // the current user: HKEY_CURRENT_USER's shell folders
        OtherUser user{ctx.profileFolders[entry], ctx.locations};
        for (const UserFolderField& shell : UserFolderFields)
            user.locations.*shell.location = UserFolder(ctx, user.folder, shell.value);
        body(user);
    });
}

bool NamesUserShellFolder(const PathTemplate& path, const InstallLocations& locations) {
    for (const UserFolderField& shell : UserFolderFields) {
        const std::string field = std::string("<") + shell.field + ">";
        if (path.compare(0, field.size(), field) == 0) return !(locations.*shell.location).empty();
    }
    return false;
}

}  // namespace purgent
