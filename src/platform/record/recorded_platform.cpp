#include "platform/record/recorded_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace purgent {

namespace {

// Enough for any title a window shows.
// The attribute bits the program changes; Windows' others (archive, normal)
// come and go by themselves.
constexpr std::uint32_t ChangedAttributes = FileAttrReadOnly | FileAttrHidden | FileAttrSystem | FileAttrFolder;

// A change made is an event; one refused is a note in the run log. Nothing
// to do is neither: the key, value or file was not there, or the folder still
// holds something, as a folder is removed only once it is empty.
void RecordChange(EventRecorder& recorder, long result, const std::string& name,
                  std::initializer_list<std::string> fields) {
    if (result == winerr::Success)
        recorder.Event(name, fields);
    else if (result != winerr::FileNotFound && result != winerr::PathNotFound && result != winerr::DirNotEmpty)
        recorder.Failure(name, fields, result);
}

std::string HexBytes(const std::vector<std::uint8_t>& data) {
    std::string text;
    for (std::size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        if (i) text += ',';
        text += byte;
    }
    return text;
}

// The data of a value as an event shows it: strings as text, numbers in
// decimal, anything else as hex bytes.
std::string ValueText(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if (type == RegSz || type == RegExpandSz) {
        const auto end = std::find(data.begin(), data.end(), 0);
        return std::string(data.begin(), end);
    }
    if (type == RegDword && data.size() == 4)
        return std::to_string(data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24);
    return HexBytes(data);
}

// "10.0 build 19045, 64-bit".
std::string ReleaseText(const std::optional<WindowsRelease>& release) {
    if (!release) return "unknown";
    return std::to_string(release->major) + "." + std::to_string(release->minor) + " build " +
           std::to_string(release->build) + (release->is64Bit ? ", 64-bit" : ", 32-bit");
}

}  // namespace

void RecordedEnvironment::LocationFound(const std::string& field, const std::string& value) {
    recorder_.Event("location", {field, value});
    Env().LocationFound(field, value);
}

void RecordedEnvironment::ProfileFound(std::size_t position, const std::string& folder) {
    recorder_.Event("profile", {std::to_string(position), folder});
    Env().ProfileFound(position, folder);
}

void RecordedEnvironment::Kept(const std::string& path, const std::string& reason) {
    recorder_.Kept(path, reason);
    Env().Kept(path, reason);
}

void RecordedEnvironment::Note(const std::string& word, const std::string& text) {
    recorder_.Note("# " + word + "\t" + EventField(text));
    Env().Note(word, text);
}

WriteRefusal RecordedEnvironment::StartRunLog(const std::string& path, const std::vector<std::string>& ignoredArguments,
                                              const std::string& options) {
    std::vector<std::string> header{
        "# Purgent " + EventField(Env().ProgramVersion()) + " run log",
        "# local time: " + EventField(Env().LocalTime()),
        "# computer: " + EventField(Env().ComputerName()),
        "# user: " + EventField(Env().UserName()),
        "# windows: " + ReleaseText(Env().Release()),
        "# command line: " + EventField(Env().CommandLine()),
        "# options: " + EventField(options),
    };
    for (const std::string& argument : ignoredArguments) header.push_back("# ignored\t" + EventField(argument));
    // Whoever may write there may put a link where the next run's log goes.
    const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    if (!folder.empty() && inner_.files.OpenToUsers(folder))
        header.push_back("# warning\tordinary users may write to the log's folder " + EventField(folder) +
                         ": keep logs where only administrators can");
    return recorder_.StartLog(inner_.files, inner_.text, path, header);
}

bool RecordedEnvironment::StartPreview(bool showBoxes, const std::string& captureFolder) {
    const bool started = Env().StartPreview(showBoxes, captureFolder);
    if (started) recorder_.PreviewStarted();
    return started;
}

long RecordedRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                const std::vector<std::uint8_t>& data) {
    if (recorder_.Cut()) return winerr::AccessDenied;
    const long result = inner_.SetValue(key, name, type, data);
    RecordChange(recorder_, result, "reg-set-value", {inner_.KeyPath(key, ""), name, ValueText(type, data)});
    return result;
}

long RecordedRegistry::DeleteKey(RegKey base, const std::string& subKey) {
    if (recorder_.Cut()) return winerr::AccessDenied;
    const std::string path = inner_.KeyPath(base, subKey);  // gone afterwards
    const long result = inner_.DeleteKey(base, subKey);
    RecordChange(recorder_, result, "reg-delete-key", {path});
    return result;
}

long RecordedRegistry::DeleteLink(RegKey base, const std::string& subKey) {
    if (recorder_.Cut()) return winerr::AccessDenied;
    RegLink link;
    inner_.CheckLink(base, subKey, link);
    const long result = inner_.DeleteLink(base, subKey);
    RecordChange(recorder_, result, "reg-delete-key", {link.path});
    return result;
}

