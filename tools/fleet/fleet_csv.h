#pragma once
#include <ostream>
#include <vector>

#include "run_record.h"

namespace purgent::fleet {

// The report as CSV (RFC 4180: CR LF between records, a field holding a
// comma, a quote or a line break quoted, its quotes doubled), one header
// line, then one row per machine in the report's order and one per file that
// is not a run log.
void WriteCsv(std::ostream& out, const std::vector<LogRecord>& logs);

}  // namespace purgent::fleet
