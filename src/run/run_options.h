#pragma once
#include <string>

namespace purgent {

// The eight option check boxes of the main window.
enum class Option {
    Client,
    WritingTools,
    WebServices,
    Networked,
    Messenger,
    DeleteFiles,
    DeleteRegistry,
    LaunchApp,
};

enum class SilentMode { Interactive, Silent, SilentNoMessage, ProgressOnly };

// "/s" and "/sn": the window is never shown, and nobody may be there to see a box.
constexpr bool IsHidden(SilentMode mode) { return mode == SilentMode::Silent || mode == SilentMode::SilentNoMessage; }

// What one cleaning run reads of the window: the boxes as they are when a
// phase reaches them, and the launch command.
class RunOptions {
public:
    virtual ~RunOptions() = default;
    virtual bool Checked(Option option) const = 0;
    virtual const std::string& LaunchCommand() const = 0;
};

}  // namespace purgent
