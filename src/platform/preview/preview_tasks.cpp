#include "platform/preview/preview_tasks.h"

#include <algorithm>

#include "image/ansi_text.h"

namespace purgent {
namespace {

// The process list without the processes the run has ended.
class PreviewProcessStatusLibrary final : public ProcessStatusLibrary {
public:
    PreviewProcessStatusLibrary(std::unique_ptr<ProcessStatusLibrary> real, PreviewProcesses& processes,
                                PreviewState& state)
        : real_(std::move(real)), processes_(processes), state_(state) {}

    bool EnumProcesses(std::vector<std::uint32_t>& ids, std::size_t& count) override {
        if (!real_->EnumProcesses(ids, count)) return false;
        const auto end = std::remove_if(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(std::min(count, ids.size())),
                                        [&](std::uint32_t id) { return processes_.Ended(id); });
        count = static_cast<std::size_t>(end - ids.begin());
        if (CaptureRecord* capture = state_.Capture())
            for (std::size_t i = 0; i < count; ++i) capture->Process(ids[i], "", false);
        return true;
    }
    bool FirstModule(ProcessHandle process, ModuleHandle& module) override { return real_->FirstModule(process, module); }
    bool ModuleBaseName(ProcessHandle process, ModuleHandle module, std::string& name) override {
        if (!real_->ModuleBaseName(process, module, name)) return false;
        processes_.ImageRead(process, name);
        return true;
    }

private:
    std::unique_ptr<ProcessStatusLibrary> real_;
    PreviewProcesses& processes_;
    PreviewState& state_;
};

class PreviewToolhelpLibrary final : public ToolhelpLibrary {
public:
    PreviewToolhelpLibrary(std::unique_ptr<ToolhelpLibrary> real, PreviewProcesses& processes, PreviewState& state)
        : real_(std::move(real)), processes_(processes), state_(state) {}

    bool CreateSnapshot(std::uint32_t flags, std::uint32_t processId, ProcessHandle& snapshot) override {
        if (!real_->CreateSnapshot(flags, processId, snapshot)) return false;
        if (flags & SnapshotModules) modulesOf_[snapshot] = processId;
        return true;
    }
    bool FirstProcess(ProcessHandle snapshot, std::uint32_t& processId) override {
        return Listed(real_->FirstProcess(snapshot, processId), snapshot, processId);
    }
    bool NextProcess(ProcessHandle snapshot, std::uint32_t& processId) override {
        return Listed(real_->NextProcess(snapshot, processId), snapshot, processId);
    }
    bool FirstModule(ProcessHandle snapshot, std::string& moduleName) override {
        if (!real_->FirstModule(snapshot, moduleName)) return false;
        const auto process = modulesOf_.find(snapshot);
        if (process != modulesOf_.end() && state_.Capture()) state_.Capture()->Process(process->second, moduleName, true);
        return true;
    }
    bool NextModule(ProcessHandle snapshot, std::string& moduleName) override {
        return real_->NextModule(snapshot, moduleName);
    }

private:
    // Passes over the processes the run has ended.
    bool Listed(bool found, ProcessHandle snapshot, std::uint32_t& processId) {
        while (found && processes_.Ended(processId)) found = real_->NextProcess(snapshot, processId);
        if (found && state_.Capture()) state_.Capture()->Process(processId, "", false);
        return found;
    }

    std::unique_ptr<ToolhelpLibrary> real_;
    PreviewProcesses& processes_;
    PreviewState& state_;
    std::map<ProcessHandle, std::uint32_t> modulesOf_;
};

template <class Functions, class Preview>
LoadedLibrary<Functions> Wrapped(LoadedLibrary<Functions> library, PreviewProcesses& processes, PreviewState& state) {
    if (state.active && library.functions)
        library.functions = std::make_unique<Preview>(std::move(library.functions), processes, state);
    return library;
}

}  // namespace

LoadedLibrary<ProcessStatusLibrary> PreviewProcesses::LoadProcessStatusLibrary() {
    return Wrapped<ProcessStatusLibrary, PreviewProcessStatusLibrary>(real_.LoadProcessStatusLibrary(), *this, state_);
}

LoadedLibrary<ToolhelpLibrary> PreviewProcesses::LoadToolhelpLibrary() {
    return Wrapped<ToolhelpLibrary, PreviewToolhelpLibrary>(real_.LoadToolhelpLibrary(), *this, state_);
}

ProcessHandle PreviewProcesses::OpenProcess(std::uint32_t access, std::uint32_t processId) {
    const ProcessHandle handle = real_.OpenProcess(access, processId);
    if (handle != 0) opened_[handle] = processId;
    return handle;
}

bool PreviewProcesses::TerminateProcess(ProcessHandle process, std::uint32_t exitCode) {
    if (!state_.active) return real_.TerminateProcess(process, exitCode);
    const std::uint32_t id = ProcessOf(process);
    if (id == 0) return false;
    ended_.insert(id);
    endedSinceLastKill_ = true;
    return true;
}

bool PreviewProcesses::FullImageName(ProcessHandle process, std::string& path) {
    if (!real_.FullImageName(process, path)) return false;
    ImageRead(process, path.substr(path.find_last_of("\\/") + 1));
    return true;
}

void PreviewProcesses::CloseHandle(ProcessHandle handle) {
    opened_.erase(handle);
    real_.CloseHandle(handle);
}

void PreviewProcesses::KillFinished(const std::string& name, int code) {
    real_.KillFinished(name, code);
    if (endedSinceLastKill_) state_.Note("kill\t" + name + "\tnot done: whether it would end is not known");
    endedSinceLastKill_ = false;
}

std::uint32_t PreviewProcesses::ProcessOf(ProcessHandle handle) const {
    const auto found = opened_.find(handle);
    return found == opened_.end() ? 0 : found->second;
}

void PreviewProcesses::ImageRead(ProcessHandle handle, const std::string& image) {
    if (CaptureRecord* capture = state_.Capture()) capture->Process(ProcessOf(handle), image, true);
}

bool PreviewWindows::Shown(WindowHandle window) {
    return !closed_.count(window) && !processes_.Ended(real_.WindowProcessId(window));
}

void PreviewWindows::EnumWindows(const std::function<bool(WindowHandle)>& visit) {
    if (!state_.active) return real_.EnumWindows(visit);
    real_.EnumWindows([&](WindowHandle window) {
        if (!Shown(window)) return true;
        if (CaptureRecord* capture = state_.Capture(); capture && captured_.insert(window).second)
            capture->Window(real_.WindowText(window, WholeTitleBufferSize), real_.ClassName(window, WholeTitleBufferSize),
                            real_.WindowProcessId(window));
        return visit(window);
    });
}

void PreviewWindows::SendCloseRequest(WindowHandle window) {
    if (!state_.active) return real_.SendCloseRequest(window);
    closed_.insert(window);
    state_.Note("close-window\t" + real_.WindowText(window, WholeTitleBufferSize) + "\tnot sent");
}

bool PreviewWindows::FindWindowByTitle(const std::string& title) {
    if (!state_.active) return real_.FindWindowByTitle(title);
    bool found = false;
    EnumWindows([&](WindowHandle window) {
        found = image::EqualsIgnoreCase(real_.WindowText(window, WholeTitleBufferSize), title);
        return !found;
    });
    return found;
}

}  // namespace purgent
