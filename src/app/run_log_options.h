#pragma once
#include <string>

#include "run/run_options.h"

namespace purgent {

// The options as the run log's header names them: the mode ("Interactive",
// "/s", "/sn", "/sp"), then each checked box by its caption in the window,
// e.g. "/sn; Remove GroupWise Client, Remove Files".
std::string RunLogOptions(const RunOptions& options, SilentMode mode);

}  // namespace purgent
