#pragma once
#include <optional>
#include <set>
#include <string>

#include "platform/platform.h"

namespace purgent {

// The client's files that another program holds open (a user's Outlook on
// another session, an indexer), left for Windows to delete when it next
// starts, as installers do; and the folders only such files keep, after
// them, as Windows deletes in the order asked. Only what the run would have
// deleted now is scheduled: the caller has made every check a deletion
// passes, and a read-only file the step does not force stays as it would.
class RestartDeletions {
public:
    explicit RestartDeletions(Platform& platform)
        : files_(platform.files), registry_(platform.registry), environment_(platform.environment),
          text_(platform.text) {}

    // Schedules the file when another program holds it open; true when it
    // is scheduled, now or earlier in the run.
    bool ScheduleIfHeld(const std::string& path);
    // Schedules a folder that could not be removed when all it holds is
    // scheduled already.
    void ScheduleIfKeptOnlyByThem(const std::string& folder);
    // Whether anything waits for the next restart.
    bool Any() const { return !scheduled_.empty(); }

private:
    std::string Key(const std::string& path);
    bool Scheduled(const std::string& path) { return scheduled_.count(Key(path)) != 0; }
    bool Schedule(const std::string& path);
    // Whether Windows lists the path already: a run cut short, or one run
    // after another before the restart, scheduled it.
    bool ListedBefore(const std::string& path);

    FileService& files_;
    RegistryService& registry_;
    EnvironmentService& environment_;
    TextService& text_;
    std::set<std::string> scheduled_;  // Key
    std::optional<std::set<std::string>> listedBefore_;  // Key, read once
};

}  // namespace purgent
