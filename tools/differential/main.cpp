// purgent-machine-diff IMAGE WINE-BEFORE WINE-AFTER SIM-AFTER [WINE-LOG SIM-LOG]
// Prints one line per difference between the machine the real program left
// under Wine and the one purgent-sim left, both started from IMAGE, and on
// stderr the lines a rule sets apart as a property of Wine; exit status 0
// when there is no difference, 1 when there are, 65 for an unreadable image.
// With the two run logs, their events are compared too, and the last lines
// on stderr say how many status-bar events were compared and whether the
// status bar was (both logs have events).
#include <cstdio>
#include <string>

#include "image/ansi_text.h"
#include "log_diff.h"
#include "machine_diff.h"
#include "read_text.h"

int main(int argc, char** argv) {
    if (argc != 5 && argc != 7) {
        std::fprintf(stderr, "usage: purgent-machine-diff IMAGE WINE-BEFORE WINE-AFTER SIM-AFTER [WINE-LOG SIM-LOG]\n");
        return 64;
    }
    try {
        using purgent::image::LoadMachineImage;
        const purgent::differential::Machines machines{LoadMachineImage(argv[1]), LoadMachineImage(argv[2]),
                                                       LoadMachineImage(argv[3]), LoadMachineImage(argv[4])};
        const bool logs = argc == 7;
        const std::string wineLog = logs ? purgent::differential::ReadText(argv[5]) : "", simLog = logs ? purgent::differential::ReadText(argv[6]) : "";
        auto findings = purgent::differential::Differences(machines, {wineLog, simLog});
        const std::size_t statusCompared =
            logs ? purgent::differential::CompareLogs(wineLog, simLog, machines.generated, findings) : 0;
        // A run that ended before the status bar showed anything (an error
        // in discovery) is compared all the same: neither side has one.
        const bool statusBarCompared =
            purgent::differential::HasEvents(wineLog) && purgent::differential::HasEvents(simLog);
        for (const std::string& line : findings.Differences())
            std::printf("%s\n", purgent::image::AnsiToUtf8(line).c_str());
        for (const std::string& line : findings.Excluded())
            std::fprintf(stderr, "excluded: %s\n", purgent::image::AnsiToUtf8(line).c_str());
        if (logs) {
            std::fprintf(stderr, "status-bar events compared: %zu\n", statusCompared);
            std::fprintf(stderr, "status bar: %s\n", statusBarCompared ? "compared" : "not compared");
        }
        return findings.Differences().empty() ? 0 : 1;
    } catch (const purgent::image::ImageError& error) {
        std::fprintf(stderr, "purgent-machine-diff: %s\n", error.what());
        return 65;
    }
}
