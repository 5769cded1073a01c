// purgent-machine-diff IMAGE WINE-BEFORE WINE-AFTER SIM-AFTER
// Prints one line per difference between the machine the real program left
// under Wine and the one purgent-sim left, both started from IMAGE, and on
// stderr the lines a rule sets apart as a property of Wine; exit status 0
// when there is no difference, 1 when there are, 65 for an unreadable image.
#include <cstdio>
#include <string>

#include "image/ansi_text.h"
#include "machine_diff.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: purgent-machine-diff IMAGE WINE-BEFORE WINE-AFTER SIM-AFTER\n");
        return 64;
    }
    try {
        using purgent::image::LoadMachineImage;
        const purgent::differential::Machines machines{LoadMachineImage(argv[1]), LoadMachineImage(argv[2]),
                                                       LoadMachineImage(argv[3]), LoadMachineImage(argv[4])};
        const auto findings = purgent::differential::Differences(machines);
        for (const std::string& line : findings.Differences())
            std::printf("%s\n", purgent::image::AnsiToUtf8(line).c_str());
        for (const std::string& line : findings.Excluded())
            std::fprintf(stderr, "excluded: %s\n", purgent::image::AnsiToUtf8(line).c_str());
        return findings.Differences().empty() ? 0 : 1;
    } catch (const purgent::image::ImageError& error) {
        std::fprintf(stderr, "purgent-machine-diff: %s\n", error.what());
        return 65;
    }
}
