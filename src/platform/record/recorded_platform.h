#pragma once
// Decorators over the platform services that write what the program did to
// the machine into an EventRecorder, then pass every call on. Only what
// really happened is recorded: a change the service reports as failed is not.
// Once the recorder is cut (EventRecorder::CutAfter), no change is passed on:
// the machine stays as a process killed at that moment leaves it.
#include "platform/platform.h"
#include "platform/record/event_recorder.h"

namespace purgent {

class RecordedEnvironment : public EnvironmentService {
public:
    RecordedEnvironment(Platform& inner, EventRecorder& recorder) : inner_(inner), recorder_(recorder) {}

    std::optional<std::string> Variable(const std::string& name) override { return Env().Variable(name); }
    std::string CommandLine() override { return Env().CommandLine(); }
    bool PlatformId(std::uint32_t& id) override { return Env().PlatformId(id); }
    std::string WindowsDirectory() override { return Env().WindowsDirectory(); }
    void LocationFound(const std::string& field, const std::string& value) override;
    void ProfileFound(std::size_t position, const std::string& folder) override;
    void Kept(const std::string& path, const std::string& reason) override;
    std::string ProgramVersion() override { return Env().ProgramVersion(); }
    std::string LocalTime() override { return Env().LocalTime(); }
    std::string ComputerName() override { return Env().ComputerName(); }
    std::string UserName() override { return Env().UserName(); }
    std::optional<WindowsRelease> Release() override { return Env().Release(); }
    // Opens the log through the inner file service, its header first.
    WriteRefusal StartRunLog(const std::string& path, const std::vector<std::string>& ignoredArguments,
                             const std::string& options) override;
    bool StartPreview(bool showBoxes, const std::string& captureFolder) override;
    bool CompleteRecords() override { return Env().CompleteRecords() && !recorder_.LogIncomplete(); }
    bool HoldRunName() override { return Env().HoldRunName(); }
    std::optional<FolderRecord> ReadFolderRecord() override { return Env().ReadFolderRecord(); }
    // The record is Purgent's own state, not a change of the client's: no
    // event, so that a run's trace is the same with and without it.
    void WriteFolderRecord(const FolderRecord& record) override {
        if (!recorder_.Cut()) Env().WriteFolderRecord(record);
    }
    void RemoveFolderRecord() override {
        if (!recorder_.Cut()) Env().RemoveFolderRecord();
    }
    void Note(const std::string& word, const std::string& text) override;

private:
    EnvironmentService& Env() { return inner_.environment; }

    Platform& inner_;
    EventRecorder& recorder_;
};

class RecordedRegistry : public RegistryService {
public:
    RecordedRegistry(RegistryService& inner, EventRecorder& recorder) : inner_(inner), recorder_(recorder) {}

    long OpenKey(RegKey base, const std::string& subKey, RegKey& opened) override {
        return inner_.OpenKey(base, subKey, opened);
    }
    long CloseKey(RegKey key) override { return inner_.CloseKey(key); }
    long QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& maxSubKeyLength,
                      std::uint32_t& values) override {
        return inner_.QueryInfoKey(key, subKeys, maxSubKeyLength, values);
    }
    long EnumKey(RegKey key, std::uint32_t index, std::string& name) override {
        return inner_.EnumKey(key, index, name);
    }
    long EnumValue(RegKey key, std::uint32_t index, std::string& name) override {
        return inner_.EnumValue(key, index, name);
    }
    long QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                    std::vector<std::uint8_t>& data) override {
        return inner_.QueryValue(key, name, type, data);
    }
    long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                  const std::vector<std::uint8_t>& data) override;
    long DeleteKey(RegKey base, const std::string& subKey) override;
    LinkCheck CheckLink(RegKey base, const std::string& subKey, RegLink& link) override {
        return inner_.CheckLink(base, subKey, link);
    }
    long OpenAsLink(RegKey base, const std::string& subKey, RegKey& opened) override {
        return inner_.OpenAsLink(base, subKey, opened);
    }
    bool IsLink(RegKey key, RegLink& link) override { return inner_.IsLink(key, link); }
    // A link deleted is a reg-delete-key of the link's own path.
    long DeleteLink(RegKey base, const std::string& subKey) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    long LoadKey(RegKey root, const std::string& name, const std::string& file) override;
    long UnLoadKey(RegKey root, const std::string& name) override;
    long UnLoadKeyUnchanged(RegKey root, const std::string& name) override;
    std::string KeyPath(RegKey base, const std::string& subKey) override { return inner_.KeyPath(base, subKey); }
    bool EnableRestorePrivilege() override { return inner_.EnableRestorePrivilege(); }

private:
    RegistryService& inner_;
    EventRecorder& recorder_;
};

class RecordedFiles : public FileService {
public:
    RecordedFiles(FileService& inner, EventRecorder& recorder) : inner_(inner), recorder_(recorder) {}

