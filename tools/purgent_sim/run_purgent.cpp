#include "purgent_sim/run_purgent.h"

#include "app/command_line.h"
#include "app/purgent_app.h"
#include "purgent_sim/sim_form_view.h"
#include "purgent_sim/sim_status_view.h"

namespace purgent::sim {

int RunPurgentOnSim(SimMachine& machine, const std::vector<std::string>& args) {
    return RunPurgentOnSimCommandLine(machine, QuoteArguments(args));
}

int RunPurgentOnSimCommandLine(SimMachine& machine, const std::string& rawCommandLine) {
    machine.Environment().SetCommandLine("purgent.exe " + rawCommandLine);
    SimStatusView statusView(machine.Trace());
    SimFormView formView;
    try {
        PurgentApp app(machine.GetPlatform(), statusView, formView);
        app.FormCreate();
        if (formView.HowShown() == SimFormView::Shown::Interactive && app.Form().Enabled(Control::RunButton))
            app.RunButtonClick();
        // Whatever is left on screen (the window, or the shrunk progress
        // window after a halt) is closed, and the process ends with it.
        app.FormClose();
        app.ExitOnClose();
    } catch (const SimProcessExit& exit) {
        return exit.status;
    }
    return 0;  // not reached: ExitProcess unwinds
}

}  // namespace purgent::sim
