#pragma once
// Cleans a machine image twice, for the differential checks: with the real
// purgent.exe on a Wine machine seeded with it, and with purgent-sim; and
// compares the two results.
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "wine_harness.h"

namespace purgent::e2e {

// The event lines of a run log or trace: the log's header lines left out.
std::vector<std::string> EventLines(const std::string& file);

// The Wine path (drive Z:) of a host path.
std::string WindowsPath(const std::string& hostPath);

// A relative symbolic link in the prefix for each link (a [junction] or
// [reparse] line), to a folder or a file, outer links first: Wine follows
// it as Windows follows a junction or a link.
void MakeLinks(const WinePrefix& prefix, std::vector<image::Junction> links);

// Drive D: mapped when the image names anything there, seed.exe of the
// target's build, then the image's [reparse] links. A failure of seed.exe
// is a test failure.
void SeedOnWine(WinePrefix& prefix, const std::string& imageDir, const E2eTarget& target = kWin64Target);

// snapshot.exe into outDir, of what the image at imageDir names; as read back.
image::MachineImage SnapshotOnWine(WinePrefix& prefix, const std::string& imageDir, const std::string& outDir,
                                   const E2eTarget& target = kWin64Target);

// SeedOnWine, purgent.exe with the arguments and a run log in outDir.log,
// SnapshotOnWine into outDir, all of the target's build on its kind of
// machine. Failures of the three programs are test failures.
image::MachineImage CleanOnWine(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                                const std::string& outDir, const E2eTarget& target = kWin64Target);

// A logged-on user's hive held loaded under HKEY_USERS\<sid> by hivehold.exe
// (started and ready): purgent.exe runs with the arguments; afterwards that
// hive is still loaded and no mount of the program's is left; then the
// holder lets go and the machine is read back into outDir, as the image at
// imageDir names it.
image::MachineImage CleanWithHiveHeld(WinePrefix& prefix, WineProcess& holder, const std::string& sid,
                                      const std::vector<std::string>& purgentArgs, const std::string& imageDir,
                                      const std::string& outDir);

// The file hivehold.exe waits for before it unloads the hive; and the one it
// makes once the hive is loaded.
inline const char* const kHiveHoldRelease = "C:\\hivehold.release";
inline const char* const kHiveHoldReady = "C:\\hivehold.ready";

// purgent-sim with the arguments, saving into outDir (trace in outDir.trace).
image::MachineImage CleanOnSim(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                               const std::string& outDir);

// The real run's log (wineOutDir.log) and purgent-sim's trace
// (simOutDir.trace) of one image hold the same events where a preview can
// know them (see SharedEvents); names compare in any case, as a real machine
// keeps the spelling a key or folder was created with (Wine's "C:\\windows",
// an image's "C:\\WINDOWS").
void ExpectSameEvents(const std::string& imageDir, const std::string& wineOutDir, const std::string& simOutDir);

// The changes a real run was refused (its log's "# failed" notes, with the
// Windows errors) are those purgent-sim, run on the image with the same
// arguments and saving into simOutDir, notes in its own log; not none.
void ExpectSameFailures(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                        const std::string& wineLog, const std::string& simOutDir);

// The two cleaned registries agree on every key and value the seeded image
// names (a snapshot reads more than that: whatever Wine keeps below them).
void ExpectSameOnNamedData(const image::RegistryKeys& seeded, const image::RegistryKeys& real,
                           const image::RegistryKeys& simulated, const std::string& who);

}  // namespace purgent::e2e
