#include "components/dll_deregistration.h"

#include "files/program_folder.h"
#include "shutdown/window_survey.h"

namespace purgent {

namespace {

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

int CountListed(RunContext& ctx, const std::string& mask) {
    int count = 0;
    for (FileListing listing = ctx.files.List(mask, PlainFiles); listing.HasEntry(); listing.Next()) ++count;
    return count;
}

void RunPass(RunContext& ctx, const DllPass& pass, LaunchField launchField) {
    const std::string folder = ctx.locations.*pass.base + pass.subfolder;
    if (pass.ownFolderOnly && !MayEmptyProgramFolder(ctx, pass.base)) return;
    const std::string mask = folder + pass.pattern;
    // The progress control repaints itself on every change, so the count
    // needs no repaint of its own.
    if (pass.countedFirst) ctx.status.ExtendProgress(CountListed(ctx, mask));
    const Names none;
    const Names& exclusions = pass.withExclusions ? DllCatalogue().exclusions : none;
    for (FileListing listing = ctx.files.List(mask, PlainFiles); listing.HasEntry();) {
        const std::string name = listing.Name();
        if (!IsExcludedDll(name, exclusions)) DeregisterDll(ctx, folder + name);
        listing.Next();
        ctx.status.StepProgress(1);
        ctx.status.RepaintStatus();
        if (launchField == LaunchField::Updated) ctx.status.UpdateApplicationField();
    }
}

}  // namespace

std::string RegSvrCommandLine(const std::string& tool, const std::string& dll) {
    const bool blank = dll.find(' ') != std::string::npos;
    return tool + " /u /s " + (blank ? '"' + dll + '"' : dll);
}

bool IsExcludedDll(const std::string& name, const Names& exclusions) {
    const std::string upper = AsciiUpper(name);
    for (const std::string& excluded : exclusions)
        if (upper == excluded) return true;
    return false;
}

void DeregisterDll(RunContext& ctx, const std::string& path) {
    ctx.status.SetItemText(path);
    const std::string tool = ctx.locations.WindowsDir + DllCatalogue().regSvr;
    std::string shortTool = ctx.platform.programs.ShortPathName(tool);
    if (shortTool.empty()) shortTool = tool;
    // A missing tool or a DLL that will not unregister is not reported.
    ctx.platform.programs.RunAndWait(tool, RegSvrCommandLine(shortTool, path));
    CloseNovellAppWindows(ctx.platform.windows, ctx.process.windowSurvey);
}

void DeregisterDlls(RunContext& ctx, const DllPasses& passes, LaunchField launchField) {
    if (launchField == LaunchField::Updated) ctx.status.UpdateApplicationField();
    for (const DllPass& pass : passes) RunPass(ctx, pass, launchField);
}

}  // namespace purgent
