#pragma once
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace purgent::sim {

// A short account of a run for the administrator about to run Purgent on the
// real machine, made from its trace lines alone so that it can never disagree
// with the trace: what discovery found, the processes, how many registry keys,
// values, files, folders and DLL registrations went or changed, in all and
// per hive, then the lists. killResult words a kill event's result code.
void WriteTraceSummary(const std::vector<std::string>& traceLines,
                       const std::function<std::string(int)>& killResult, std::ostream& out);

}  // namespace purgent::sim
