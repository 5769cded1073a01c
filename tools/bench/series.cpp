#include "series.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "image_generator.h"
#include "purgent_sim/run_purgent.h"

namespace purgent::bench {
namespace {

using Clock = std::chrono::steady_clock;
using generator::ImageSizes;

constexpr int kRounds = 5;

struct Step {
    const char* varies;
    ImageSizes sizes;
};

// One dimension at a time grows from the same base; the last machine has
// everything at once: 500,000 keys and 40 profiles.
const Step kSeries[] = {
    {"base", {5, 1000, 10000, 5000}},
    {"components", {5, 1000, 10000, 25000}},
    {"components", {5, 1000, 10000, 105000}},
    {"bystander keys", {5, 1000, 50000, 5000}},
    {"bystander keys", {5, 1000, 210000, 5000}},
    {"keys per hive", {5, 5000, 10000, 5000}},
    {"keys per hive", {5, 21000, 10000, 5000}},
    {"profiles", {10, 1000, 10000, 5000}},
    {"profiles", {20, 1000, 10000, 5000}},
    {"profiles", {40, 1000, 10000, 5000}},
    {"everything", {40, 5000, 200000, 100000}},
};

struct Row {
    double loadMs = 0;
    double runMs = 0;
    long peakKb = 0;
};

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

long Keys(const ImageSizes& s) { return s.bystanderKeys + s.components + long(s.profiles) * s.keysPerHive; }

// Runs `work` in a child process; returns its peak memory in KB, or 0 when
// it failed. The child reports its figures through the pipe given to `work`.
template <class Work>
long InChild(Work work, Row& row) {
    int channel[2];
    if (pipe(channel) != 0) return 0;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        work(channel[1]);
        std::_Exit(0);
    }
    close(channel[1]);
    const bool got = read(channel[0], &row, sizeof row) == sizeof row;
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return got ? usage.ru_maxrss : 0;
}

void Send(int out, const Row& row) {
    if (write(out, &row, sizeof row) != sizeof row) std::_Exit(1);
}

// The image is generated and written by one child; another takes the
// medians of reading it, and of building a machine from it and a default
// /sn run.
Row Measure(const ImageSizes& sizes) {
    const std::string dir = "/tmp/purgent-bench-series-" + std::to_string(getpid());
    Row row;
    const bool generated = InChild([&](int out) {
        const image::MachineImage footprint = image::LoadMachineImage(PURGENT_DEMO_IMAGE);
        image::SaveMachineImage(generator::GenerateImage(footprint, sizes), dir);
        Send(out, row);
    }, row) != 0;
    row.peakKb = generated ? InChild([&](int out) {
        std::vector<double> loads, runs;
        for (int round = 0; round < kRounds; ++round) {
            const Clock::time_point start = Clock::now();
            const image::MachineImage loaded = image::LoadMachineImage(dir);
            loads.push_back(Milliseconds(start));
            const Clock::time_point begin = Clock::now();
            sim::SimMachine machine(loaded);
            sim::RunPurgentOnSim(machine, {"/sn"});
            runs.push_back(Milliseconds(begin));
        }
        row.loadMs = Median(loads);
        row.runMs = Median(runs);
        Send(out, row);
    }, row) : 0;
    std::filesystem::remove_all(dir);
    if (row.peakKb == 0) std::fprintf(stderr, "purgent-bench: the measurement failed\n"), std::exit(1);
    return row;
}

}  // namespace

void BenchSeries() {
    std::printf("| varies | profiles | keys/hive | bystander keys | components | keys | load | /sn run | peak memory "
                "| run per added key | run per added profile |\n|---|---|---|---|---|---|---|---|---|---|---|\n");
    Row base;
    for (const Step& step : kSeries) {
        const ImageSizes& s = step.sizes;
        const Row row = Measure(s);
        if (&step == kSeries) base = row;
        const ImageSizes& b = kSeries[0].sizes;
        const long addedKeys = Keys(s) - Keys(b);
        const int addedProfiles = s.profiles - b.profiles;
        // Where more than the profiles grows, the added profiles' keys count as keys.
        const bool onlyProfiles = addedProfiles && addedKeys == long(addedProfiles) * b.keysPerHive;
        char perKey[32] = "", perProfile[32] = "";
        if (addedKeys && !onlyProfiles)
            std::snprintf(perKey, sizeof perKey, "%.2f µs", 1000 * (row.runMs - base.runMs) / addedKeys);
        if (onlyProfiles)
            std::snprintf(perProfile, sizeof perProfile, "%.1f ms", (row.runMs - base.runMs) / addedProfiles);
        std::printf("| %s | %d | %d | %d | %d | %ld | %.0f ms | %.0f ms | %.0f MB | %s | %s |\n", step.varies,
                    s.profiles, s.keysPerHive, s.bystanderKeys, s.components, Keys(s), row.loadMs, row.runMs,
                    row.peakKb / 1024.0, perKey, perProfile);
        std::fflush(stdout);
    }
}

}  // namespace purgent::bench
