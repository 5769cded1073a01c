#pragma once
// The running programs and their windows as the run would leave them, on a
// machine nothing is changed on: a process the run ends is only gone here
// (with its windows), a window it asks to close only closed here. Whether a
// process would really end, or a window really close, is not known: the log
// says so.
#include <map>
#include <set>
#include <string>

#include "platform/preview/preview_state.h"
#include "platform/process_service.h"
#include "platform/window_service.h"

namespace purgent {

class PreviewProcesses final : public ProcessService {
public:
    PreviewProcesses(ProcessService& real, PreviewState& state) : real_(real), state_(state) {}

    LoadedLibrary<ProcessStatusLibrary> LoadProcessStatusLibrary() override;
    LoadedLibrary<ToolhelpLibrary> LoadToolhelpLibrary() override;
    ProcessHandle OpenProcess(std::uint32_t access, std::uint32_t processId) override;
    bool TerminateProcess(ProcessHandle process, std::uint32_t exitCode) override;
    bool FullImageName(ProcessHandle process, std::string& path) override;
    void CloseHandle(ProcessHandle handle) override;
    void KillFinished(const std::string& name, int code) override;

    bool Ended(std::uint32_t processId) const { return ended_.count(processId) > 0; }
    // The process a handle was opened for (0: none known).
    std::uint32_t ProcessOf(ProcessHandle handle) const;
    // Told the image name the run read for a process.
    void ImageRead(ProcessHandle handle, const std::string& image);

private:
    ProcessService& real_;
    PreviewState& state_;
    std::map<ProcessHandle, std::uint32_t> opened_;  // handle -> process id
    std::set<std::uint32_t> ended_;
    bool endedSinceLastKill_ = false;
};

class PreviewWindows final : public WindowService {
public:
    PreviewWindows(WindowService& real, PreviewProcesses& processes, PreviewState& state)
        : real_(real), processes_(processes), state_(state) {}

    void EnumWindows(const std::function<bool(WindowHandle)>& visit) override;
    std::uint32_t WindowThreadId(WindowHandle window) override { return real_.WindowThreadId(window); }
    std::uint32_t WindowProcessId(WindowHandle window) override { return real_.WindowProcessId(window); }
    std::string WindowText(WindowHandle window, std::size_t bufferSize) override {
        return real_.WindowText(window, bufferSize);
    }
    std::string ClassName(WindowHandle window, std::size_t bufferSize) override {
        return real_.ClassName(window, bufferSize);
    }
    void SendCloseRequest(WindowHandle window) override;
    bool FindWindowByTitle(const std::string& title) override;

private:
    bool Shown(WindowHandle window);

    WindowService& real_;
    PreviewProcesses& processes_;
    PreviewState& state_;
    std::set<WindowHandle> closed_;
    std::set<WindowHandle> captured_;
};

}  // namespace purgent
