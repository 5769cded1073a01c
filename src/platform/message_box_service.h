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
};

}  // namespace purgent
