#include <string>

#include "files/file_phase.h"
#include "files/file_tables.h"
#include "files/program_folder.h"

namespace purgent {

namespace {

bool IsMask(const std::string& entry) { return entry.find('*') != std::string::npos; }

// True when the file is there and stays there.
bool ForcedDeletionFails(FileAccess& files, const std::string& path) {
    return files.FileExists(path) && !files.DeleteForced(path);
}

// Each name or mask in both system folders. A client Word integration
// library that stays in system32 (Word holds it) is reported at the end.
void RemoveSystemFolderFiles(RunContext& ctx, const PathFields& fields, const SystemFilesTable& table) {
    FileAccess& files = ctx.files;
    const std::string system = fields.Expand(table.systemFolder);
    const std::string system32 = fields.Expand(table.system32Folder);
    for (const std::string& entry : table.systemFileNames) {
        if (IsMask(entry)) {
            files.PurgeFolder(system, entry, PlainFiles, Forced::Yes, ProgressPerFile::No);
            files.PurgeFolder(system32, entry, PlainFiles, Forced::Yes, ProgressPerFile::No);
        } else {
            ForcedDeletionFails(files, system + entry);
            if (ForcedDeletionFails(files, system32 + entry) &&
                entry.compare(0, table.wordIntegration.size(), table.wordIntegration) == 0)
                ctx.WordIntegrationFailed = true;
        }
        ctx.status.StepProgress(1);
    }
}

void RemoveInstallerCache(FileAccess& files, const PathFields& fields, const SystemFilesTable& table) {
    for (const PathTemplate& cached : table.installerCacheFiles) {
        const std::string path = fields.Expand(cached);
        if (files.FileExists(path)) files.DeleteForced(path);
    }
    files.RemoveDirIfExists(fields.Expand(table.installerCacheFolder));
}

// The program folder, unless the client runs from a network distribution.
// Nothing under it is purged or removed unless it is the client's own: its
// named subfolders too, since under a shared folder such as Common Files or
// system32 a "PPForms" or "GWCheck" may as well be another product's. The
// progress steps advance either way.
void RemoveProgramFolder(RunContext& ctx, const PathFields& fields, const SystemFilesTable& table) {
    FileAccess& files = ctx.files;
    const std::string folder = fields.Expand(table.programFolder);
    const bool own = MayEmptyProgramFolder(ctx, &InstallLocations::GroupWiseDir);
    if (own) {
        files.PurgeFolder(folder, table.programFolderPattern, PlainFiles, Forced::Yes, ProgressPerFile::No);
        files.PurgeFolder(folder, table.programFolderPattern, PlainAndHiddenFiles, Forced::No, ProgressPerFile::No);
    }
    ctx.status.StepProgress(1);
    for (const ProgramSubfolder& subfolder : table.programSubfolders) {
        if (own) {
            files.PurgeFolder(fields.Expand(subfolder.purged), table.programFolderPattern, PlainFiles,
                              subfolder.forced, ProgressPerFile::No);
            for (const PathTemplate& removed : subfolder.removed) files.RemoveDir(fields.Expand(removed));
            if (subfolder.thenProgramFolder) files.RemoveDir(folder.substr(0, folder.size() - 1));
        }
        ctx.status.StepProgress(1);
    }
}

}  // namespace

void RemoveProgramAndSystemFiles(RunContext& ctx) {
    const SystemFilesTable& table = SystemFiles();
    const PathFields fields(ctx.locations);
    ctx.status.ShowItem("System Files..");
    RemoveSystemFolderFiles(ctx, fields, table);
    RemoveInstallerCache(ctx.files, fields, table);
    if (ctx.Checked(Option::WebServices))
        for (const PathTemplate& library : table.webServicesFiles) ctx.files.DeleteIfExists(fields.Expand(library));
    RemoveFastFindFiles(ctx, fields);
    RemoveWritingToolsFiles(ctx, fields);
    if (!ctx.process.networkInstall) RemoveProgramFolder(ctx, fields, table);
}

}  // namespace purgent
