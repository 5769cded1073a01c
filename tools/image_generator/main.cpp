// purgent-generate-image OUT-DIR [--footprint DIR] [--profiles N]
//   [--keys-per-hive K] [--bystander-keys B] [--components C]
// Writes a large machine image: the footprint image (default: the demo
// workstation) with other programs' keys, profiles and installer components
// on top. The same arguments always give the same image.
#include <cstdio>
#include <map>
#include <string>

#include "image_generator.h"

namespace {

int Usage(const std::string& problem) {
    std::fprintf(stderr,
                 "purgent-generate-image: %s\n"
                 "usage: purgent-generate-image OUT-DIR [--footprint DIR] [--profiles N] [--keys-per-hive K]\n"
                 "       [--bystander-keys B] [--components C]\n",
                 problem.c_str());
    return 64;
}

bool ReadCount(const std::string& text, int& count) {
    if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    count = std::stoi(text);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
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
        const auto image = purgent::generator::GenerateImage(purgent::image::LoadMachineImage(footprint), sizes);
        purgent::image::SaveMachineImage(image, out);
    } catch (const purgent::image::ImageError& error) {
        std::fprintf(stderr, "purgent-generate-image: %s\n", error.what());
        return 65;
    }
    return 0;
}
