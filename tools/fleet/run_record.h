#pragma once
// What purgent-fleet reads out of a run log: per run its header, what it
// changed, counted per kind, and its notes; per file the runs in it.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace purgent::fleet {

// The kinds of change a run is counted by, in the order of the report's columns.
enum class Kind { Keys, Values, Files, Folders, DllRegistrations, HiveLoads };
constexpr std::size_t kKinds = 6;
// Each kind's column name.
constexpr std::array<const char*, kKinds> kKindNames = {
    "keys", "values", "files", "folders", "DLL registrations", "hive loads"};

// One run: from a `# Purgent <version> run log` line to the next one or the
// end of the file. Notes are kept as written after their `# word<TAB>`.
struct RunRecord {
    std::string version;
    // The `# label: value` lines, in their order.
    std::vector<std::pair<std::string, std::string>> header;
    std::optional<long long> exitStatus;  // none: the log ends without `exit`
    std::array<std::size_t, kKinds> counts{};
    std::vector<std::string> failed;          // `# failed`: event, its fields, the Windows error
    std::vector<std::string> kept;            // `# kept`: path, reason
    std::vector<std::string> restartPending;  // `# restart-pending`: path
    std::vector<std::string> busy;            // `# busy`: another run was in progress
    bool preview = false;                     // `# preview`: nothing was changed
    std::vector<std::string> otherNotes;      // any other `#` line, whole
    // The last status texts and box texts: what a halted, failed or cut-off run was at.
    std::string lastPhase, lastItem, lastError, lastMessage;

    // A header field's value; "" when the header has none.
    std::string Field(std::string_view label) const;
};

// One file found: a run log (its runs, the last one the machine's) or not.
struct LogRecord {
    std::string path;     // as found, UTF-8
    std::string problem;  // "": a run log; else why it is not read as one
    std::vector<RunRecord> runs;
};

}  // namespace purgent::fleet
