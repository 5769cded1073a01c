#include "platform/sim/sim_windows.h"

#include <vector>

#include "platform/sim/sim_names.h"

namespace purgent::sim {
namespace {

constexpr std::uint32_t FirstThreadId = 0x400;

std::string Truncated(const std::string& text, std::size_t bufferSize) {
    return bufferSize == 0 ? std::string() : text.substr(0, bufferSize - 1);
}

}  // namespace

// Like Windows, the walk visits the windows open when it starts, skipping any
// that went away meanwhile (e.g. closed by the walk itself).
void SimWindows::EnumWindows(const std::function<bool(WindowHandle)>& visit) {
    std::vector<WindowHandle> listed;
    for (std::size_t i = 0; i < tasks_.windows.size(); ++i) {
        if (tasks_.windows[i].open) listed.push_back(i + 1);
    }
    for (WindowHandle window : listed) {
        if (OpenWindow(window) != nullptr && !visit(window)) return;
    }
}

std::uint32_t SimWindows::WindowThreadId(WindowHandle window) {
    SimWindow* found = OpenWindow(window);
    if (found == nullptr || !found->threadKnown) return 0;
    return FirstThreadId + static_cast<std::uint32_t>(window);
}

std::uint32_t SimWindows::WindowProcessId(WindowHandle window) {
    SimWindow* found = OpenWindow(window);
    if (found == nullptr || !found->threadKnown) return 0;
    for (const SimProcess& process : tasks_.processes)
        if (process.running && SameName(process.image, found->process)) return process.id;
    return 0;
}

std::string SimWindows::WindowText(WindowHandle window, std::size_t bufferSize) {
    SimWindow* found = OpenWindow(window);
    return found == nullptr ? std::string() : Truncated(found->title, bufferSize);
}

std::string SimWindows::ClassName(WindowHandle window, std::size_t bufferSize) {
    SimWindow* found = OpenWindow(window);
    return found == nullptr ? std::string() : Truncated(found->className, bufferSize);
}

void SimWindows::SendCloseRequest(WindowHandle window) {
    SimWindow* found = OpenWindow(window);
    if (found == nullptr) return;
    if (found->closes) found->open = false;
}

bool SimWindows::FindWindowByTitle(const std::string& title) {
    for (const SimWindow& window : tasks_.windows) {
        if (window.open && SameName(window.title, title)) return true;
    }
    return false;
}

SimWindow* SimWindows::OpenWindow(WindowHandle window) {
    if (window == 0 || window > tasks_.windows.size()) return nullptr;
    SimWindow& found = tasks_.windows[window - 1];
    return found.open ? &found : nullptr;
}

}  // namespace purgent::sim
