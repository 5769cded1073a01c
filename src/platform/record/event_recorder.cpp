#include "platform/record/event_recorder.h"

#include <set>

namespace purgent {

bool IsChangeEvent(const std::string& line) {
    static const std::set<std::string> changes{
        "kill",          "close-window",  "launch",      "hive-load",  "hive-unload", "reg-delete-key",
        "reg-delete-value", "reg-set-value", "file-delete", "dir-remove", "file-attr",
    };
    return changes.count(line.substr(0, line.find('\t'))) > 0;
}

std::string EventField(const std::string& text) {
    std::string field;
    field.reserve(text.size());
    for (char c : text) {
        if (c == '\n')
            field += "\\n";
        else
            field += c;
    }
    return field;
}

EventRecorder::~EventRecorder() {
    if (log_ != NoWrite) logFiles_->CloseWritten(log_);
}

std::string EventRecorder::Line(const std::string& name, std::initializer_list<std::string> fields) {
    std::string line = name;
    for (const std::string& field : fields) {
        line += '\t';
        line += EventField(field);
    }
    return line;
}

void EventRecorder::Event(const std::string& name, std::initializer_list<std::string> fields) {
    if (cut_) return;
    lines_.push_back(Line(name, fields));
    if (holding_) return;
    Publish(lines_.back());
    KillIfCut();
}

void EventRecorder::Failure(const std::string& name, std::initializer_list<std::string> fields, long error) {
    if (cut_) return;
    failureNotes_.push_back("# failed\t" + Line(name, fields) + "\t" + std::to_string(error));
    if (log_ != NoWrite) WriteToLog(failureNotes_.back() + "\n");
}

void EventRecorder::Kept(const std::string& path, const std::string& reason) {
    if (cut_) return;
    keptNotes_.push_back("# kept\t" + EventField(path) + "\t" + EventField(reason));
    if (log_ != NoWrite) WriteToLog(keptNotes_.back() + "\n");
}

void EventRecorder::RestartPending(const std::string& path) {
    if (!preview_) Note("# restart-pending\t" + EventField(path));
}

void EventRecorder::Note(const std::string& line) {
    if (!cut_ && log_ != NoWrite) WriteToLog(line + "\n");
}

void EventRecorder::Publish(const std::string& line) {
    if (output_) *output_ << line << '\n' << std::flush;
    if (log_ != NoWrite) WriteToLog(line + "\n");
    if (IsChangeEvent(line) && ++changes_ == cutAfter_) cut_ = true;
}

void EventRecorder::WriteToLog(const std::string& text) {
    if (!logFiles_->Write(log_, logText_->ToUtf8(text))) logIncomplete_ = true;
}

std::vector<std::string> EventRecorder::Events(const std::string& name) const {
    std::vector<std::string> fields;
    const std::string prefix = name + '\t';
    for (const std::string& line : lines_)
        if (line.compare(0, prefix.size(), prefix) == 0) fields.push_back(line.substr(prefix.size()));
    return fields;
}

WriteRefusal EventRecorder::StartLog(FileService& files, TextService& text, const std::string& path,
                                     const std::vector<std::string>& header) {
    WriteRefusal refusal = WriteRefusal::None;
    // An earlier run's log stays: a rerun on the machine, or the next
    // deployment, adds its own run below it.
    const WriteHandle log = files.CreateForWriting(path, WriteStart::AtEnd, refusal);
    if (log == NoWrite) return refusal;
    logFiles_ = &files;
    logText_ = &text;
    log_ = log;
    std::string start;
    for (const std::string& line : header) start += line + "\n";
    for (const std::string& line : lines_) start += line + "\n";
    WriteToLog(start);
    return WriteRefusal::None;
}

void EventRecorder::BeginLaunch() {
    holding_ = true;
    heldFrom_ = lines_.size();
}

void EventRecorder::EndLaunch(bool started, const std::string& program, const std::string& commandLine) {
    holding_ = false;
    if (started) lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(heldFrom_), Line("launch", {program, commandLine}));
    std::size_t i = heldFrom_;
    while (i < lines_.size() && !cut_) Publish(lines_[i++]);
    // What the program did after the cut was never told.
    lines_.resize(i);
    KillIfCut();
}

void EventRecorder::KillIfCut() {
    if (cut_ && kill_) kill_();
}

}  // namespace purgent
