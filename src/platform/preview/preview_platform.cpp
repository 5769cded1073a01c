#include "platform/preview/preview_platform.h"

#include <cstdlib>

#include "platform/preview/capture_writer.h"

namespace purgent {

std::optional<std::string> PreviewEnvironment::Variable(const std::string& name) {
    const std::optional<std::string> value = real_.Variable(name);
    if (CaptureRecord* capture = state_.Capture(); capture && name == "windir") capture->Settings().windir = value;
    return value;
}

bool PreviewEnvironment::PlatformId(std::uint32_t& id) {
    const bool known = real_.PlatformId(id);
    if (CaptureRecord* capture = state_.Capture(); capture && known)
        capture->Settings().platform = id == PlatformWinNT    ? image::PlatformFamily::Nt
                                       : id == PlatformWin9x ? image::PlatformFamily::Win9x
                                                             : image::PlatformFamily::Other;
    return known;
}

std::optional<FolderRecord> PreviewEnvironment::ReadFolderRecord() {
    const std::optional<FolderRecord> record = real_.ReadFolderRecord();
    if (CaptureRecord* capture = state_.Capture(); capture && record) {
        image::RegistryKey key = FolderRecordKeyOf(*record);
        capture->Key(key.path, std::move(key.values));
    }
    return record;
}

bool PreviewEnvironment::StartPreview(bool showBoxes, const std::string& captureFolder) {
    state_.active = true;
    state_.showBoxes = showBoxes;
    if (!captureFolder.empty()) {
        state_.capture = std::make_unique<CaptureRecord>();
        state_.captureFolder = captureFolder;
    }
    state_.Note("nothing was changed: each event below is what the run would have done");
    if (!captureFolder.empty()) state_.Note("capture\t" + captureFolder);
    return true;
}

bool PreviewEnvironment::CompleteRecords() {
    bool written = true;
    if (CaptureRecord* capture = state_.Capture()) {
        state_.active = false;  // the capture is written for real
        written = WriteCapture(capture->Image(), state_.captureFolder, files_);
    }
    return real_.CompleteRecords() && written;
}

bool PreviewPrograms::RunAndWait(const std::string& application, const std::string& commandLine) {
    if (!state_.active) return real_.RunAndWait(application, commandLine);
    const std::string program = real_.StartedProgram(application, commandLine);
    const bool starts = !program.empty() && FileExists(program);
    state_.Note("launch\t" + commandLine + (starts ? "\tnot started" : "\twould not start: no such program"));
    return starts;
}

bool PreviewPrograms::FileExists(const std::string& path) {
    if (!state_.active) return real_.FileExists(path);
    return real_.FileExists(path) && !files_.Deleted(path);
}

void PreviewPrograms::ExitProcess(int status) {
    real_.ExitProcess(status);
    std::abort();  // not reached: the real service ends the process
}

PreviewPlatform::PreviewPlatform(Platform& real)
    : files_(real.files, state_),
      environment_(real.environment, files_, state_),
      registry_(real.registry, state_),
      messages_(real.messages, state_),
      programs_(real.programs, files_, state_),
      processes_(real.processes, state_),
      windows_(real.windows, processes_, state_),
      platform_{environment_, registry_, messages_, real.cursor, programs_, processes_, windows_, real.text, files_} {}

}  // namespace purgent
