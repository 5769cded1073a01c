#include "platform/win32/win32_windows.h"

#include <windows.h>

namespace purgent {
namespace {

HWND AsWindow(WindowHandle window) { return reinterpret_cast<HWND>(window); }

BOOL CALLBACK VisitWindow(HWND window, LPARAM visit) {
    const auto& callback = *reinterpret_cast<const std::function<bool(WindowHandle)>*>(visit);
    return callback(reinterpret_cast<WindowHandle>(window)) ? TRUE : FALSE;
}

std::string ReadText(int (WINAPI* read)(HWND, LPSTR, int), WindowHandle window,
                     std::size_t bufferSize) {
    std::string text(bufferSize, '\0');
    int length = read(AsWindow(window), text.data(), static_cast<int>(bufferSize));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

}  // namespace

void Win32WindowService::EnumWindows(const std::function<bool(WindowHandle)>& visit) {
    ::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

std::uint32_t Win32WindowService::WindowThreadId(WindowHandle window) {
    DWORD processId = 0;
    return GetWindowThreadProcessId(AsWindow(window), &processId);
}

std::uint32_t Win32WindowService::WindowProcessId(WindowHandle window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(AsWindow(window), &processId);
    return processId;
}

std::string Win32WindowService::WindowText(WindowHandle window, std::size_t bufferSize) {
    return ReadText(GetWindowTextA, window, bufferSize);
}

std::string Win32WindowService::ClassName(WindowHandle window, std::size_t bufferSize) {
    return ReadText(GetClassNameA, window, bufferSize);
}

void Win32WindowService::SendCloseRequest(WindowHandle window) {
    SendMessageA(AsWindow(window), WM_CLOSE, 0, 0);
}

bool Win32WindowService::FindWindowByTitle(const std::string& title) {
    return FindWindowA(nullptr, title.c_str()) != nullptr;
}

}  // namespace purgent