    FindHandle FindFirst(const std::string& mask, FoundFile& entry) override { return inner_.FindFirst(mask, entry); }
    bool FindNext(FindHandle find, FoundFile& entry) override { return inner_.FindNext(find, entry); }
    void FindClose(FindHandle find) override { inner_.FindClose(find); }
    std::uint32_t GetAttributes(const std::string& path) override { return inner_.GetAttributes(path); }
    long SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    long RemoveError() override { return inner_.RemoveError(); }
    long DeleteAccess(const std::string& path) override { return inner_.DeleteAccess(path); }
    // Noted in the run log: no event, as nothing is gone yet.
    long DeleteAtRestart(const std::string& path) override;
    // After a cut the process is gone: it creates nothing more.
    long CreateFolder(const std::string& path) override;
    bool OnNetworkDrive(const std::string& path) override { return inner_.OnNetworkDrive(path); }
    bool OpenToUsers(const std::string& folder) override { return inner_.OpenToUsers(folder); }
    WriteHandle CreateForWriting(const std::string& path, WriteStart start, WriteRefusal& refusal) override;
    bool Write(WriteHandle file, const std::string& bytes) override { return inner_.Write(file, bytes); }
    void CloseWritten(WriteHandle file) override { inner_.CloseWritten(file); }
    std::string FullPathName(const std::string& path) override { return inner_.FullPathName(path); }
    std::string LongPathName(const std::string& path) override { return inner_.LongPathName(path); }
    std::string FinalPathName(const std::string& path) override { return inner_.FinalPathName(path); }

private:
    FileService& inner_;
    EventRecorder& recorder_;
};

class RecordedMessages : public MessageBoxService {
public:
    RecordedMessages(MessageBoxService& inner, EventRecorder& recorder) : inner_(inner), recorder_(recorder) {}

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    // No event: what a console shows is no box and changes nothing.
    bool ShowOnConsole(const std::string& text) override { return inner_.ShowOnConsole(text); }

private:
    MessageBoxService& inner_;
    EventRecorder& recorder_;
};

class RecordedPrograms : public ProgramService {
public:
    RecordedPrograms(ProgramService& inner, EventRecorder& recorder) : inner_(inner), recorder_(recorder) {}

    std::string ShortPathName(const std::string& path) override { return inner_.ShortPathName(path); }
    bool RunAndWait(const std::string& application, const std::string& commandLine) override;
    std::string StartedProgram(const std::string& application, const std::string& commandLine) override {
        return inner_.StartedProgram(application, commandLine);
    }
    bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
    void Sleep(unsigned milliseconds) override;
    [[noreturn]] void ExitProcess(int status) override;

private:
    ProgramService& inner_;
    EventRecorder& recorder_;
};

class RecordedProcesses : public ProcessService {
public:
    RecordedProcesses(ProcessService& inner, EventRecorder& recorder) : inner_(inner), recorder_(recorder) {}

    LoadedLibrary<ProcessStatusLibrary> LoadProcessStatusLibrary() override {
        return inner_.LoadProcessStatusLibrary();
    }
    LoadedLibrary<ToolhelpLibrary> LoadToolhelpLibrary() override { return inner_.LoadToolhelpLibrary(); }
    ProcessHandle OpenProcess(std::uint32_t access, std::uint32_t processId) override {
        return inner_.OpenProcess(access, processId);
    }
    bool TerminateProcess(ProcessHandle process, std::uint32_t exitCode) override {
        return !recorder_.Cut() && inner_.TerminateProcess(process, exitCode);
    }
    bool FullImageName(ProcessHandle process, std::string& path) override {
        return inner_.FullImageName(process, path);
    }
    void CloseHandle(ProcessHandle handle) override { inner_.CloseHandle(handle); }
    void KillFinished(const std::string& name, int code) override;

private:
    ProcessService& inner_;
    EventRecorder& recorder_;
};

class RecordedWindows : public WindowService {
public:
    RecordedWindows(WindowService& inner, EventRecorder& recorder) : inner_(inner), recorder_(recorder) {}

    void EnumWindows(const std::function<bool(WindowHandle)>& visit) override { inner_.EnumWindows(visit); }
    std::uint32_t WindowThreadId(WindowHandle window) override { return inner_.WindowThreadId(window); }
    std::uint32_t WindowProcessId(WindowHandle window) override { return inner_.WindowProcessId(window); }
    std::string WindowText(WindowHandle window, std::size_t bufferSize) override {
        return inner_.WindowText(window, bufferSize);
    }
    std::string ClassName(WindowHandle window, std::size_t bufferSize) override {
        return inner_.ClassName(window, bufferSize);
    }
    // Records the window's whole title, not the part the program reads.
    void SendCloseRequest(WindowHandle window) override;
    bool FindWindowByTitle(const std::string& title) override { return inner_.FindWindowByTitle(title); }

private:
    WindowService& inner_;
    EventRecorder& recorder_;
};

// Every service of a platform, recorded; the cursor and letter case, which
// change nothing on the machine, pass straight through.
class RecordedPlatform {
public:
    RecordedPlatform(Platform& inner, EventRecorder& recorder);
    RecordedPlatform(const RecordedPlatform&) = delete;
    RecordedPlatform& operator=(const RecordedPlatform&) = delete;

    Platform& Get() { return platform_; }

private:
    RecordedEnvironment environment_;
    RecordedRegistry registry_;
    RecordedMessages messages_;
    RecordedPrograms programs_;
    RecordedProcesses processes_;
    RecordedWindows windows_;
    RecordedFiles files_;
    Platform platform_;
};

}  // namespace purgent
