#pragma once
// Simulated workstations on which a run does not complete.
#include <memory>

#include "image/machine_image.h"
#include "platform/sim/sim_machine.h"
#include "shutdown_sim_machine.h"

namespace purgent::test {

// GroupWise windows that stay open: the run halts.
inline std::unique_ptr<sim::SimMachine> MachineWithGroupWiseStuck() {
    return MachineWithIni("[window]\ntitle=GroupWise\nclass=GWWin\ncloses=no\n"
                          "[window]\ntitle=Address Book\nclass=GWAB\ncloses=no\n");
}

// A GroupWise App Paths entry holding a number where text belongs: reading
// it is an error that ends the run.
inline std::unique_ptr<sim::SimMachine> MachineWithBadAppPath() {
    image::MachineImage image;
    image::RegistryKey key{"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\GrpWise.Exe",
                           {{"Path", 4, {1, 0, 0, 0}, false}},
                           false};
    image.registry.push_back(key);
    return std::make_unique<sim::SimMachine>(std::move(image));
}

}  // namespace purgent::test
