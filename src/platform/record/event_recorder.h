#pragma once
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "platform/file_service.h"
#include "platform/text_service.h"

namespace purgent {

// The record of what a run did to the machine, the same for purgent-sim's
// trace and purgent.exe's run log: one event a line, fields separated by one
// tab, line breaks inside a field written as the two characters \n,
// everything else verbatim. Lines are kept in memory, written as they happen
// to an attached output (the trace) and, once it is started, to the run log.
class EventRecorder {
public:
    EventRecorder() = default;
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;
    ~EventRecorder();

    void AttachOutput(std::ostream* output) { output_ = output; }

    void Event(const std::string& name, std::initializer_list<std::string> fields = {});
    // A change asked for and refused, with the Windows error: a note in the
    // run log ("# failed", then the event it would have been and the error),
    // not an event, as the trace holds only what happened.
    void Failure(const std::string& name, std::initializer_list<std::string> fields, long error);
    // Something a catalogue named that the run left alone on purpose (a
    // link, a folder that is not the client's): "# kept", the path and the
    // reason, a note in the run log like a failure.
    void Kept(const std::string& path, const std::string& reason);
    // A file or folder Windows deletes when it next starts: "# restart-pending"
    // and the path, a note like a failure. A preview schedules nothing and
    // says so itself, so there is no such note in its log.
    void RestartPending(const std::string& path);
    // From now on the events are a preview's (/whatif).
    void PreviewStarted() { preview_ = true; }
    // A line of the run log's own, beginning "#", never in the trace.
    void Note(const std::string& line);

    const std::vector<std::string>& Lines() const { return lines_; }
    // The "# failed" notes so far, with or without a run log: a preview
    // tells what will stay and why.
    const std::vector<std::string>& FailureNotes() const { return failureNotes_; }
    // The "# kept" notes so far.
    const std::vector<std::string>& KeptNotes() const { return keptNotes_; }
    // The fields (tab-joined, as written) of every line of one event.
    std::vector<std::string> Events(const std::string& name) const;

    // Creates the run log at path through files, or opens it to append to
    // an earlier run's, and writes the header lines, then the events so
    // far, then each event as it happens, all as UTF-8 (text converts). Why
    // not, when the file cannot be created or opened.
    WriteRefusal StartLog(FileService& files, TextService& text, const std::string& path,
                          const std::vector<std::string>& header);
    // Whether a line could not be written to the run log.
    bool LogIncomplete() const { return logIncomplete_; }

    // A started program's own changes reach the recorder before it is known
    // that the program started: they are held until EndLaunch, which puts
    // the launch line, when it started, before them.
    void BeginLaunch();
    void EndLaunch(bool started, const std::string& program, const std::string& commandLine);

    // Cuts the record right after its n-th change (n >= 1), as if the
    // process were killed there: kill is called, to end it (it does not
    // return), and from then on nothing more is published (no event, note
    // or log line) and the recorded services change nothing more. A change
    // is an event IsChangeEvent tells.
    void CutAfter(std::size_t changes, std::function<void()> kill) {
        cutAfter_ = changes;
        kill_ = std::move(kill);
    }
    // Whether the record has been cut.
    bool Cut() const { return cut_; }

private:
    static std::string Line(const std::string& name, std::initializer_list<std::string> fields);
    void Publish(const std::string& line);
    // Ends the process when the line just published was the last one.
    void KillIfCut();
    void WriteToLog(const std::string& text);

    std::ostream* output_ = nullptr;
    std::vector<std::string> lines_;
    std::vector<std::string> failureNotes_;
    std::vector<std::string> keptNotes_;
    bool preview_ = false;
    bool holding_ = false;
    std::size_t heldFrom_ = 0;
    FileService* logFiles_ = nullptr;
    TextService* logText_ = nullptr;
    WriteHandle log_ = NoWrite;
    bool logIncomplete_ = false;
    std::size_t cutAfter_ = 0;  // 0: never
    std::size_t changes_ = 0;
    bool cut_ = false;
    std::function<void()> kill_;
};

// A field as it appears in an event line.
std::string EventField(const std::string& text);

// Whether an event line tells a change of the machine: kill, close-window,
// launch (the program started has done its work), hive-load, hive-unload,
// reg-delete-key, reg-delete-value, reg-set-value, file-delete, dir-remove,
// file-attr.
bool IsChangeEvent(const std::string& line);

}  // namespace purgent
