#pragma once
// What the services of a preview share: whether the preview is on, how it
// tells the run log what it did not do, and the capture it fills.
#include <functional>
#include <memory>
#include <string>

#include "platform/preview/capture_record.h"

namespace purgent {

struct PreviewState {
    bool active = false;
    // Whether the boxes a run shows are shown (the window modes) or only
    // named in the log (/s, /sn).
    bool showBoxes = true;
    // A "# preview" note of the run log.
    std::function<void(const std::string&)> note = [](const std::string&) {};
    std::unique_ptr<CaptureRecord> capture;  // nullptr: nothing is captured
    std::string captureFolder;

    void Note(const std::string& text) const { if (active) note("# preview\t" + text); }
    CaptureRecord* Capture() const { return active ? capture.get() : nullptr; }
};

}  // namespace purgent
