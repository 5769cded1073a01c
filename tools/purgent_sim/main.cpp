// purgent-sim: runs Purgent's cleaning on a simulated workstation described
// by a machine image and prints what happened as a trace.
#include <iostream>

#include "purgent_sim/sim_cli.h"

int main(int argc, char** argv) {
    return purgent::sim::RunSimCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
