// purgent-fleet: one report for the run logs of many machines (fleet_cli.h).
#include <iostream>

#include "fleet_cli.h"

int main(int argc, char** argv) { return purgent::fleet::RunFleet({argv + 1, argv + argc}, std::cout, std::cerr); }
