#include "platform/win32/win32_cursor.h"

namespace purgent {

void Win32CursorService::SaveCursor() { saved_ = current_; }

void Win32CursorService::ShowBusy() {
    current_ = LoadCursor(nullptr, IDC_WAIT);
    Apply();
}

void Win32CursorService::RestoreSaved() {
    current_ = saved_;
    Apply();
}

void Win32CursorService::Apply() {
    // The run does not pump messages, so no WM_SETCURSOR would come to show it.
    SetCursor(current_ ? current_ : LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace purgent
