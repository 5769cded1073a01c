#pragma once
// Finding the run logs under the paths given and reading each one.
#include <filesystem>
#include <string>
#include <vector>

#include "run_record.h"

namespace purgent::fleet {

struct Collected {
    std::vector<LogRecord> logs;      // every file read, run log or not
    std::vector<std::string> errors;  // paths that could not be looked at, with why
};

// Each path a file (read whatever its name) or a folder searched for `*.log`
// files, subfolders included; a link to a folder is not followed.
Collected CollectLogs(const std::vector<std::filesystem::path>& paths);

// One file: read whole when it starts as a run log, else no further than its
// first block.
LogRecord ReadLogFile(const std::filesystem::path& path);

// Whether an existing file starts as a run log (and so must not be written over).
bool IsRunLogFile(const std::filesystem::path& path);

}  // namespace purgent::fleet
