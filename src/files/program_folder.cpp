#include "files/program_folder.h"

#include <vector>

#include "files/file_access.h"
#include "files/own_folder.h"

namespace purgent {

namespace {

// What shows that a folder holds the program: the files only it installs
// (its programs, which the run stops by name, and its own libraries), any
// one of which a partly uninstalled copy still leaves behind.
struct ClientFiles {
    std::string InstallLocations::*location;
    RecordedFolder FolderRecord::*recorded;
    const char* defaultFolder;
    std::vector<const char*> names;
};

const ClientFiles GroupWiseFiles{
    &InstallLocations::GroupWiseDir,
    &FolderRecord::groupWise,
    "c:\\novell\\groupwise\\",
    {"grpwise.exe", "gwsync.exe", "gwmailto.exe", "gwtip.exe", "gwreload.exe", "gwenv1.dll", "gwcma1.dll",
     "gwabdlg.dll", "gwmsb1.dll"},
};

const ClientFiles MessengerFiles{
    &InstallLocations::MessengerDir,
    &FolderRecord::messenger,
    "c:\\novell\\messenger\\",
    {"nmcl32.exe", "msinm.exe", "nmapi.dll"},
};

const ClientFiles& ClientOf(std::string InstallLocations::*programFolder) {
    return programFolder == &InstallLocations::MessengerDir ? MessengerFiles : GroupWiseFiles;
}

bool ShowsProgram(FileAccess& files, const std::string& folder, const ClientFiles& client) {
    const std::string prefix = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
    for (const char* name : client.names)
        if (files.FileExists(prefix + name)) return true;
    return false;
}

// Whether the folder, where it lies, is the one the program installs to by
// default or the one an interrupted run verified: the interrupted run may
// have deleted the program's own files already.
bool IsKnownFolder(RunContext& ctx, const std::string& final, const ClientFiles& client) {
    LinkGuard& guard = ctx.files.Guard();
    TextService& text = ctx.platform.text;
    const auto same = [&](const std::string& folder) {
        return !folder.empty() && text.UpperCase(final) == text.UpperCase(guard.FinalPath(folder));
    };
    if (same(client.defaultFolder)) return true;
    if (!ctx.recordedFolders) return false;
    const RecordedFolder& recorded = (*ctx.recordedFolders).*client.recorded;
    return recorded.verified && same(recorded.path);
}

// Why the folder the link guard lets the run into at final may not be
// emptied; nullptr when it may.
const char* Refusal(RunContext& ctx, const std::string& folder, const std::string& final, const ClientFiles& client) {
    if (!IsOwnFolder(ctx, folder) || !IsOwnFolder(ctx, final))
        return "a folder of the system, of a user or of everybody, or on a network share";
    if (IsKnownFolder(ctx, final, client) || ShowsProgram(ctx.files, folder, client)) return nullptr;
    return "none of the program's own files in it";
}

// The program folder as found, and the same judgement without a note.
RecordedFolder Found(RunContext& ctx, const ClientFiles& client) {
    const std::string& folder = ctx.locations.*client.location;
    const std::string final = ctx.files.Guard().FinalPath(folder);
    return {folder, !final.empty() && !Refusal(ctx, folder, final, client)};
}

}  // namespace

bool MayEmptyProgramFolder(RunContext& ctx, std::string InstallLocations::*programFolder) {
    const std::string& folder = ctx.locations.*programFolder;
    LinkGuard& guard = ctx.files.Guard();
    if (!guard.MayWorkIn(folder)) return false;
    const char* refusal = Refusal(ctx, folder, guard.FinalPath(folder), ClientOf(programFolder));
    if (refusal) guard.Kept(folder, refusal);
    return !refusal;
}

// Written before the run's first change to a registry key or a file: the
// processes ended and windows closed before it change nothing a later run
// reads to find the program folders.
void RecordProgramFolders(RunContext& ctx) {
    ctx.platform.environment.WriteFolderRecord({Found(ctx, GroupWiseFiles), Found(ctx, MessengerFiles)});
}

}  // namespace purgent
