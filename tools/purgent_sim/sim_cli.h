#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace purgent::sim {

// The options of purgent-sim (see SimCliUsage).
struct SimCliOptions {
    std::optional<std::string> machineDir;
    std::optional<std::string> saveDir;
    std::optional<std::string> traceFile;
    std::optional<std::string> reportFile;   // an HTML page of the run
    std::optional<std::string> commandLine;   // raw, without the program name
    std::optional<std::string> cutAfter;      // a number of changes, 1 or more
    bool summary = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> purgentArguments;
};

constexpr const char* SimCliUsage =
    "purgent-sim [--machine DIR] [--save DIR] [--trace FILE] [--summary] [--report FILE.html] "
    "[--cut-after N] [--command-line TEXT] [--] [purgent arguments...]\n"
    "purgent-sim --help\n"
    "purgent-sim --version\n";

// What --help prints: the usage, every option, the exit statuses, examples.
extern const char* const SimCliHelp;

// Exit statuses of purgent-sim itself; below 64 it passes Purgent's on.
constexpr int ExitUsage = 64;
constexpr int ExitBadImage = 65;
constexpr int ExitInternal = 70;
constexpr int ExitCannotWrite = 73;

// Up to "--", every argument that begins with "--" is an option (a value
// option as "--name VALUE" or "--name=VALUE"), every other one Purgent's;
// after "--" all are Purgent's. "-h" alone is --help. Throws SimCliError on a
// usage error.
SimCliOptions ParseSimCli(const std::vector<std::string>& args);

struct SimCliError {
    std::string message;
};

// The whole of purgent-sim: parses args (without the program name), loads
// the image, runs Purgent, writes the summary or else, without --report,
// the trace to out, the trace also to the --trace file, the page to the
// --report file, and saves the image. Messages about
// purgent-sim's own failures go to err. Returns the exit status.
int RunSimCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace purgent::sim
