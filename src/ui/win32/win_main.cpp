#include <windows.h>

#include <commctrl.h>

#include "app/purgent_app.h"
#include "platform/preview/preview_platform.h"
#include "platform/record/recorded_platform.h"
#include "platform/win32/win32_platform.h"
#include "run/recorded_status_view.h"
#include "ui/win32/handler_guard.h"
#include "ui/win32/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    purgent::Win32Platform machine;
    // Changes nothing of the machine once a preview (/whatif) starts.
    purgent::PreviewPlatform preview(machine.platform);
    // What the program does to the machine goes to the run log, when asked for.
    purgent::EventRecorder recorder;
    preview.State().note = [&recorder](const std::string& line) { recorder.Note(line); };
    purgent::RecordedPlatform recorded(preview.Get(), recorder);
    purgent::Platform& platform = recorded.Get();
    purgent::ui::MainWindow view(instance, machine.cursor, platform.messages);
    HWND window = view.Create();
    machine.messages.SetMainWindow(window);
    purgent::RecordedStatusView status(&view, recorder);
    purgent::PurgentApp app(platform, status, view);
    view.Attach(app);
    // Unattended modes run in here and end the process once the run completes.
    purgent::ui::RunGuarded(platform.messages, [&] { app.FormCreate(); });

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(window, &message)) continue;  // Tab between the controls
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // Through the platform, so that the log ends with the exit status too.
    app.ExitOnClose();
}
