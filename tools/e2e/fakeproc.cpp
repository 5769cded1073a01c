// A stand-in for a mail or chat program in the e2e tests: shows one top-level
// window with the given title until the window is closed or the process is
// ended. Copied under the names of the programs Purgent stops.
//   fakeproc.exe <title> [refuse-close]
// Exit status: ClosedByRequest when its window was closed; a terminated
// process gets the terminator's status instead.
#include <windows.h>

#include <cstring>

namespace {

constexpr int ClosedByRequest = 10;
bool refuseClose = false;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (!refuseClose) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(ClosedByRequest);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    refuseClose = argc > 2 && std::strcmp(argv[2], "refuse-close") == 0;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "PurgentFakeProc";
    if (!RegisterClassA(&windowClass)) return 3;
    if (!CreateWindowA("PurgentFakeProc", argv[1], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 360,
                       120, nullptr, nullptr, windowClass.hInstance, nullptr)) {
        return 3;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
