#include <cctype>
#include <string>

#include "files/file_phase.h"
#include "files/other_users.h"
#include "files/file_tables.h"

namespace purgent {

namespace {

const std::string DesktopTail = "\\Desktop";

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) !=
            std::tolower(static_cast<unsigned char>(tail[i])))
            return false;
    return true;
}

// The add-in in every start-up folder of one Excel installation. One that
// survives a forced and a plain deletion is held open by Excel.
void RemoveExcelAddIn(RunContext& ctx, PathFields& fields, const OfficeFilesTable& table) {
    FileAccess& files = ctx.files;
    for (const std::string& startup : table.excelStartupFolders) {
        fields.Set("S", startup);
        for (const PathTemplate& candidate : table.addInCandidates) {
            const std::string path = fields.Expand(candidate);
            if (!files.FileExists(path)) continue;
            if (!files.DeleteForced(path) && files.FileExists(path) && !files.DeleteFile(path))
                ctx.ExcelIntegrationFailed = true;
        }
    }
}

}  // namespace

void RemoveFastFindFiles(RunContext& ctx, const PathFields& fields) {
    for (const PathTemplate& path : OfficeFiles().fastFindFiles) ctx.files.DeleteIfExists(fields.Expand(path));
    ctx.status.StepProgress(1);
}

// The user's profile folder is taken as the desktop's parent; a desktop
// folder that is not named so leaves no profile folder to search. One
// trailing separator ("...\Desktop\") names the same folder.
void RemoveWritingToolsFiles(RunContext& ctx, const PathFields& fields) {
    if (ctx.Checked(Option::WritingTools)) {
        std::string desktop = ctx.locations.UserDesktop;
        if (!desktop.empty() && desktop.back() == '\\') desktop.pop_back();
        const bool profileKnown = EndsWithIgnoringCase(desktop, DesktopTail);
        PathFields withProfile = fields;
        withProfile.Set("UserProfileFolder", desktop.substr(0, profileKnown ? desktop.size() - DesktopTail.size() : 0));
        for (const FolderPattern& purge : OfficeFiles().writingToolsPurges) {
            if (!profileKnown && purge.folder == "<UserProfileFolder>") continue;
            ctx.files.PurgeFolder(withProfile.Expand(purge.folder), purge.pattern, PlainFiles, Forced::Yes,
                                  ProgressPerFile::No);
        }
        // Every other user's word list, in that user's own profile folder.
        ForEachOtherUser(ctx, [&](const OtherUser& user) {
            withProfile.Set("UserProfileFolder", user.folder);
            for (const FolderPattern& purge : OfficeFiles().writingToolsPurges)
                if (purge.folder == "<UserProfileFolder>")
                    ctx.files.PurgeFolder(withProfile.Expand(purge.folder), purge.pattern, PlainFiles, Forced::Yes,
                                          ProgressPerFile::No);
        });
    }
    ctx.status.StepProgress(1);
}

void RemoveOfficeIntegration(RunContext& ctx) {
    const OfficeFilesTable& table = OfficeFiles();
    PathFields fields(ctx.locations);
    RegistryAccess& registry = ctx.registry;
    ctx.status.SetItemText("ODMA Files");
    registry.SetRootKey(HkeyLocalMachine);
    for (int version = table.firstOfficeVersion; version <= table.lastOfficeVersion; ++version) {
        fields.Set("V", std::to_string(version));
        if (registry.OpenKey(fields.Expand(table.excelInstallRoot))) {
            const std::string excelDir = registry.ReadString(table.excelPathValue);
            // Only Excel installations on the drives the client supported.
            if (!excelDir.empty() && table.excelDrives.find(static_cast<char>(std::tolower(
                                         static_cast<unsigned char>(excelDir[0])))) != std::string::npos) {
                fields.Set("ExcelDir", excelDir);
                RemoveExcelAddIn(ctx, fields, table);
            }
        }
        registry.CloseKey();
    }
    ctx.files.DeleteIfExists(fields.Expand(table.odmaSettings));
    ctx.status.StepProgress(1);
}

}  // namespace purgent
