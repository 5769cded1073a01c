#pragma once
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"

namespace purgent::sim {

// Runs the whole program on the machine as purgent.exe would run: FormCreate
// and, in Interactive mode, one press of Clean (when the button is enabled)
// and then closing the window. Returns the process exit status, which is
// also traced as `exit`.
// args: Purgent's arguments as its command-line splitter produces them.
int RunPurgentOnSim(SimMachine& machine, const std::vector<std::string>& args);
// rawCommandLine: the command line after the program name, split by
// Purgent's own splitter.
int RunPurgentOnSimCommandLine(SimMachine& machine, const std::string& rawCommandLine);

}  // namespace purgent::sim
