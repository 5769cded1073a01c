#pragma once
// How a run ended, as the report names it, and how much it needs attention.
#include <string>

#include "run_record.h"

namespace purgent::fleet {

// In the order the report lists machines: those that need attention most first.
enum class Outcome { Interrupted, Error, Halted, InvalidCommandLine, Completed };
constexpr std::size_t kOutcomes = 5;

struct Verdict {
    Outcome outcome;
    bool restartPending;  // files wait for the next restart to go
    bool needsAttention;  // anything but a completed run without failed notes or a restart pending
    int rank;             // the listing order: 0 interrupted ... 4 completed needing attention, 5 clean
    // What the run was at when it halted, failed or was cut off, or what else
    // to know of it; "" when the outcome says it all.
    std::string remark;
};

Verdict Judge(const RunRecord& run);
// `completed`, `halted`, `error`, `invalid command line`, `interrupted`.
const char* OutcomeName(Outcome outcome);

}  // namespace purgent::fleet
