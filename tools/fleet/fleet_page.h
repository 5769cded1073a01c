#pragma once
#include <ostream>
#include <vector>

#include "run_record.h"

namespace purgent::fleet {

// The report as one self-contained HTML page: the outcomes counted, one row
// per machine (those that need attention first) with a drill-down of what
// failed, what was kept, what waits for a restart and every run of its log,
// then the files that are not run logs. Everything from the logs is escaped;
// the page needs no script (a small one sorts by a column's title).
void WritePage(std::ostream& out, const std::vector<LogRecord>& logs);

}  // namespace purgent::fleet
