#include <exception>

#include "components/component_phases.h"
#include "components/component_tables.h"
#include "files/other_users.h"
#include "files/program_folder.h"
#include "image/ansi_text.h"

namespace purgent {

namespace {

void Apply(FileAccess& files, const LocatedPath& shortcut, const InstallLocations& locations) {
    const std::string path = locations.*shortcut.base + shortcut.literal;
    if (shortcut.action == PathAction::DeleteIfExists)
        files.DeleteIfExists(path);
    else
        files.RemoveDirIfExists(path);
}

bool InUserShellFolder(const LocatedPath& shortcut, const InstallLocations& locations) {
    using L = InstallLocations;
    const bool user = shortcut.base == &L::UserDesktop || shortcut.base == &L::UserPrograms ||
                      shortcut.base == &L::UserStartup || shortcut.base == &L::UserSendTo;
    return user && !(locations.*shortcut.base).empty();
}

// The current user's, then those in every other user's own shell folders.
void DeleteShortcuts(RunContext& ctx, const std::vector<LocatedPath>& shortcuts) {
    for (const LocatedPath& shortcut : shortcuts) Apply(ctx.files, shortcut, ctx.locations);
    ForEachOtherUser(ctx, [&](const OtherUser& user) {
        for (const LocatedPath& shortcut : shortcuts)
            if (InUserShellFolder(shortcut, user.locations)) Apply(ctx.files, shortcut, user.locations);
    });
    ctx.status.StepProgress(1);
}

// The plain files of one folder, then the folder if that left it empty.
void PurgeAndRemove(FileAccess& files, const std::string& folder, const std::string& pattern) {
    if (!files.DirectoryExists(folder)) return;
    files.PurgeFolder(folder + "\\", pattern, PlainFiles, Forced::No, ProgressPerFile::No);
    files.RemoveDir(folder);
}

// One profile's Messenger data, deepest folder first.
void DeleteOneProfileData(RunContext& ctx, const MessengerTable& table, const std::string& profileFolder) {
    const std::string data = profileFolder + table.dataFolder;
    for (const std::string& subfolder : table.dataSubfolders)
        PurgeAndRemove(ctx.files, data + subfolder, table.purgePattern);
    PurgeAndRemove(ctx.files, data, table.purgePattern);
    ctx.status.ShowItem(data);
    ctx.status.StepProgress(1);
}

bool Visited(const std::vector<std::string>& visited, const std::string& folder) {
    for (const std::string& done : visited)
        if (image::EqualsIgnoreCase(done, folder)) return true;
    return false;
}

// Every entry of the profiles folder, hidden folders, "." and ".." included,
// then every known profile's own folder the listing did not reach: Windows
// Vista and later deny listing "Documents and Settings" (a junction), and a
// profile may lie elsewhere ("D:\Profiles\bob").
void DeleteProfileData(RunContext& ctx, const MessengerTable& table) {
    const std::string profiles = ctx.locations.WindowsDrive + table.profilesFolder;
    std::vector<std::string> visited;
    try {
        for (FileListing listing = ctx.files.List(profiles + table.profileMask, FilesAndFolders);
             listing.HasEntry(); listing.Next()) {
            visited.push_back(profiles + listing.Name());
            DeleteOneProfileData(ctx, table, visited.back());
        }
        for (const std::string& folder : ctx.profileFolders) {
            if (folder.empty() || Visited(visited, folder)) continue;
            visited.push_back(folder);
            DeleteOneProfileData(ctx, table, folder);
        }
    } catch (const std::exception&) {
        // Ends the walk only: the program folder and the registry still go.
    }
}

// Only a folder of Messenger's own: pointed at system32, its "LogFiles"
// would be the system's log folder.
void DeleteProgramFolder(RunContext& ctx, const MessengerTable& table) {
    const std::string& folder = ctx.locations.MessengerDir;
    if (!MayEmptyProgramFolder(ctx, &InstallLocations::MessengerDir)) return;
    ctx.files.PurgeFolder(folder + table.logFiles + "\\", table.purgePattern, PlainFiles, Forced::Yes,
                          ProgressPerFile::Yes);
    ctx.files.PurgeFolder(folder, table.purgePattern, PlainFiles, Forced::No, ProgressPerFile::Yes);
    ctx.files.RemoveDir(folder + table.logFiles);
    ctx.files.RemoveDir(folder);
}

void DeleteInstallerInfo(RunContext& ctx, const MessengerTable& table) {
    const std::string folder = ctx.locations.WindowsDrive + table.installerInfo;
    ctx.files.PurgeFolder(folder + "\\", table.purgePattern, PlainFiles, Forced::Yes, ProgressPerFile::No);
    ctx.status.StepProgress(1);
    ctx.files.RemoveDir(folder);
}

}  // namespace

void DeleteMessengerFiles(RunContext& ctx) {
    const MessengerTable& table = MessengerCatalogue();
    ctx.status.RepaintStatus();  // the row's phase text, at once
    DeleteShortcuts(ctx, table.shortcuts);
    DeleteProfileData(ctx, table);
    DeleteProgramFolder(ctx, table);
    DeleteInstallerInfo(ctx, table);
}

}  // namespace purgent
