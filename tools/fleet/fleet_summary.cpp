#include "fleet_summary.h"

#include <algorithm>

#include "machines.h"

namespace purgent::fleet {
namespace {

std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

void WriteOutcomes(std::ostream& out, const Tally& tally) {
    out << "Runs per outcome (the last run of each log):\n";
    for (std::size_t i = 0; i < std::size(tally.perOutcome); ++i)
        out << "  " << Padded(OutcomeName(static_cast<Outcome>(i)), 22) << tally.perOutcome[i] << '\n';
    out << "  " << Padded("with failed notes", 22) << tally.withFailedNotes << '\n'
        << "  " << Padded("restart pending", 22) << tally.restartPending << '\n';
}

void WriteAttention(std::ostream& out, const std::vector<Machine>& machines) {
    std::size_t width = 0;
    const auto end = std::find_if(machines.begin(), machines.end(),
                                  [](const Machine& m) { return !m.verdict.needsAttention; });
    if (end == machines.begin()) {
        out << "No machine needs attention.\n";
        return;
    }
    for (auto m = machines.begin(); m != end; ++m) width = std::max(width, m->computer.size());
    out << "Machines that need attention (" << (end - machines.begin()) << "), most first:\n";
    for (auto m = machines.begin(); m != end; ++m)
        out << "  " << Padded(m->computer, width) << "  " << StateText(*m) << "  [" << m->log->path << "]\n";
}

}  // namespace

void WriteSummary(std::ostream& out, const std::vector<LogRecord>& logs) {
    const std::vector<Machine> machines = MachinesInOrder(logs);
    const std::vector<const LogRecord*> files = FilesNotRead(logs);
    const Tally tally = Count(machines);
    out << "purgent-fleet: " << TotalsText(tally, machines.size(), files.size()) << '\n';
    WriteOutcomes(out, tally);
    WriteAttention(out, machines);
    if (!files.empty()) out << "Files that are not run logs:\n";
    for (const LogRecord* file : files) out << "  " << file->path << ": " << file->problem << '\n';
}

}  // namespace purgent::fleet