long RecordedRegistry::DeleteValue(RegKey key, const std::string& name) {
    if (recorder_.Cut()) return winerr::AccessDenied;
    const long result = inner_.DeleteValue(key, name);
    RecordChange(recorder_, result, "reg-delete-value", {inner_.KeyPath(key, ""), name});
    return result;
}

long RecordedRegistry::LoadKey(RegKey root, const std::string& name, const std::string& file) {
    if (recorder_.Cut()) return winerr::AccessDenied;
    const long result = inner_.LoadKey(root, name, file);
    if (result == winerr::Success) recorder_.Event("hive-load", {name, file});
    return result;
}

long RecordedRegistry::UnLoadKey(RegKey root, const std::string& name) {
    if (recorder_.Cut()) return winerr::AccessDenied;
    const long result = inner_.UnLoadKey(root, name);
    if (result == winerr::Success) recorder_.Event("hive-unload", {name});
    return result;
}

long RecordedRegistry::UnLoadKeyUnchanged(RegKey root, const std::string& name) {
    return recorder_.Cut() ? winerr::AccessDenied : inner_.UnLoadKeyUnchanged(root, name);
}

long RecordedFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
    if (recorder_.Cut()) return winerr::AccessDenied;
    const std::uint32_t before = inner_.GetAttributes(path);
    const long result = inner_.SetAttributes(path, attributes);
    // Attributes set to what they were change nothing.
    if (result != winerr::Success || (inner_.GetAttributes(path) & ChangedAttributes) != (before & ChangedAttributes))
        RecordChange(recorder_, result, "file-attr", {path, std::to_string(attributes)});
    return result;
}

bool RecordedFiles::RemoveFile(const std::string& path) {
    if (recorder_.Cut()) return false;
    const bool removed = inner_.RemoveFile(path);
    RecordChange(recorder_, removed ? winerr::Success : inner_.RemoveError(), "file-delete", {path});
    return removed;
}

bool RecordedFiles::RemoveFolder(const std::string& path) {
    if (recorder_.Cut()) return false;
    const bool removed = inner_.RemoveFolder(path);
    RecordChange(recorder_, removed ? winerr::Success : inner_.RemoveError(), "dir-remove", {path});
    return removed;
}

long RecordedFiles::DeleteAtRestart(const std::string& path) {
    if (recorder_.Cut()) return winerr::AccessDenied;
    const long result = inner_.DeleteAtRestart(path);
    if (result == winerr::Success) recorder_.RestartPending(path);
    return result;
}

long RecordedFiles::CreateFolder(const std::string& path) {
    return recorder_.Cut() ? winerr::AccessDenied : inner_.CreateFolder(path);
}

WriteHandle RecordedFiles::CreateForWriting(const std::string& path, WriteStart start, WriteRefusal& refusal) {
    if (!recorder_.Cut()) return inner_.CreateForWriting(path, start, refusal);
    refusal = WriteRefusal::CannotCreate;
    return NoWrite;
}

void RecordedMessages::ShowMessage(const std::string& text) {
    recorder_.Event("message", {text});
    inner_.ShowMessage(text);
}

void RecordedMessages::ShowError(const std::string& text) {
    recorder_.Event("error", {text});
    inner_.ShowError(text);
}

bool RecordedPrograms::RunAndWait(const std::string& application, const std::string& commandLine) {
    if (recorder_.Cut()) return false;
    const std::string program = inner_.StartedProgram(application, commandLine);
    recorder_.BeginLaunch();
    const bool started = inner_.RunAndWait(application, commandLine);
    recorder_.EndLaunch(started, program, commandLine);
    return started;
}

void RecordedPrograms::Sleep(unsigned milliseconds) {
    recorder_.Event("wait", {std::to_string(milliseconds)});
    inner_.Sleep(milliseconds);
}

void RecordedPrograms::ExitProcess(int status) {
    recorder_.Event("exit", {std::to_string(status)});
    inner_.ExitProcess(status);
    std::abort();  // not reached: the inner service ends the process
}

void RecordedProcesses::KillFinished(const std::string& name, int code) {
    recorder_.Event("kill", {name, std::to_string(code)});
    inner_.KillFinished(name, code);
}

void RecordedWindows::SendCloseRequest(WindowHandle window) {
    if (recorder_.Cut()) return;
    const std::string title = inner_.WindowText(window, WholeTitleBufferSize);
    inner_.SendCloseRequest(window);
    recorder_.Event("close-window", {title});
}

RecordedPlatform::RecordedPlatform(Platform& inner, EventRecorder& recorder)
    : environment_(inner, recorder),
      registry_(inner.registry, recorder),
      messages_(inner.messages, recorder),
      programs_(inner.programs, recorder),
      processes_(inner.processes, recorder),
      windows_(inner.windows, recorder),
      files_(inner.files, recorder),
      platform_{environment_, registry_, messages_, inner.cursor, programs_, processes_, windows_, inner.text, files_} {}

}  // namespace purgent
