#include "log_reader.h"

#include <charconv>
#include <utility>

#include "image/ansi_text.h"

namespace purgent::fleet {
namespace {

constexpr std::string_view kRunStart = "# Purgent ";
constexpr std::string_view kRunStartEnd = " run log";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The version of a line that starts a run; nothing for any other line.
std::optional<std::string_view> RunStartVersion(std::string_view line) {
    if (line.size() < kRunStart.size() + kRunStartEnd.size() || !line.starts_with(kRunStart) ||
        !line.ends_with(kRunStartEnd))
        return std::nullopt;
    return line.substr(kRunStart.size(), line.size() - kRunStart.size() - kRunStartEnd.size());
}

// The notes a run keeps apart, each by the word after its "# ".
struct NoteKind {
    std::string_view word;
    std::vector<std::string> RunRecord::*notes;
};
constexpr NoteKind kNoteKinds[] = {
    {"failed", &RunRecord::failed},
    {"kept", &RunRecord::kept},
    {"restart-pending", &RunRecord::restartPending},
    {"busy", &RunRecord::busy},
};

// The event lines that are counted, by their name. A value changed (a
// default blanked) is as much of the client gone as one deleted.
struct CountedEvent {
    std::string_view name;
    Kind kind;
};
constexpr CountedEvent kCountedEvents[] = {
    {"reg-delete-key", Kind::Keys},      {"reg-delete-value", Kind::Values}, {"reg-set-value", Kind::Values},
    {"file-delete", Kind::Files},        {"dir-remove", Kind::Folders},      {"hive-load", Kind::HiveLoads},
};

// A `launch` is a DLL registration removed when its program is regsvr32,
// wherever that lies; the follow-up program is not.
bool LaunchesRegsvr32(std::string_view fields) {
    std::string_view program = fields.substr(0, fields.find('\t'));
    const std::size_t slash = program.find_last_of("\\/");
    if (slash != std::string_view::npos) program.remove_prefix(slash + 1);
    return image::EqualsIgnoreCase(program, "regsvr32.exe");
}

// A status written whole; a line cut short or garbled ends no run.
std::optional<long long> ExitStatus(std::string_view fields) {
    long long status = 0;
    const auto [end, error] = std::from_chars(fields.data(), fields.data() + fields.size(), status);
    if (error != std::errc() || end != fields.data() + fields.size() || fields.empty()) return std::nullopt;
    return status;
}

class LogReader {
public:
    explicit LogReader(LogRecord& log) : log_(log) {}

    void Line(std::string_view line) {
        if (const auto version = RunStartVersion(line)) {
            Finish();
            log_.runs.emplace_back().version = *version;
        } else if (line.starts_with('#')) {
            Note(line);
        } else {
            Event(line);
        }
    }

    // The last status and box texts of the run in hand, kept as views until
    // its end.
    void Finish() {
        if (log_.runs.empty()) return;
        RunRecord& run = log_.runs.back();
        run.lastPhase = phase_;
        run.lastItem = item_;
        run.lastError = error_;
        run.lastMessage = message_;
        phase_ = item_ = error_ = message_ = {};
    }

private:
    void Note(std::string_view line) {
        RunRecord& run = log_.runs.back();
        std::string_view body = line.substr(1);
        if (body.starts_with(' ')) body.remove_prefix(1);
        const std::size_t tab = body.find('\t');
        const std::string_view word = body.substr(0, tab);
        const std::string_view rest = tab == std::string_view::npos ? "" : body.substr(tab + 1);
        for (const NoteKind& kind : kNoteKinds) {
            if (word == kind.word) {
                (run.*kind.notes).emplace_back(rest);
                return;
            }
        }
        if (word == "preview") {
            run.preview = true;
            return;
        }
        const std::size_t colon = body.find(": ");
        if (colon != std::string_view::npos && colon < tab)
            run.header.emplace_back(body.substr(0, colon), body.substr(colon + 2));
        else
            run.otherNotes.emplace_back(line);
    }

    void Event(std::string_view line) {
        if (line.starts_with("progress\t")) return;  // most lines of a log
        const std::size_t tab = line.find('\t');
        const std::string_view name = line.substr(0, tab);
        const std::string_view fields = tab == std::string_view::npos ? "" : line.substr(tab + 1);
        RunRecord& run = log_.runs.back();
        if (name == "item") {
            item_ = fields;
        } else if (name == "phase") {
            phase_ = fields;
        } else if (name == "error") {
            error_ = fields;
        } else if (name == "message") {
            message_ = fields;
        } else if (name == "launch") {
            if (LaunchesRegsvr32(fields)) ++run.counts[static_cast<std::size_t>(Kind::DllRegistrations)];
        } else if (name == "exit") {
            if (const auto status = ExitStatus(fields)) run.exitStatus = status;
        } else {
            for (const CountedEvent& counted : kCountedEvents)
                if (name == counted.name) ++run.counts[static_cast<std::size_t>(counted.kind)];
        }
    }

    LogRecord& log_;
    std::string_view phase_, item_, error_, message_;
};

// The next line of text from `at` on, without its line end; `at` moves past it.
std::string_view NextLine(std::string_view text, std::size_t& at) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

bool StartsAsRunLog(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    std::size_t at = 0;
    return RunStartVersion(NextLine(text, at)).has_value();
}

LogRecord ReadRunLog(std::string_view text, std::string path) {
    LogRecord log{std::move(path), "", {}};
    if (!StartsAsRunLog(text)) {
        log.problem = "not a run log";
        return log;
    }
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    LogReader reader(log);
    std::size_t at = 0;
    while (at < text.size()) reader.Line(NextLine(text, at));
    reader.Finish();
    return log;
}

}  // namespace purgent::fleet
