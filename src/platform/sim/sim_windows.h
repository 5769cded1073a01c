#pragma once
#include "platform/sim/sim_processes.h"
#include "platform/window_service.h"

namespace purgent::sim {

// The top-level windows of the simulated desktop. A window's handle is its
// position in SimTasks::windows + 1.
class SimWindows : public WindowService {
public:
    explicit SimWindows(SimTasks& tasks) : tasks_(tasks) {}

    void EnumWindows(const std::function<bool(WindowHandle)>& visit) override;
    std::uint32_t WindowThreadId(WindowHandle window) override;
    // The first running process of the window's image.
    std::uint32_t WindowProcessId(WindowHandle window) override;
    std::string WindowText(WindowHandle window, std::size_t bufferSize) override;
    std::string ClassName(WindowHandle window, std::size_t bufferSize) override;
    void SendCloseRequest(WindowHandle window) override;
    bool FindWindowByTitle(const std::string& title) override;

private:
    SimWindow* OpenWindow(WindowHandle window);

    SimTasks& tasks_;
};

}  // namespace purgent::sim
