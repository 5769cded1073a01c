// purgent-diff-coverage SEED-DIR...
// For the seed folders of a differential run (each with its image and
// purgent-sim's traces sim-SET.trace), one line per seed with how often it
// exercises each feature, then a table of the seeds exercising each one:
// the seeds CI runs must leave no row empty.
#include <cstdio>
#include <filesystem>
#include <string>

#include "coverage.h"
#include "read_text.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using purgent::differential::CoverageRows;
    if (argc < 2) {
        std::fprintf(stderr, "usage: purgent-diff-coverage SEED-DIR...\n");
        return 64;
    }
    std::map<std::string, std::string> seedsOf;
    try {
        for (int i = 1; i < argc; ++i) {
            const fs::path dir = argv[i];
            std::vector<std::string> traces;
            for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
                const std::string name = entry.path().filename().string();
                if (name.rfind("sim-", 0) == 0 && name.size() > 6 && name.find("-open") == std::string::npos &&
                    entry.path().extension() == ".trace")
                    traces.push_back(purgent::differential::ReadText(entry.path().string()));
            }
            const auto count = purgent::differential::CoverageOf(purgent::image::LoadMachineImage((dir / "image").string()), traces);
            const std::string seed = dir.filename().string();
            std::string line = seed + ":";
            for (const std::string& row : CoverageRows()) {
                line += " " + row + " " + std::to_string(count.at(row)) + ";";
                if (count.at(row)) seedsOf[row] += " " + seed.substr(seed.find('-') + 1);
            }
            std::printf("%s\n", line.c_str());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "purgent-diff-coverage: %s\n", error.what());
        return 65;
    }
    std::printf("\n| feature | seeds exercising it |\n|---|---|\n");
    for (const std::string& row : CoverageRows())
        std::printf("| %s | %s |\n", row.c_str(), seedsOf[row].empty() ? "none" : seedsOf[row].c_str() + 1);
    return 0;
}
