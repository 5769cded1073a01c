#include "platform/win32/win32_message_boxes.h"

namespace purgent {

void Win32MessageBoxService::ShowMessage(const std::string& text) { Show(text, MB_OK); }

void Win32MessageBoxService::ShowError(const std::string& text) {
    Show(text, MB_OK | MB_ICONSTOP);
}

void Win32MessageBoxService::Show(const std::string& text, UINT style) {
    // A hidden owner would hide the box from the taskbar and the window switcher.
    HWND owner = mainWindow_ && IsWindowVisible(mainWindow_) ? mainWindow_ : nullptr;
    MessageBoxA(owner, text.c_str(), "Purgent", style);
}

}  // namespace purgent
