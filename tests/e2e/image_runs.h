#pragma once
// Cleans a machine image twice, for the differential checks: with the real
// purgent.exe on a Wine machine seeded with it, and with purgent-sim; and
// compares the two results.
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "wine_harness.h"

namespace purgent::e2e {

// The Wine path (drive Z:) of a host path.
std::string WindowsPath(const std::string& hostPath);

// seed.exe, purgent.exe with the arguments and a run log in outDir.log,
// snapshot.exe into outDir, all of the target's build on its kind of machine;
// the snapshot as read back. Failures of the three programs are test failures.
image::MachineImage CleanOnWine(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                                const std::string& outDir, const E2eTarget& target = kWin64Target);

// purgent-sim with the arguments, saving into outDir (trace in outDir.trace).
image::MachineImage CleanOnSim(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                               const std::string& outDir);

// The real run's log (wineOutDir.log) and purgent-sim's trace (simOutDir.trace)
// hold the same events, but for the keys regsvr32 deleted: another program's
// changes, which the simulator records after its launch and a real log cannot
// see. Names compare in any case: a real machine keeps the spelling a key or
// folder was created with (Wine's "C:\windows", an image's "C:\WINDOWS").
void ExpectSameEvents(const std::string& wineOutDir, const std::string& simOutDir);

// The two cleaned registries agree on every key and value the seeded image
// names (a snapshot reads more than that: whatever Wine keeps below them).
void ExpectSameOnNamedData(const image::RegistryKeys& seeded, const image::RegistryKeys& real,
                           const image::RegistryKeys& simulated, const std::string& who);

}  // namespace purgent::e2e
