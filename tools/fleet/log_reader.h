#pragma once
#include <string>
#include <string_view>

#include "run_record.h"

namespace purgent::fleet {

// Reads a run log's text into its runs. A text whose first line does not
// start a run is not a run log and is read no further. Lines it does not know
// (an event or a `#` line of a later version) are passed over or kept as
// other notes; CR LF line ends and a UTF-8 byte-order mark, as an editor may
// leave them, are taken as LF and nothing.
LogRecord ReadRunLog(std::string_view text, std::string path);

// Whether a text (or its first block) begins as a run log does.
bool StartsAsRunLog(std::string_view text);

}  // namespace purgent::fleet
