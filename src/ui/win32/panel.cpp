#include "ui/win32/panel.h"

namespace purgent::ui {
namespace {

constexpr const char* kPanelClass = "PurgentPanel";
constexpr LONG_PTR kWhiteStyle = 1;  // GWLP_USERDATA: white panel background

void PaintBevel(HWND panel) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(panel, &paint);
    RECT client;
    GetClientRect(panel, &client);
    bool white = GetWindowLongPtrA(panel, GWLP_USERDATA) == kWhiteStyle;
    FillRect(dc, &client, GetSysColorBrush(white ? COLOR_WINDOW : COLOR_BTNFACE));
    DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    EndPaint(panel, &paint);
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintBevel(panel);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills the whole panel
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return SendMessageA(GetAncestor(panel, GA_ROOT), message, wParam, lParam);
    default:
        return DefWindowProcA(panel, message, wParam, lParam);
    }
}

}  // namespace

void RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PanelProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPanelClass;
    RegisterClassA(&windowClass);
}

HWND CreatePanel(HWND parent, const RECT& place, bool white) {
    HWND panel = CreateWindowExA(WS_EX_CONTROLPARENT, kPanelClass, "",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, place.left, place.top,
                                 place.right - place.left, place.bottom - place.top, parent,
                                 nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(
                                              parent, GWLP_HINSTANCE)),
                                 nullptr);
    if (white) SetWindowLongPtrA(panel, GWLP_USERDATA, kWhiteStyle);
    return panel;
}

}  // namespace purgent::ui
