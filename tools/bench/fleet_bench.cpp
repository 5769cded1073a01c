#include "fleet_bench.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fleet/fleet_cli.h"
#include "fleet/log_files.h"
#include "image/machine_image.h"
#include "measure.h"
#include "purgent_sim/run_purgent.h"

namespace purgent::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kLogs = 1000;
constexpr int kRounds = 20;

std::string DemoRunLog() {
    sim::SimMachine machine{image::LoadMachineImage(PURGENT_DEMO_IMAGE)};
    sim::RunPurgentOnSimCommandLine(machine, "/sn /log=C:\\purgent.log");
    const image::DriveItem* log = machine.Drive().Find("C:\\purgent.log");
    return std::string(log->contents.begin(), log->contents.end());
}

// The logs, each named after its computer; their bytes in all.
std::size_t WriteFleet(const fs::path& logs) {
    const std::string log = DemoRunLog();
    const std::string computerLine = "# computer: SIMULATED\n";
    const std::size_t at = log.find(computerLine);
    std::size_t bytes = 0;
    for (int i = 0; i < kLogs; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "PC%04d", i);
        const fs::path folder = logs / ("site-" + std::to_string(i % 10));
        fs::create_directories(folder);
        std::string text = log;
        text.replace(at, computerLine.size(), std::string("# computer: ") + name + "\n");
        std::ofstream(folder / (std::string(name) + ".log"), std::ios::binary) << text;
        bytes += text.size();
    }
    return bytes;
}

void Report(const char* what, const Figures& figures) {
    std::printf("  %-40s median %8.1f ms   best %8.1f ms\n", what, figures.median, figures.best);
}

}  // namespace

void BenchFleet() {
    std::string pattern = (fs::temp_directory_path() / "purgent-bench-fleet-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return;
    }
    const fs::path dir = pattern;
    const std::size_t bytes = WriteFleet(dir / "logs");
    std::printf("purgent-fleet on %d logs of the demo's run, %.1f MB in all; %d rounds each\n", kLogs,
                static_cast<double>(bytes) / 1e6, kRounds);
    Report("read every log", Measure(kRounds, [] {}, [&] { fleet::CollectLogs({dir / "logs"}); }));
    std::ostringstream summary, messages;
    Report("whole report (summary, CSV, page)", Measure(kRounds, [] {}, [&] {
               fleet::RunFleet({"--csv", (dir / "fleet.csv").string(), "--html", (dir / "fleet.html").string(),
                                (dir / "logs").string()},
                               summary, messages);
           }));
    fs::remove_all(dir);
}

}  // namespace purgent::bench
