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
    const char* defaultFolder;
    std::vector<const char*> names;
};

const ClientFiles GroupWiseFiles{
    "c:\\novell\\groupwise\\",
    {"grpwise.exe", "gwsync.exe", "gwmailto.exe", "gwtip.exe", "gwreload.exe", "gwenv1.dll", "gwcma1.dll",
     "gwabdlg.dll", "gwmsb1.dll"},
};

const ClientFiles MessengerFiles{
    "c:\\novell\\messenger\\",
    {"nmcl32.exe", "msinm.exe", "nmapi.dll"},
};

bool ShowsProgram(FileAccess& files, const std::string& folder, const ClientFiles& client) {
    const std::string prefix = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
    for (const char* name : client.names)
        if (files.FileExists(prefix + name)) return true;
    return false;
}

}  // namespace

bool MayEmptyProgramFolder(RunContext& ctx, std::string InstallLocations::*programFolder) {
    const std::string& folder = ctx.locations.*programFolder;
    const ClientFiles& client = programFolder == &InstallLocations::MessengerDir ? MessengerFiles : GroupWiseFiles;
    LinkGuard& guard = ctx.files.Guard();
    if (!guard.MayWorkIn(folder)) return false;
    const std::string final = guard.FinalPath(folder);
    if (!IsOwnFolder(ctx, folder) || !IsOwnFolder(ctx, final)) {
        guard.Kept(folder, "a folder of the system, of a user or of everybody, or on a network share");
        return false;
    }
    TextService& text = ctx.platform.text;
    const bool isDefault = text.UpperCase(final) == text.UpperCase(guard.FinalPath(client.defaultFolder));
    if (isDefault || ShowsProgram(ctx.files, folder, client)) return true;
    guard.Kept(folder, "none of the program's own files in it");
    return false;
}

}  // namespace purgent
