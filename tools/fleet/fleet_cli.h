#pragma once
// purgent-fleet [--html FILE] [--csv FILE] PATH...: its command line and run.
#include <ostream>
#include <string>
#include <vector>

namespace purgent::fleet {

constexpr int kExitAllClean = 0;     // every log a completed run without a `# failed` note
constexpr int kExitAttention = 1;    // a machine needs attention
constexpr int kExitUsage = 64;       // the command line is wrong, or an output file cannot be written
constexpr int kExitNoLog = 65;       // no path holds a readable run log

// The whole program: its arguments (after its name, UTF-8), the summary to
// `out`, messages to `err`. Returns the exit status.
int RunFleet(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace purgent::fleet
