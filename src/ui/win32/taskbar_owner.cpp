#include "ui/win32/taskbar_owner.h"

namespace purgent::ui {
namespace {

constexpr const char* kOwnerClass = "TApplication";
constexpr const char* kProgramTitle = "Purgent";
// The system menu and the minimize box let the taskbar minimize and restore
// the program; the owned main window hides and shows with this one.
constexpr DWORD kOwnerStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HWND Owned(HWND window) { return reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

}  // namespace

HWND TaskbarOwner::Create(HINSTANCE instance, HICON icon) {
    const WNDCLASSA windowClass{0, WindowProc, 0, 0, instance, icon, nullptr, nullptr, nullptr, kOwnerClass};
    RegisterClassA(&windowClass);
    // Zero-size in the centre of the screen, behind the centred main window.
    window_ = CreateWindowExA(0, kOwnerClass, kProgramTitle, kOwnerStyle, GetSystemMetrics(SM_CXSCREEN) / 2,
                              GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, instance, nullptr);
    return window_;
}

void TaskbarOwner::Show(HWND owned) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned));
    ShowWindow(window_, SW_SHOWNOACTIVATE);
}

LRESULT CALLBACK TaskbarOwner::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND owned = Owned(window);
    switch (message) {
    case WM_SETFOCUS:
        // Activated through its button or Alt+Tab: the focus goes on to the
        // window last in use, the main window or a box it shows.
        if (owned) {
            HWND last = GetLastActivePopup(window);
            SetFocus(last != window ? last : owned);
        }
        return 0;
    case WM_CLOSE:
        // Closing the button closes the main window, as its own close box
        // does; not while a box keeps it disabled.
        if (owned && IsWindowEnabled(owned)) PostMessageA(owned, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace purgent::ui
