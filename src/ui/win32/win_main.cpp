#include <windows.h>

#include <commctrl.h>

#include "app/purgent_app.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/handler_guard.h"
#include "ui/win32/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    purgent::Win32Platform machine;
    purgent::ui::MainWindow view(instance, machine.cursor, machine.messages);
    HWND window = view.Create();
    machine.messages.SetMainWindow(window);
    purgent::PurgentApp app(machine.platform, view, view);
    view.Attach(app);
    // Unattended modes run in here and end the process once the run completes.
    purgent::ui::RunGuarded(machine.messages, [&] { app.FormCreate(); });

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(window, &message)) continue;  // Tab between the controls
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
