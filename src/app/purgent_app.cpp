#include "app/purgent_app.h"

#include <exception>

#include "app/capture_folder.h"
#include "app/cleaning_run.h"
#include "app/command_line.h"
#include "app/exit_status.h"
#include "app/run_log_options.h"
#include "app/switches_help.h"
#include "app/variable_expansion.h"
#include "run/run_context.h"

namespace purgent {

namespace {

std::string LogRefusalMessage(const std::string& path, WriteRefusal refusal) {
    const std::string cannot = "Cannot create the log file '" + path + "'";
    switch (refusal) {
        case WriteRefusal::Link: return cannot + ": it is a link.";
        case WriteRefusal::OtherNames: return cannot + ": the file has other names (hard links).";
        default: return cannot + ".";
    }
}

}  // namespace

PurgentApp::PurgentApp(Platform& platform, StatusView& statusView, FormView& formView)
    : platform_(platform),
      formView_(formView),
      status_(statusView, platform.cursor),
      form_(formView, platform.messages, state_) {}

PurgentApp::~PurgentApp() = default;

PurgentApp::CommandLine PurgentApp::Prepare() {
    try {
        const std::vector<std::string> arguments = SplitCommandLine(platform_.environment.CommandLine());
        if (AsksForSwitchesHelp(arguments)) return CommandLine::AsksForSwitches;
        if (!ApplySwitches(arguments, form_, state_)) return CommandLine::Invalid;
        // Started directly by a deployment tool, the program gets its command
        // line as the tool wrote it, with no shell to expand a
        // \\server\logs\%COMPUTERNAME%.log.
        if (state_.logFile) state_.logFile = ExpandVariables(*state_.logFile, platform_.environment);
        state_.captureFolder = ExpandVariables(state_.captureFolder, platform_.environment);
        registry_ = std::make_unique<RegistryAccess>(platform_.registry, status_, platform_.environment);
    } catch (const std::exception& error) {
        // No window has shown yet, whatever the mode, so nothing could ever end
        // the process: it ends as a failed run does.
        platform_.messages.ShowError(ErrorBoxText(error.what()));
        EndProcess(platform_, state_, ExitFailed);
    }
    return CommandLine::Valid;
}

void PurgentApp::FormCreate() {
    form_.SetApplicationHint(MainForm::ApplicationHintText);
    switch (Prepare()) {
        case CommandLine::AsksForSwitches: {
            const std::string help = SwitchesHelpText();
            if (!platform_.messages.ShowOnConsole(help)) platform_.messages.ShowMessage(help);
            EndProcess(platform_, state_, ExitCompleted);
        }
        case CommandLine::Invalid:
            platform_.messages.ShowMessage("Invalid Purgent Commandline");
            EndProcess(platform_, state_, ExitInvalidCommandLine);
        case CommandLine::Valid:
            break;
    }
    // One run at a time, previews included: a second would unload the
    // first's mount of a user's hive as a leftover and race it for every
    // key and file. Taken before the log is started, so that a deployment
    // tool retrying the same command line while the first run works gets
    // this status, not a failure on the log the first run holds open.
    if (!platform_.environment.HoldRunName()) StopForAnotherRun();
    // Before anything is read or cleaned: an administrator who asked for a
    // log or a capture gets none of the run without it, in every mode, and
    // nothing is left written.
    bool captureFolderCreated = false;
    if (!state_.captureFolder.empty()) {
        const std::string error = PrepareCaptureFolder(platform_.files, state_.captureFolder, captureFolderCreated);
        if (!error.empty()) StopBeforeTheRun(error);
    }
    if (state_.logFile) {
        const WriteRefusal refusal = platform_.environment.StartRunLog(*state_.logFile, state_.ignoredArguments,
                                                                       RunLogOptions(form_, state_.silentMode));
        if (refusal != WriteRefusal::None) {
            if (captureFolderCreated) platform_.files.RemoveFolder(state_.captureFolder);
            StopBeforeTheRun(LogRefusalMessage(*state_.logFile, refusal));
        }
    }
    if (state_.preview && !platform_.environment.StartPreview(!IsHidden(state_.silentMode), state_.captureFolder))
        StopBeforeTheRun("A preview (/whatif) cannot be made here.");

    switch (state_.silentMode) {
        case SilentMode::Silent:
        case SilentMode::SilentNoMessage:
            formView_.StayHidden();
            RunButtonClick();  // whether or not the Clean button is enabled
            break;
        case SilentMode::ProgressOnly:
            formView_.ShowProgressOnly();
            RunButtonClick();
            break;
        case SilentMode::Interactive:
            formView_.ShowInteractive();
            break;
    }
}

void PurgentApp::StopForAnotherRun() {
    static const char* const text = "Another Purgent run is in progress.";
    // The log named may be the other run's, held open by it: no matter here.
    if (state_.logFile)
        platform_.environment.StartRunLog(*state_.logFile, state_.ignoredArguments,
                                          RunLogOptions(form_, state_.silentMode));
    platform_.environment.Note("busy", text);
    if (!IsHidden(state_.silentMode)) platform_.messages.ShowMessage(text);
    EndProcess(platform_, state_, ExitAnotherRun);
}

void PurgentApp::StopBeforeTheRun(const std::string& error) {
    // Under /s and /sn nobody is there to press OK: a box would hold the
    // deployment until its time limit, and the status says it.
    if (!IsHidden(state_.silentMode)) platform_.messages.ShowError(error);
    EndProcess(platform_, state_, ExitFailed);
}

void PurgentApp::RunButtonClick() {
    if (!registry_) return;  // the window is already closing
    // What the link guard found holds for one run: another may find the
    // machine changed.
    FileAccess files(platform_, status_);
    RunContext ctx{platform_, status_, *registry_, files, form_, state_, {}, {}, {}};
    RunCleaning(ctx);
}

void PurgentApp::FormClose() { registry_.reset(); }

// The interactive window is the administrator's own: what a run did is on
// screen, and the window can run again, so closing it is no failure.
void PurgentApp::ExitOnClose() {
    EndProcess(platform_, state_, state_.silentMode == SilentMode::ProgressOnly ? state_.lastRunStatus : ExitCompleted);
}

}  // namespace purgent
