// purgent-bench [IMAGE-DIR...]: how long the simulator takes. For each image
// (default: the bare workstation and tests/data/machinewide), reports the
// median and best of repeated
//   - full runs: a new simulated machine, then the whole program with default
//     options (Interactive: Clean pressed once, window closed);
//   - registry phases: the per-user and the four machine-wide catalogues
//     alone, on a fresh machine, after discovery.
// Machine building and image loading are timed apart. Not a test: figures only.
// purgent-bench --series: the cost on generated images of growing size (series.h).
// purgent-bench --fleet: purgent-fleet on 1,000 logs of the demo's size (fleet_bench.h).
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/cleaning_run.h"
#include "app/main_form.h"
#include "discovery/discovery.h"
#include "files/file_access.h"
#include "image/machine_image.h"
#include "purgent_sim/run_purgent.h"
#include "purgent_sim/sim_form_view.h"
#include "platform/sim/sim_machine.h"
#include "purgent_sim/sim_status_view.h"
#include "registry/machinewide_registry.h"
#include "registry/user_registry_catalogue.h"
#include "fleet_bench.h"
#include "measure.h"
#include "series.h"

namespace {

using purgent::bench::Figures;
using purgent::image::MachineImage;
using purgent::sim::SimMachine;

constexpr int kRounds = 50;

Figures Measure(const std::function<void()>& prepare, const std::function<void()>& timed) {
    return purgent::bench::Measure(kRounds, prepare, timed);
}

void RunRegistryPhases(SimMachine& machine) {
    purgent::sim::SimStatusView view(machine.Trace());
    purgent::StatusReporter status(view, machine.GetPlatform().cursor);
    purgent::RegistryAccess access(machine.GetPlatform().registry, status, machine.GetPlatform().environment);
    purgent::FileAccess files(machine.GetPlatform(), status);
    purgent::sim::SimFormView formView;
    purgent::ProcessState process;
    const purgent::MainForm options(formView, machine.GetPlatform().messages, process);  // the default boxes
    purgent::RunContext ctx{machine.GetPlatform(), status, access, files, options, process, {}, {}, {}};
    purgent::DiscoverLocations(ctx);
    for (purgent::PhaseStep step :
         {purgent::CleanUserRegistry, purgent::CleanClassRegistrations, purgent::CleanApplicationEntries,
          purgent::CleanWebServicesEntries, purgent::CleanClassesRoot})
        step(ctx);
}

void Report(const char* what, const Figures& figures) {
    std::printf("  %-34s median %8.3f ms   best %8.3f ms\n", what, figures.median, figures.best);
}

void Bench(const std::string& label, const std::string& dir) {
    std::printf("%s\n", label.c_str());
    MachineImage image;  // no folder: the bare workstation
    if (!dir.empty()) Report("load image", Measure([] {}, [&] { image = purgent::image::LoadMachineImage(dir); }));

    std::unique_ptr<SimMachine> machine;
    Report("build machine",
           Measure([&] { machine.reset(); }, [&] { machine = std::make_unique<SimMachine>(image); }));
    Report("full default run", Measure([&] { machine = std::make_unique<SimMachine>(image); },
                                       [&] { purgent::sim::RunPurgentOnSim(*machine, {}); }));
    Report("registry phases (discovery incl.)",
           Measure([&] { machine = std::make_unique<SimMachine>(image); },
                   [&] { RunRegistryPhases(*machine); }));
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> dirs(argv + 1, argv + argc);
    if (dirs == std::vector<std::string>{"--series"}) {
        purgent::bench::BenchSeries();
        return 0;
    }
    if (dirs == std::vector<std::string>{"--fleet"}) {
        purgent::bench::BenchFleet();
        return 0;
    }
    if (dirs.empty()) dirs = {"", PURGENT_TEST_DATA "/machinewide"};
    std::printf("%d rounds each\n", kRounds);
    for (const std::string& dir : dirs)
        Bench(dir.empty() ? "bare workstation (no image)" : dir, dir);
    return 0;
}
