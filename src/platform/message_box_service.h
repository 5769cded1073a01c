#pragma once
#include <string>

namespace purgent {

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // OK button only, no icon, caption "Purgent"; returns when the user closes it.
    virtual void ShowMessage(const std::string& text) = 0;
    // Stop icon, OK button, caption "Purgent".
    virtual void ShowError(const std::string& text) = 0;
    // The text on the console of the program that started this one
    // (AttachConsole(ATTACH_PARENT_PROCESS)), or where its output was sent;
    // false, and nothing shown, when there is neither.
    virtual bool ShowOnConsole(const std::string& /*text*/) { return false; }
};

}  // namespace purgent
