#pragma once
// A platform that passes every call through to the machine's own until the
// program starts a preview (/whatif); from then on nothing on the machine is
// changed: no key, value or file deleted or changed, no process ended, no
// window closed, no program started, every hive left as it was found. What
// the run does happens to a picture of the machine kept here, so that later
// steps see what earlier ones would have left, and the run log says what was
// not done. With a capture folder, what the run read is written there as a
// machine image when the process ends.
#include "platform/platform.h"
#include "platform/preview/preview_files.h"
#include "platform/preview/preview_registry.h"
#include "platform/preview/preview_state.h"
#include "platform/preview/preview_tasks.h"

namespace purgent {

class PreviewEnvironment final : public EnvironmentService {
public:
    PreviewEnvironment(EnvironmentService& real, PreviewFiles& files, PreviewState& state)
        : real_(real), files_(files), state_(state) {}

    std::optional<std::string> Variable(const std::string& name) override;
    std::string CommandLine() override { return real_.CommandLine(); }
    bool PlatformId(std::uint32_t& id) override;
    std::string WindowsDirectory() override { return real_.WindowsDirectory(); }
    void LocationFound(const std::string& field, const std::string& value) override { real_.LocationFound(field, value); }
    void ProfileFound(std::size_t position, const std::string& folder) override { real_.ProfileFound(position, folder); }
    void Kept(const std::string& path, const std::string& reason) override { real_.Kept(path, reason); }
    std::string ProgramVersion() override { return real_.ProgramVersion(); }
    std::string LocalTime() override { return real_.LocalTime(); }
    std::string ComputerName() override { return real_.ComputerName(); }
    std::string UserName() override { return real_.UserName(); }
    std::optional<WindowsRelease> Release() override { return real_.Release(); }
    WriteRefusal StartRunLog(const std::string& path, const std::vector<std::string>& ignoredArguments,
                             const std::string& options) override {
        return real_.StartRunLog(path, ignoredArguments, options);
    }
    bool StartPreview(bool showBoxes, const std::string& captureFolder) override;
    // Writes the capture, if one was asked for.
    bool CompleteRecords() override;
    bool HoldRunName() override { return real_.HoldRunName(); }
    // Read as the run reads it, and captured.
    std::optional<FolderRecord> ReadFolderRecord() override;
    void WriteFolderRecord(const FolderRecord& record) override {
        if (!state_.active) real_.WriteFolderRecord(record);
    }
    void RemoveFolderRecord() override {
        if (!state_.active) real_.RemoveFolderRecord();
    }
    void Note(const std::string& word, const std::string& text) override { real_.Note(word, text); }

private:
    EnvironmentService& real_;
    PreviewFiles& files_;
    PreviewState& state_;
};

class PreviewMessages final : public MessageBoxService {
public:
    PreviewMessages(MessageBoxService& real, PreviewState& state) : real_(real), state_(state) {}

    void ShowMessage(const std::string& text) override {
        if (!state_.active || state_.showBoxes) real_.ShowMessage(text);
    }
    void ShowError(const std::string& text) override {
        if (!state_.active || state_.showBoxes) real_.ShowError(text);
    }
    bool ShowOnConsole(const std::string& text) override { return real_.ShowOnConsole(text); }

private:
    MessageBoxService& real_;
    PreviewState& state_;
};

class PreviewPrograms final : public ProgramService {
public:
    PreviewPrograms(ProgramService& real, PreviewFiles& files, PreviewState& state)
        : real_(real), files_(files), state_(state) {}

    std::string ShortPathName(const std::string& path) override { return real_.ShortPathName(path); }
    bool RunAndWait(const std::string& application, const std::string& commandLine) override;
    std::string StartedProgram(const std::string& application, const std::string& commandLine) override {
        return real_.StartedProgram(application, commandLine);
    }
    bool FileExists(const std::string& path) override;
    void Sleep(unsigned milliseconds) override {
        if (!state_.active) real_.Sleep(milliseconds);
    }
    [[noreturn]] void ExitProcess(int status) override;

private:
    ProgramService& real_;
    PreviewFiles& files_;
    PreviewState& state_;
};

class PreviewPlatform {
public:
    explicit PreviewPlatform(Platform& real);
    PreviewPlatform(const PreviewPlatform&) = delete;
    PreviewPlatform& operator=(const PreviewPlatform&) = delete;

    Platform& Get() { return platform_; }
    PreviewState& State() { return state_; }

private:
    PreviewState state_;
    PreviewFiles files_;
    PreviewEnvironment environment_;
    PreviewRegistry registry_;
    PreviewMessages messages_;
    PreviewPrograms programs_;
    PreviewProcesses processes_;
    PreviewWindows windows_;
    Platform platform_;
};

}  // namespace purgent
