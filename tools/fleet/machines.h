#pragma once
// The report's rows: one machine per run log, judged by its last run, in the
// order that puts the machines needing attention first.
#include <string>
#include <vector>

#include "run_record.h"
#include "verdict.h"

namespace purgent::fleet {

struct Machine {
    const LogRecord* log;
    const RunRecord* run;  // the last run of the log: the machine's state
    Verdict verdict;
    std::string computer;
};

// The run logs among `logs`, most attention first, then by computer and file.
std::vector<Machine> MachinesInOrder(const std::vector<LogRecord>& logs);
// The files that are not run logs (or could not be read), by path.
std::vector<const LogRecord*> FilesNotRead(const std::vector<LogRecord>& logs);
// The machines counted: per outcome (by Outcome's value), the runs of their
// logs, and those that need attention, have failed notes, wait for a restart.
struct Tally {
    std::size_t perOutcome[kOutcomes] = {};
    std::size_t runs = 0, attention = 0, withFailedNotes = 0, restartPending = 0;
};
Tally Count(const std::vector<Machine>& machines);
// "3 run logs (4 runs), 1 other file".
std::string TotalsText(const Tally& tally, std::size_t machines, std::size_t otherFiles);

// A machine's state in a few words: the outcome, its failed notes, a restart
// pending, the remark.
std::string StateText(const Machine& machine);
// "1 run", "2 runs".
std::string Plural(std::size_t count, const std::string& one, const std::string& many);
// The header's computer name, or the file's name without its extension.
std::string ComputerOf(const LogRecord& log);

}  // namespace purgent::fleet
