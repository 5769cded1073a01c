#pragma once
#include <optional>
#include <string>

namespace purgent {

// The main window as the program logic sees it: the Win32 window, or a
// headless stand-in in the simulator.
class FormView {
public:
    virtual ~FormView() = default;
    // Make the full window visible.
    virtual void ShowInteractive() = 0;
    // Hide Panel3 and Panel1, size the window to the header and the bars,
    // single border, no help or maximize icons, then make it visible.
    virtual void ShowProgressOnly() = 0;
    // Minimized and never visible (Silent, SilentNoMessage).
    virtual void StayHidden() = 0;
    // Mirror the MainForm state (checked, enabled, launch command, hint) into
    // the controls. Called after every change the model makes; a view should
    // only touch controls whose state differs, so that its own change
    // notifications do not loop back.
    virtual void OptionsChanged() = 0;
    // OpenDialog1: the chosen full path, nullopt when cancelled.
    virtual std::optional<std::string> ChooseFile() = 0;
};

}  // namespace purgent
