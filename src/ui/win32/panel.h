#pragma once
#include <windows.h>

namespace purgent::ui {

// A raised panel that groups controls, like the form designer's panels. It
// passes its children's notifications (commands, owner drawing, colours) on
// to the top-level window, so one window procedure handles every control.
void RegisterPanelClass(HINSTANCE instance);
HWND CreatePanel(HWND parent, const RECT& place, bool white);

}  // namespace purgent::ui
