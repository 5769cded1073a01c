#pragma once
#include <windows.h>

#include "platform/cursor_service.h"

namespace purgent {

// The program-wide cursor: the hourglass while a run works, otherwise each
// window's own cursor. The main window asks Override() on WM_SETCURSOR.
class Win32CursorService : public CursorService {
public:
    void SaveCursor() override;
    void ShowBusy() override;
    void RestoreSaved() override;
    // The cursor to show over the program's windows; nullptr for their own.
    HCURSOR Override() const { return current_; }

private:
    void Apply();

    HCURSOR current_ = nullptr;
    HCURSOR saved_ = nullptr;
};

}  // namespace purgent
