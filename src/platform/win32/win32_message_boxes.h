#pragma once
#include <windows.h>

#include "platform/message_box_service.h"

namespace purgent {

// Message boxes captioned "Purgent", owned by the main window while it is visible.
class Win32MessageBoxService : public MessageBoxService {
public:
    void SetMainWindow(HWND window) { mainWindow_ = window; }
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool ShowOnConsole(const std::string& text) override;

private:
    void Show(const std::string& text, UINT style);

    HWND mainWindow_ = nullptr;
};

}  // namespace purgent
