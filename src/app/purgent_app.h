#pragma once
#include <memory>

#include "app/form_view.h"
#include "app/main_form.h"
#include "run/process_state.h"
#include "run/status_reporter.h"
#include "run/status_view.h"
#include "platform/platform.h"
#include "files/file_access.h"
#include "registry/registry_access.h"

namespace purgent {

// The program: the main window's handlers over the platform.
class PurgentApp {
public:
    PurgentApp(Platform& platform, StatusView& statusView, FormView& formView);
    ~PurgentApp();
    PurgentApp(const PurgentApp&) = delete;
    PurgentApp& operator=(const PurgentApp&) = delete;

    // Reads the command line, creates the registry accessor, starts the run
    // log it asks for, shows the window as the mode wants and, unattended,
    // runs at once. Ends the process after the switches' box of "/?" (status
    // 0), on an invalid command line (3), when another run holds the run's
    // name (4), on a failure before the run or a run log that cannot be
    // created (2) and after an unattended run (see RunButtonClick).
    void FormCreate();
    // One cleaning run. Ends the process after a completed unattended run
    // (status 0) and, in Silent and SilentNoMessage, after a halt (1) or an
    // error (2).
    void RunButtonClick();
    // Destroys the registry accessor.
    void FormClose();
    // Ends the process once its window is closed: in ProgressOnly with the
    // halt's status or the error's, otherwise as a completed run.
    [[noreturn]] void ExitOnClose();

    MainForm& Form() { return form_; }
    StatusReporter& Status() { return status_; }
    ProcessState& State() { return state_; }

private:
    enum class CommandLine { Valid, Invalid, AsksForSwitches };
    // Reads the command line; when it is valid, applies it and creates the
    // registry accessor. Ends the process on a failure.
    CommandLine Prepare();
    // In the window modes an error box; then the end of the process with the
    // status of a failed run.
    void StopBeforeTheRun(const std::string& error);
    // The run log's header and a "# busy" note, in the window modes a box,
    // then the end of the process: nothing was changed.
    void StopForAnotherRun();

    Platform& platform_;
    FormView& formView_;
    ProcessState state_;
    StatusReporter status_;
    MainForm form_;
    std::unique_ptr<RegistryAccess> registry_;
};

}  // namespace purgent
