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

// What one cleaning run reads of the window: the boxes as they are when a
// phase reaches them, and the launch command.
class RunOptions {
public:
    virtual ~RunOptions() = default;
    virtual bool Checked(Option option) const = 0;
    virtual const std::string& LaunchCommand() const = 0;
};

}  // namespace purgent
