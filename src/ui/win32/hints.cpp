#include "ui/win32/hints.h"

#include <commctrl.h>

namespace purgent::ui {

void Hints::Create(HWND owner) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               nullptr, nullptr);
}

void Hints::Add(HWND control, const std::string& text) { Send(Request::Add, control, text); }

void Hints::SetText(HWND control, const std::string& text) {
    Send(Request::Update, control, text);
}

void Hints::Send(Request request, HWND control, const std::string& text) {
    HWND parent = GetParent(control);
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = parent;
    tool.lpszText = const_cast<char*>(text.c_str());  // the tooltip keeps a copy
    UINT message = request == Request::Add ? TTM_ADDTOOLA : TTM_UPDATETIPTEXTA;

    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    SendMessageA(tooltip_, message, 0, reinterpret_cast<LPARAM>(&tool));

    tool.uFlags = TTF_SUBCLASS;
    tool.uId = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    GetWindowRect(control, &tool.rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&tool.rect), 2);
    SendMessageA(tooltip_, message, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace purgent::ui
