#include <string>
#include <vector>

#include "files/file_phase.h"
#include "files/file_tables.h"
#include "files/other_users.h"
#include "image/ansi_text.h"
#include "discovery/profile_discovery.h"

namespace purgent {

namespace {

void DeleteEachIfExists(FileAccess& files, const PathFields& fields, const PathTemplates& paths) {
    for (const PathTemplate& path : paths) files.DeleteIfExists(fields.Expand(path));
}

// The same, for another user: only the paths in that user's shell folders.
void DeleteUsersIfExists(FileAccess& files, const OtherUser& user, const PathFields& fields,
                         const PathTemplates& paths) {
    for (const PathTemplate& path : paths)
        if (NamesUserShellFolder(path, user.locations)) files.DeleteIfExists(fields.Expand(path));
}

// The folder name two levels below the drive root of a profile image path
// ("%SystemDrive%\Documents and Settings\ann" -> "ann"): the text after the
// second backslash; a value with fewer backslashes stays as it is.
std::string ProfileFolderName(std::string imagePath) {
    for (int cut = 0; cut < 2; ++cut) {
        const auto slash = imagePath.find('\\');
        if (slash != std::string::npos) imagePath.erase(0, slash + 1);
    }
    return imagePath;
}

// The SendTo shortcuts of every profile the registry knows, then the
// default user's; deleted without an existence test.
void RemoveProfileSendTo(RunContext& ctx, PathFields fields, const ShortcutTable& table) {
    RegistryAccess& registry = ctx.registry;
    registry.SetRootKey(HkeyLocalMachine);
    if (registry.OpenKey(table.profileListKey)) {
        const std::vector<std::string> sids = registry.GetKeyNames();
        for (const std::string& sid : sids) {
            registry.CloseKey();
            registry.OpenKey(table.profileListKey + "\\" + sid);
            fields.Set("Q", ProfileFolderName(registry.ReadString(table.profileImagePath)));
            for (const PathTemplate& path : table.profileSendTo) ctx.files.DeleteFile(fields.Expand(path));
        }
        registry.CloseKey();
    }
    for (const PathTemplate& path : table.defaultUserSendTo) ctx.files.DeleteFile(fields.Expand(path));
    ctx.status.StepProgress(1);
}

// A profile's paths under "Documents and Settings" moved to the profile's own
// folder ("D:\Profiles\carl") where the profile is not found there; a
// folder that is there stays the one looked in, as it always was.
class ProfilePaths {
public:
    ProfilePaths(RunContext& ctx, std::size_t entry)
        : usual_(DefaultProfileFolder(ctx.locations.WindowsDrive, ctx.profiles[entry])),
          own_(ctx.profileFolders[entry]) {
        if (own_.empty() || ctx.files.DirectoryExists(usual_)) own_ = usual_;
    }
    std::string operator()(const std::string& path) const {
        const bool below = path.size() > usual_.size() && path[usual_.size()] == '\\' &&
                           image::EqualsIgnoreCase(path.substr(0, usual_.size()), usual_);
        return below ? own_ + path.substr(usual_.size()) : path;
    }

private:
    std::string usual_, own_;
};

void DeleteEachIfExists(FileAccess& files, const PathFields& fields, const PathTemplates& paths,
                        const ProfilePaths& at) {
    for (const PathTemplate& path : paths) files.DeleteIfExists(at(fields.Expand(path)));
}

// Every GroupWise shortcut name in the program groups, start-up folders and
// profile folders; each profile's local GroupWise data on the way.
void RemoveNamedShortcuts(RunContext& ctx, PathFields fields, const ShortcutTable& table) {
    FileAccess& files = ctx.files;
    std::vector<ProfilePaths> profilePaths;
    for (std::size_t entry = 0; entry < ctx.profiles.size(); ++entry) profilePaths.emplace_back(ctx, entry);
    for (const std::string& name : table.shortcutNames) {
        fields.Set("N", name);
        DeleteEachIfExists(files, fields, table.programGroupShortcuts);
        for (std::size_t entry = 0; entry < ctx.profiles.size(); ++entry) {
            fields.Set("P", ctx.profiles[entry]);
            DeleteEachIfExists(files, fields, table.profileShortcuts, profilePaths[entry]);
        }
        fields.Set("P", ctx.locations.LogonUserName);
        DeleteEachIfExists(files, fields, table.profileShortcuts);
        for (const std::string& profile : ctx.profiles) {
            fields.Set("P", profile);
            DeleteEachIfExists(files, fields, table.oldProfileShortcuts);
        }
        for (std::size_t entry = 0; entry < ctx.profiles.size(); ++entry) {
            fields.Set("P", ctx.profiles[entry]);
            const ProfilePaths& at = profilePaths[entry];
            const std::string localData = at(fields.Expand(table.localData));
            if (files.DirectoryExists(localData)) {
                files.PurgeFolder(localData, table.localDataPattern, PlainFiles, Forced::Yes, ProgressPerFile::No);
                files.RemoveDir(localData);
            }
            files.DeleteIfExists(at(fields.Expand(table.quickLaunchShortcut)));
        }
        DeleteEachIfExists(files, fields, table.logonUserOldProfileShortcuts);
    }
    ctx.status.StepProgress(1);
}

void RemoveFixedShortcuts(RunContext& ctx, PathFields fields, const ShortcutTable& table) {
    for (const FixedShortcut& shortcut : table.fixedShortcuts) {
        fields.Set("F", shortcut.file);
        DeleteEachIfExists(ctx.files, fields, shortcut.desktop ? table.desktopLocations : table.startupLocations);
        ctx.status.StepProgress(1);
    }
}

// What the steps above remove from the current user's shell folders, from
// every other user's own: shortcuts, fixed shortcuts, empty program groups.
void RemoveOtherUsersShortcuts(RunContext& ctx, const ShortcutTable& table) {
    ForEachOtherUser(ctx, [&](const OtherUser& user) {
        PathFields fields(user.locations);
        DeleteUsersIfExists(ctx.files, user, fields, table.shellFolderShortcuts);
        for (const std::string& name : table.shortcutNames) {
            fields.Set("N", name);
            DeleteUsersIfExists(ctx.files, user, fields, table.programGroupShortcuts);
        }
        for (const FixedShortcut& shortcut : table.fixedShortcuts) {
            fields.Set("F", shortcut.file);
            DeleteUsersIfExists(ctx.files, user, fields,
                                shortcut.desktop ? table.desktopLocations : table.startupLocations);
        }
        for (const PathTemplate& group : table.programGroups)
            if (NamesUserShellFolder(group, user.locations)) ctx.files.RemoveDirIfExists(fields.Expand(group));
    });
}

}  // namespace

void RemoveShortcuts(RunContext& ctx) {
    const ShortcutTable& table = Shortcuts();
    const PathFields fields(ctx.locations);
    ctx.status.ShowItem("Links..");
    DeleteEachIfExists(ctx.files, fields, table.shellFolderShortcuts);
    RemoveProfileSendTo(ctx, fields, table);
    RemoveNamedShortcuts(ctx, fields, table);
    for (const PathTemplate& group : table.programGroups) ctx.files.RemoveDirIfExists(fields.Expand(group));
    ctx.status.StepProgress(1);
    RemoveFixedShortcuts(ctx, fields, table);
    RemoveOtherUsersShortcuts(ctx, table);
}

}  // namespace purgent
