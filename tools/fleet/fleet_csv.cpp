#include "fleet_csv.h"

#include <string>

#include "machines.h"

namespace purgent::fleet {
namespace {

// The contract's columns first, then what else a row tells.
constexpr const char* kLeadingColumns[] = {"computer", "local time", "version", "command line", "outcome"};
constexpr const char* kTrailingColumns[] = {"failed notes", "kept notes", "restart pending", "exit status",
                                            "remark", "runs", "log file"};

std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// Notes one a line, each as the log writes it after its `# word<TAB>`.
std::string Lines(const std::vector<std::string>& notes) {
    std::string text;
    for (const std::string& note : notes) text += (text.empty() ? "" : "\n") + note;
    return text;
}

void Row(std::ostream& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) out << (i ? "," : "") << Field(fields[i]);
    out << "\r\n";
}

std::vector<std::string> MachineFields(const Machine& m) {
    const RunRecord& run = *m.run;
    std::vector<std::string> fields{m.computer, run.Field("local time"), run.version, run.Field("command line"),
                                    OutcomeName(m.verdict.outcome)};
    for (const std::size_t count : run.counts) fields.push_back(std::to_string(count));
    fields.insert(fields.end(), {Lines(run.failed), Lines(run.kept), m.verdict.restartPending ? "yes" : "no",
                                 run.exitStatus ? std::to_string(*run.exitStatus) : "", m.verdict.remark,
                                 std::to_string(m.log->runs.size()), m.log->path});
    return fields;
}

// A file that is not a run log: its name, what it is, its path.
std::vector<std::string> FileFields(const LogRecord& file) {
    std::vector<std::string> fields(std::size(kLeadingColumns) + kKinds + std::size(kTrailingColumns));
    fields.front() = ComputerOf(file);
    fields[std::size(kLeadingColumns) - 1] = file.problem;
    fields.back() = file.path;
    return fields;
}

}  // namespace

void WriteCsv(std::ostream& out, const std::vector<LogRecord>& logs) {
    std::vector<std::string> header(std::begin(kLeadingColumns), std::end(kLeadingColumns));
    header.insert(header.end(), kKindNames.begin(), kKindNames.end());
    header.insert(header.end(), std::begin(kTrailingColumns), std::end(kTrailingColumns));
    Row(out, header);
    for (const Machine& machine : MachinesInOrder(logs)) Row(out, MachineFields(machine));
    for (const LogRecord* file : FilesNotRead(logs)) Row(out, FileFields(*file));
}

}  // namespace purgent::fleet
