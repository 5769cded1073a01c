#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace purgent {

using WindowHandle = std::uintptr_t;

// Room for any window title: what the log names of a window is its whole title.
constexpr std::size_t WholeTitleBufferSize = 32768;

// Top-level windows of the desktop: enumeration, titles, classes, close requests.
class WindowService {
public:
    virtual ~WindowService() = default;
    // EnumWindows: visit is called for each top-level window until it returns false.
    virtual void EnumWindows(const std::function<bool(WindowHandle)>& visit) = 0;
    // GetWindowThreadProcessId: 0 when the window's thread cannot be determined.
    virtual std::uint32_t WindowThreadId(WindowHandle window) = 0;
    // The process id GetWindowThreadProcessId gives; 0 when it gives none.
    virtual std::uint32_t WindowProcessId(WindowHandle window) = 0;
    // GetWindowTextA / GetClassNameA into a buffer of bufferSize bytes, so at
    // most bufferSize - 1 characters.
    virtual std::string WindowText(WindowHandle window, std::size_t bufferSize) = 0;
    virtual std::string ClassName(WindowHandle window, std::size_t bufferSize) = 0;
    // SendMessageA(window, WM_CLOSE, 0, 0): returns once the window has handled it.
    virtual void SendCloseRequest(WindowHandle window) = 0;
    // FindWindowA(NULL, title): whether a top-level window has that title
    // (any class; the platform compares titles without regard to case).
    virtual bool FindWindowByTitle(const std::string& title) = 0;
};

}  // namespace purgent
