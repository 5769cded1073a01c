#include "machines.h"

#include <algorithm>
#include <tuple>

#include "image/ansi_text.h"
#include "path_text.h"

namespace purgent::fleet {
namespace {

std::string Folded(std::string text) {
    for (char& c : text) c = image::FoldCase(c);
    return text;
}

}  // namespace

std::string Plural(std::size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

Tally Count(const std::vector<Machine>& machines) {
    Tally tally;
    for (const Machine& m : machines) {
        ++tally.perOutcome[static_cast<std::size_t>(m.verdict.outcome)];
        tally.runs += m.log->runs.size();
        tally.attention += m.verdict.needsAttention;
        tally.withFailedNotes += !m.run->failed.empty();
        tally.restartPending += m.verdict.restartPending;
    }
    return tally;
}

std::string TotalsText(const Tally& tally, std::size_t machines, std::size_t otherFiles) {
    return Plural(machines, "run log", "run logs") + " (" + Plural(tally.runs, "run", "runs") + "), " +
           Plural(otherFiles, "other file", "other files");
}

std::string StateText(const Machine& machine) {
    std::string text = OutcomeName(machine.verdict.outcome);
    if (!machine.run->failed.empty()) text += ", " + Plural(machine.run->failed.size(), "failed note", "failed notes");
    if (machine.verdict.restartPending) text += ", restart pending";
    if (!machine.verdict.remark.empty()) text += ": " + machine.verdict.remark;
    return text;
}

std::string ComputerOf(const LogRecord& log) {
    const std::string computer = log.runs.empty() ? "" : log.runs.back().Field("computer");
    return computer.empty() ? Utf8Of(PathFromUtf8(log.path).stem()) : computer;
}

std::vector<Machine> MachinesInOrder(const std::vector<LogRecord>& logs) {
    std::vector<Machine> machines;
    for (const LogRecord& log : logs)
        if (log.problem.empty())
            machines.push_back({&log, &log.runs.back(), Judge(log.runs.back()), ComputerOf(log)});
    const auto key = [](const Machine& m) { return std::tuple(m.verdict.rank, Folded(m.computer), m.log->path); };
    std::sort(machines.begin(), machines.end(), [&](const Machine& a, const Machine& b) { return key(a) < key(b); });
    return machines;
}

std::vector<const LogRecord*> FilesNotRead(const std::vector<LogRecord>& logs) {
    std::vector<const LogRecord*> files;
    for (const LogRecord& log : logs)
        if (!log.problem.empty()) files.push_back(&log);
    std::sort(files.begin(), files.end(), [](const LogRecord* a, const LogRecord* b) { return a->path < b->path; });
    return files;
}

}  // namespace purgent::fleet
