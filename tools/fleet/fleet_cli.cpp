#include "fleet_cli.h"

#include <fstream>
#include <optional>

#include "fleet_csv.h"
#include "fleet_page.h"
#include "fleet_summary.h"
#include "log_files.h"
#include "machines.h"
#include "path_text.h"

namespace purgent::fleet {
namespace {

constexpr const char* kUsage =
    "usage: purgent-fleet [--html FILE] [--csv FILE] PATH...\n"
    "       purgent-fleet --help\n";
constexpr const char* kHelp =
    "Reads Purgent's run logs (/log=) of many machines: each PATH a log file or a\n"
    "folder searched for *.log files, subfolders included. Prints how the runs\n"
    "ended and the machines that need attention, most first; one row per log,\n"
    "judged by the last run in it.\n"
    "  --html FILE  the report as one HTML page, a drill-down per machine\n"
    "  --csv FILE   the report as CSV, one header line\n"
    "  --           what follows is a PATH, even when it starts with --\n"
    "Exit status: 0 every log is a completed run without a failed note; 1 a\n"
    "machine needs attention; 64 a usage error or an output file that cannot be\n"
    "written; 65 no PATH holds a readable run log.\n";

struct Options {
    std::string html, csv;
    std::vector<std::string> paths;
    bool help = false;
};

// The options, or nothing with `problem` saying what is wrong.
std::optional<Options> Parse(const std::vector<std::string>& args, std::string& problem) {
    Options options;
    bool pathsOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (pathsOnly || !arg.starts_with("--")) {
            options.paths.push_back(arg);
        } else if (arg == "--") {
            pathsOnly = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg == "--html" || arg == "--csv") {
            std::string& file = arg == "--html" ? options.html : options.csv;
            if (!file.empty()) problem = arg + " is given twice";
            else if (i + 1 == args.size() || args[i + 1].empty()) problem = arg + " needs a FILE";
            else file = args[++i];
            if (!problem.empty()) return std::nullopt;
        } else {
            problem = "unknown option " + arg;
            return std::nullopt;
        }
    }
    if (!options.help && options.paths.empty()) problem = "no PATH given";
    if (!options.html.empty() && options.html == options.csv) problem = "--html and --csv name the same file";
    if (!problem.empty()) return std::nullopt;
    return options;
}

// Opens an output file named on the command line; false, with a message, when
// it cannot be, or when it is a run log that would be lost.
bool Open(std::ofstream& file, const std::string& name, std::ostream& err) {
    const std::filesystem::path path = PathFromUtf8(name);
    if (IsRunLogFile(path)) {
        err << "purgent-fleet: " << name << " is a run log; the report is not written over it\n";
        return false;
    }
    file.open(path, std::ios::binary | std::ios::trunc);
    if (!file) err << "purgent-fleet: cannot create " << name << '\n';
    return file.is_open();
}

bool Written(std::ofstream& file, const std::string& name, std::ostream& err) {
    if (!file.is_open() || file.flush()) return true;
    err << "purgent-fleet: cannot write " << name << '\n';
    return false;
}

}  // namespace

int RunFleet(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<Options> options = Parse(args, problem);
    if (!options) {
        err << "purgent-fleet: " << problem << '\n' << kUsage;
        return kExitUsage;
    }
    if (options->help) {
        out << kUsage << kHelp;
        return kExitAllClean;
    }
    std::ofstream html, csv;
    if ((!options->html.empty() && !Open(html, options->html, err)) ||
        (!options->csv.empty() && !Open(csv, options->csv, err)))
        return kExitUsage;

    std::vector<std::filesystem::path> paths;
    for (const std::string& path : options->paths) paths.push_back(PathFromUtf8(path));
    const Collected collected = CollectLogs(paths);
    for (const std::string& error : collected.errors) err << "purgent-fleet: " << error << '\n';

    WriteSummary(out, collected.logs);
    if (html.is_open()) WritePage(html, collected.logs);
    if (csv.is_open()) WriteCsv(csv, collected.logs);
    if (!Written(html, options->html, err) || !Written(csv, options->csv, err)) return kExitUsage;

    const std::vector<Machine> machines = MachinesInOrder(collected.logs);
    if (machines.empty()) {
        err << "purgent-fleet: no readable run log under the paths given\n";
        return kExitNoLog;
    }
    return Count(machines).attention > 0 ? kExitAttention : kExitAllClean;
}

}  // namespace purgent::fleet
