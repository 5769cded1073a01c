#pragma once
#include "platform/window_service.h"

namespace purgent {

class Win32WindowService : public WindowService {
public:
    void EnumWindows(const std::function<bool(WindowHandle)>& visit) override;
    std::uint32_t WindowThreadId(WindowHandle window) override;
    std::uint32_t WindowProcessId(WindowHandle window) override;
    std::string WindowText(WindowHandle window, std::size_t bufferSize) override;
    std::string ClassName(WindowHandle window, std::size_t bufferSize) override;
    void SendCloseRequest(WindowHandle window) override;
    bool FindWindowByTitle(const std::string& title) override;
};

}  // namespace purgent
