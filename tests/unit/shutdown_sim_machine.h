#pragma once
// Simulated workstations described by their machine.ini text, for the process
// shutdown tests.
#include <memory>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "platform/sim/sim_machine.h"

namespace purgent::test {

inline std::unique_ptr<sim::SimMachine> MachineWithIni(const std::string& ini) {
    image::MachineImage image;
    image.machine = image::ParseMachineIni(ini, "machine.ini");
    return std::make_unique<sim::SimMachine>(std::move(image));
}

// The trace lines of one event, the event name cut off.
inline std::vector<std::string> TraceOf(sim::SimMachine& machine, const std::string& event) {
    std::vector<std::string> found;
    for (const std::string& line : machine.Trace().Lines()) {
        if (line.compare(0, event.size() + 1, event + "\t") == 0) {
            found.push_back(line.substr(event.size() + 1));
        } else if (line == event) {
            found.push_back("");
        }
    }
    return found;
}

}  // namespace purgent::test
