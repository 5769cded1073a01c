#pragma once
#include <string>

namespace purgent {

// Where the status bar and the progress bar are shown: the Win32 window, or
// the simulator's trace.
class StatusView {
public:
    virtual ~StatusView() = default;
    virtual void SetPanelText(int panel, const std::string& text) = 0;
    // Paint the status bar now: the run never lets the message loop run.
    virtual void RepaintStatus() = 0;
    virtual void SetProgress(int position, int maximum) = 0;
};

}  // namespace purgent
