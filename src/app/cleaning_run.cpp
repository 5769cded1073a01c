#include "app/cleaning_run.h"

#include <exception>
#include <string>
#include <vector>

#include "app/exit_status.h"
#include "app/launch_command.h"
#include "app/program_search.h"
#include "components/component_phases.h"
#include "discovery/discovery.h"
#include "files/file_phase.h"
#include "files/program_folder.h"
#include "registry/machinewide_registry.h"
#include "registry/user_registry_catalogue.h"
#include "shutdown/kill_process.h"
#include "shutdown/window_survey.h"

namespace purgent {

namespace {

// The result does not matter: the window survey checks that the program is gone.
void StopProcess(RunContext& ctx, const std::string& image) { KillProcessByName(ctx.platform, image); }

bool GroupWiseWindowsRemain(RunContext& ctx) {
    return WaitForGroupWiseWindows(ctx.platform, ctx.process.windowSurvey);
}

bool MessengerWindowRemains(RunContext& ctx) {
    return CheckMessengerWindows(ctx.platform.windows, ctx.process.windowSurvey);
}

const char* const StoppedProcesses[] = {
    "notify.exe",   "addrbook.exe", "grpwise.exe", "gwsync.exe", "gwmailto.exe",
    "gwtip.exe",    "gwreload.exe", "nmcl32.exe",  "msinm.exe",  "outlook.exe",
};

void StartProgress(RunContext& ctx) {
    ctx.status.SetProgressMaximum(InitialProgressMaximum(ctx.options));
    ctx.status.SetProgressPosition(0);
}

// One row of the run. The driver writes the row's phase text (and clears
// panel 1 where marked) before its steps, and steps the progress bar by
// stepAfter after them; the steps do not repeat either.
struct PhaseRow {
    std::vector<Option> guard;  // all checked; empty: always
    const char* phaseText;      // nullptr: panel 0 unchanged
    bool clearItem;
    std::vector<PhaseStep> steps;
    int stepAfter;
};

const std::vector<PhaseRow>& Phases() {
    static const std::vector<PhaseRow> phases = {
        // Platform version, windows folder, shortcut and system file tables,
        // install folders, shell folders, logon user, user profiles; then the
        // record of the program folders, before the first key or file goes.
        {{}, nullptr, false, {DiscoverLocations, RecordProgramFolders}, 0},
        {{}, nullptr, false, {StartProgress}, 0},
        // Every user hive, the default user, class registrations, application
        // entries, web services and Writing Tools entries, classes root.
        {{Option::Client, Option::DeleteRegistry},
         "Deleting Registry Entries",
         false,
         {CleanUserRegistry, CleanClassRegistrations, CleanApplicationEntries, CleanWebServicesEntries,
          CleanClassesRoot},
         0},
        // Messenger DLLs, then the first Messenger registry block.
        {{Option::Messenger, Option::DeleteRegistry},
         "Deregistering  DLLs..",
         true,
         {DeregisterMessengerDlls, DeleteMessengerRegistration},
         0},
        // The logged-on user's folder joins the profile set.
        {{}, nullptr, false, {AppendLogonUser}, 0},
        // Messenger files.
        {{Option::Messenger, Option::DeleteFiles}, "Deleting Messenger Files..", false, {DeleteMessengerFiles}, 0},
        // The second Messenger registry block.
        {{Option::Messenger, Option::DeleteRegistry}, nullptr, false, {DeleteMessengerSettings}, 10},
        // Client DLLs.
        {{Option::Client, Option::DeleteRegistry}, "Deregistering DLLs..", true, {DeregisterClientDlls}, 0},
        // Shortcuts, program and system files, Office integration and Writing
        // Tools files.
        {{Option::Client, Option::DeleteFiles},
         "Deleting Files..",
         false,
         {RemoveShortcuts, RemoveProgramAndSystemFiles, RemoveOfficeIntegration},
         0},
    };
    return phases;
}

bool GuardHolds(const RunContext& ctx, const PhaseRow& row) {
    for (Option option : row.guard) {
        if (!ctx.Checked(option)) return false;
    }
    return true;
}

void RunPhase(RunContext& ctx, const PhaseRow& row) {
    if (!GuardHolds(ctx, row)) return;
    if (row.phaseText) ctx.status.ShowPhase(row.phaseText);
    if (row.clearItem) ctx.status.ShowItem("");
    for (PhaseStep step : row.steps) step(ctx);
    if (row.stepAfter) ctx.status.StepProgress(row.stepAfter);
}

// A hidden process ends at once; the shrunk /sp window stays with the halt
// or error texts, and the process ends with this status when it is closed:
// a deployment waiting on /sp must not take a halted run for a success.
void ExitUnlessShown(RunContext& ctx, int status) {
    ctx.process.lastRunStatus = status;
    if (IsHidden(ctx.process.silentMode)) EndProcess(ctx.platform, ctx.process, status);
}

// Halts the run; in the hidden modes nobody could ever see or close the
// process, so it ends instead of living on invisibly.
void Halt(RunContext& ctx, const std::string& reason) {
    ctx.status.ShowPhase("Purgent Halted");
    ctx.status.ShowItem(reason);
    ctx.status.RestoreCursor();
    ExitUnlessShown(ctx, ExitHalted);
}

// False when the run halted.
bool Start(RunContext& ctx) {
    ctx.process.lastRunStatus = ExitCompleted;
    ctx.process.restartNeeded = false;
    ctx.status.SaveCursor();
    ctx.ExcelIntegrationFailed = false;
    ctx.WordIntegrationFailed = false;
    ctx.process.networkInstall = ctx.Checked(Option::Networked);
    if (!IsHidden(ctx.process.silentMode)) {
        ctx.status.ShowPhase("Purgent Started");
        ctx.status.ShowItem("Closing GroupWise processes");
        ctx.status.BusyCursor();
    }
    for (const char* image : StoppedProcesses) StopProcess(ctx, image);
    if (GroupWiseWindowsRemain(ctx)) {
        Halt(ctx, "Some GroupWise or Outlook processes cannot be stopped");
        return false;
    }
    if (ctx.Checked(Option::Messenger) && MessengerWindowRemains(ctx)) {
        Halt(ctx, "Some Messenger processes cannot be stopped");
        return false;
    }
    return true;
}

void LaunchFollowUpProgram(RunContext& ctx) {
    ParsedLaunch launch = ParseLaunchCommand(ctx.options.LaunchCommand());
    std::string shortPath = ctx.platform.programs.ShortPathName(launch.LaunchProgram);
    if (!shortPath.empty()) launch.LaunchProgram = shortPath;
    auto start = FindProgram(launch.LaunchProgram, LaunchCommandLine(launch), ctx.platform.environment,
                             ctx.platform.programs);
    // A program that cannot be found or started is not reported.
    if (start) ctx.platform.programs.RunAndWait(start->application, start->commandLine);
}

void End(RunContext& ctx) {
    // A preview schedules nothing: a deployment tool must not restart the
    // machine for it.
    ctx.process.restartNeeded = ctx.files.RestartNeeded() && !ctx.process.preview;
    // The cleaning is complete: a later run needs no record of this one. A
    // run that stopped on an error keeps it, for the run that finishes the job.
    ctx.platform.environment.RemoveFolderRecord();
    ctx.status.RestoreCursor();
    ctx.status.SetProgressPosition(0);
    ctx.status.SetItemText("");
    ctx.status.ShowPhase("Done");
    // Shown now: a follow-up program may keep the run busy for long.
    ctx.status.RepaintStatus();
    if (ctx.Checked(Option::LaunchApp)) LaunchFollowUpProgram(ctx);

    SilentMode mode = ctx.process.silentMode;
    MessageBoxService& messages = ctx.platform.messages;
    if (ctx.ExcelIntegrationFailed && mode != SilentMode::SilentNoMessage) {
        messages.ShowMessage(
            "Purgent could not remove Excel ODMA Integrations\n\nRerun Purgent with all Excel processes closed.");
    }
    if (ctx.WordIntegrationFailed && mode != SilentMode::SilentNoMessage) {
        messages.ShowMessage(
            "Purgent could not remove Word ODMA Integrations\n\nRerun Purgent with all Word processes closed.");
    }
    if (mode == SilentMode::Silent) messages.ShowMessage("Purgent - Completed");
    if (mode != SilentMode::Interactive) EndProcess(ctx.platform, ctx.process, ExitCompleted);
}

}  // namespace

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && message.back() == '.') return message;
    return message + ".";
}

int InitialProgressMaximum(const RunOptions& options) {
    bool client = options.Checked(Option::Client);
    bool messenger = options.Checked(Option::Messenger);
    bool files = options.Checked(Option::DeleteFiles);
    bool registry = options.Checked(Option::DeleteRegistry);
    int maximum = 0;
    if (messenger && files) maximum += 110;
    // The two Messenger registry blocks are counted separately.
    if (messenger && registry) maximum += 135;
    if (messenger && registry) maximum += 135;
    if (client && registry) maximum += 1500;
    if (client && files) maximum += 100;
    return maximum;
}

void RunCleaning(RunContext& ctx) {
    try {
        if (!Start(ctx)) return;
        for (const PhaseRow& row : Phases()) RunPhase(ctx, row);
        End(ctx);
    } catch (const std::exception& error) {
        // Not only the accessor's own errors: an unexpected failure (memory,
        // say) must end an unattended run with the same box and status.
        // The cursor stays as it is and nothing is launched.
        ctx.platform.messages.ShowError(ErrorBoxText(error.what()));
        ExitUnlessShown(ctx, ExitFailed);
    }
}

}  // namespace purgent
