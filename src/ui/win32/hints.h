#pragma once
#include <windows.h>

#include <string>

namespace purgent::ui {

// Hover hints (a tooltip control). A hint is also shown over a disabled
// control: its mouse messages then go to the parent, so the control's area of
// the parent is a second tool with the same text.
class Hints {
public:
    void Create(HWND owner);
    void Add(HWND control, const std::string& text);
    void SetText(HWND control, const std::string& text);

private:
    enum class Request { Add, Update };
    void Send(Request request, HWND control, const std::string& text);

    HWND tooltip_ = nullptr;
};

}  // namespace purgent::ui
