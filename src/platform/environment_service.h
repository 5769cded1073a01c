#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_service.h"
#include "platform/folder_record.h"

namespace purgent {

// GetVersionExA platform ids.
constexpr std::uint32_t PlatformWin9x = 1;
constexpr std::uint32_t PlatformWinNT = 2;

// Which Windows runs the program, for the run log's header.
struct WindowsRelease {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    bool is64Bit = false;  // the Windows, not the program: a 32-bit program asks IsWow64Process
};

class EnvironmentService {
public:
    virtual ~EnvironmentService() = default;
    // nullopt for a variable that is not set.
    virtual std::optional<std::string> Variable(const std::string& name) = 0;
    // The process command line, program name included, as GetCommandLineA gives it.
    virtual std::string CommandLine() = 0;
    // GetVersionExA with a 148-byte record; false when the version cannot be read.
    virtual bool PlatformId(std::uint32_t& id) = 0;
    // GetWindowsDirectoryA; "" when it cannot be read.
    virtual std::string WindowsDirectory() = 0;
    // Told each location (field name, value) and each profile-set entry
    // (1-based position, folder name) the run found; the recorder over the
    // platform writes them, Windows has nothing to do with them.
    virtual void LocationFound(const std::string& /*field*/, const std::string& /*value*/) {}
    virtual void ProfileFound(std::size_t /*position*/, const std::string& /*folder*/) {}
    // Told each folder, file or key the run left alone although a catalogue
    // named it or led through it (a link, a folder that is not the client's),
    // with the reason; the recorder notes it in the run log.
    virtual void Kept(const std::string& /*path*/, const std::string& /*reason*/) {}

    // For the run log's header: this program's version ("3.5.0.0"), the local
    // time ("2026-01-31 14:05:09"), the computer's and the user's name.
    virtual std::string ProgramVersion() { return ""; }
    virtual std::string LocalTime() { return ""; }
    virtual std::string ComputerName() { return ""; }
    virtual std::string UserName() { return ""; }
    // GetVersionExA's version and build; nullopt when it cannot be read.
    virtual std::optional<WindowsRelease> Release() { return std::nullopt; }
    // Told to start the run log at path once the command line is read: the
    // recorder over the platform opens it, appending to an earlier run's;
    // why not when it cannot, and CannotCreate when there is no recorder to
    // write one. Its header names the options as read (options) and the
    // arguments the command line ignored.
    virtual WriteRefusal StartRunLog(const std::string& /*path*/,
                                     const std::vector<std::string>& /*ignoredArguments*/,
                                     const std::string& /*options*/) {
        return WriteRefusal::CannotCreate;
    }
    // Told to start a preview (/whatif): from now on nothing on the machine
    // is changed; the boxes of a run are shown only with showBoxes; what the
    // run reads goes to captureFolder ("" = nowhere) when the process ends.
    // False where there is no preview layer.
    virtual bool StartPreview(bool /*showBoxes*/, const std::string& /*captureFolder*/) { return false; }
    // Told the process is about to end: writes what is written only then (a
    // preview's capture). False when a record the command line asked for is
    // not whole: a part of the capture or a line of the run log could not
    // be written.
    virtual bool CompleteRecords() { return true; }

    // Takes the machine-wide name one run at a time holds, the named mutex
    // "Global\Purgent.Run", for the rest of the process; false when another
    // process holds it.
    virtual bool HoldRunName() { return true; }
    // The record of the program folders an interrupted run found (see
    // FolderRecord); nullopt when there is none.
    virtual std::optional<FolderRecord> ReadFolderRecord() { return std::nullopt; }
    // Records the folders this run found, in place of any earlier record.
    virtual void WriteFolderRecord(const FolderRecord& /*record*/) {}
    // Removes the record: the run completed.
    virtual void RemoveFolderRecord() {}
    // A note line of the run log, "# word<TAB>text"; the recorder over the
    // platform writes it.
    virtual void Note(const std::string& /*word*/, const std::string& /*text*/) {}
};

}  // namespace purgent
