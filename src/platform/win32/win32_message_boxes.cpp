#include "platform/win32/win32_message_boxes.h"

namespace purgent {

void Win32MessageBoxService::ShowMessage(const std::string& text) { Show(text, MB_OK); }

void Win32MessageBoxService::ShowError(const std::string& text) {
    Show(text, MB_OK | MB_ICONSTOP);
}

// A program of the window subsystem has no console of its own: output sent
// to a file or pipe is used as it is, else the console of whoever started
// it. A command prompt does not wait for such a program and may show its
// next prompt already, so the text starts on a line of its own.
bool Win32MessageBoxService::ShowOnConsole(const std::string& text) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const bool sent = output && output != INVALID_HANDLE_VALUE && GetFileType(output) != FILE_TYPE_UNKNOWN;
    bool opened = false;
    if (!sent) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
        output = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
        if (output == INVALID_HANDLE_VALUE) return false;
        opened = true;
    }
    std::string lines = opened ? "\r\n" : "";
    for (char c : text) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    lines += "\r\n";
    DWORD written = 0;
    const bool shown = WriteFile(output, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) &&
                       written == lines.size();
    if (opened) CloseHandle(output);
    return shown;
}

void Win32MessageBoxService::Show(const std::string& text, UINT style) {
    // A hidden owner would hide the box from the taskbar and the window switcher.
    HWND owner = mainWindow_ && IsWindowVisible(mainWindow_) ? mainWindow_ : nullptr;
    MessageBoxA(owner, text.c_str(), "Purgent", style);
}

}  // namespace purgent
