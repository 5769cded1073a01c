#pragma once
#include <windows.h>

namespace purgent::ui {

// The process's taskbar button and Alt+Tab entry, labelled with the program's
// title "Purgent": a zero-size top-level window that owns the main window.
// Windows gives a tool-window frame no button, nor an owned window of any
// frame, so without it the main window would be hard to find once covered.
class TaskbarOwner {
public:
    TaskbarOwner() = default;
    TaskbarOwner(const TaskbarOwner&) = delete;
    TaskbarOwner& operator=(const TaskbarOwner&) = delete;

    // Created hidden: a run that never shows the main window shows no button.
    // The button shows the icon.
    HWND Create(HINSTANCE instance, HICON icon);
    // Shows the button for owned, the main window, which the button activates
    // and closes.
    void Show(HWND owned);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

}  // namespace purgent::ui
