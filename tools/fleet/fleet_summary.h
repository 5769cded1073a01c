#pragma once
#include <ostream>
#include <vector>

#include "run_record.h"

namespace purgent::fleet {

// The report in a few lines for the console: how many machines' runs ended
// how, then each machine that needs attention, most first, then the files
// that are not run logs.
void WriteSummary(std::ostream& out, const std::vector<LogRecord>& logs);

}  // namespace purgent::fleet
