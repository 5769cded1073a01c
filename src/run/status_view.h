#pragma once
#include <string>

namespace purgent {

// Where the status bar and the progress bar are shown: the Win32 window, or
// nowhere in a headless run; RecordedStatusView records them on the way.
class StatusView {
public:
    virtual ~StatusView() = default;
    virtual void SetPanelText(int panel, const std::string& text) = 0;
    // Paint the status bar now: the run never lets the message loop run.
    virtual void RepaintStatus() = 0;
    virtual void SetProgress(int position, int maximum) = 0;
    // Paint the window's launch-application field now (the client's DLL
    // phase keeps it fresh); a view without that field has nothing to do.
    virtual void UpdateApplicationField() {}
};

}  // namespace purgent
