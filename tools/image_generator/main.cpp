// purgent-generate-image OUT-DIR [--footprint DIR] [--profiles N]
//   [--keys-per-hive K] [--bystander-keys B] [--components C]
// Writes a large machine image: the footprint image (default: the demo
// workstation) with other programs' keys, profiles and installer components
// on top. The same arguments always give the same image.
// purgent-generate-image --random SEED OUT-DIR
// Writes a random workstation drawn from SEED (a decimal number).
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "image/ansi_text.h"
#include "image_generator.h"
#include "random_workstation.h"

namespace {

int Usage(const std::string& problem) {
    std::fprintf(stderr,
                 "purgent-generate-image: %s\n"
                 "usage: purgent-generate-image OUT-DIR [--footprint DIR] [--profiles N] [--keys-per-hive K]\n"
                 "       [--bystander-keys B] [--components C]\n"
                 "       purgent-generate-image --random SEED OUT-DIR\n",
                 problem.c_str());
    return 64;
}

int WriteImage(const purgent::image::MachineImage& image, const std::string& out) {
    try {
        purgent::image::SaveMachineImage(image, out);
    } catch (const purgent::image::ImageError& error) {
        std::fprintf(stderr, "purgent-generate-image: %s\n", error.what());
        return 65;
    }
    return 0;
}

// The image, and beside it bystanders.txt: "file<TAB>path" lines, as the
// demo workstation lists its bystanders.
int WriteRandom(const std::string& seed, const std::string& out) {
    if (seed.empty() || seed.size() > 19 || seed.find_first_not_of("0123456789") != std::string::npos)
        return Usage("not a seed: " + seed);
    const purgent::generator::RandomMachine machine = purgent::generator::RandomWorkstation(std::stoull(seed));
    if (const int status = WriteImage(machine.image, out)) return status;
    std::ofstream list(out + "/bystanders.txt", std::ios::binary);
    list << "# Users' and other programs' files: a run must keep every one unchanged.\n";
    for (const std::string& path : machine.bystanders) list << "file\t" << purgent::image::AnsiToUtf8(path) << "\n";
    return list ? 0 : 74;
}

bool ReadCount(const std::string& text, int& count) {
    if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    count = std::stoi(text);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && argv[1] == std::string("--random")) {
        if (argc != 4) return Usage("--random takes a seed and an output folder");
        return WriteRandom(argv[2], argv[3]);
    }
    purgent::generator::ImageSizes sizes;
    const std::map<std::string, int*> counts{{"--profiles", &sizes.profiles},
                                             {"--keys-per-hive", &sizes.keysPerHive},
                                             {"--bystander-keys", &sizes.bystanderKeys},
                                             {"--components", &sizes.components}};
    std::string footprint = PURGENT_DEMO_IMAGE;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            if (!out.empty()) return Usage("more than one output folder");
            out = arg;
            continue;
        }
        if (i + 1 == argc) return Usage("option " + arg + " needs a value");
        const std::string value = argv[++i];
        const auto count = counts.find(arg);
        if (arg == "--footprint") footprint = value;
        else if (count == counts.end()) return Usage("unknown option " + arg);
        else if (!ReadCount(value, *count->second)) return Usage("not a count: " + arg + " " + value);
    }
    if (out.empty()) return Usage("no output folder");
    try {
        return WriteImage(purgent::generator::GenerateImage(purgent::image::LoadMachineImage(footprint), sizes), out);
    } catch (const purgent::image::ImageError& error) {
        std::fprintf(stderr, "purgent-generate-image: %s\n", error.what());
        return 65;
    }
}
