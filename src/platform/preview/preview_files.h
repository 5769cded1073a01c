#pragma once
// The drives as the run would leave them, on a machine nothing is changed
// on: listings and attributes come from the machine, minus what was deleted
// here and with the attributes set here. A file is deleted here only where
// Windows would let the run delete it: not a folder, not read-only, not held
// open by another program nor refused by its security (asked with a
// delete-access open that changes nothing). The run log is written for real.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_service.h"
#include "platform/preview/preview_state.h"

namespace purgent {

class PreviewFiles final : public FileService {
public:
    PreviewFiles(FileService& real, PreviewState& state) : real_(real), state_(state) {}

    FindHandle FindFirst(const std::string& mask, FoundFile& entry) override;
    bool FindNext(FindHandle find, FoundFile& entry) override;
    void FindClose(FindHandle find) override;
    std::uint32_t GetAttributes(const std::string& path) override;
    long SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    long RemoveError() override { return state_.active ? removeError_ : real_.RemoveError(); }
    // A file found held open goes into the capture.
    long DeleteAccess(const std::string& path) override;
    // Schedules nothing; the log says what would be scheduled.
    long DeleteAtRestart(const std::string& path) override;
    long CreateFolder(const std::string& path) override { return real_.CreateFolder(path); }
    bool OnNetworkDrive(const std::string& path) override { return real_.OnNetworkDrive(path); }
    bool OpenToUsers(const std::string& folder) override { return real_.OpenToUsers(folder); }
    WriteHandle CreateForWriting(const std::string& path, WriteStart start, WriteRefusal& refusal) override {
        return real_.CreateForWriting(path, start, refusal);
    }
    bool Write(WriteHandle file, const std::string& bytes) override { return real_.Write(file, bytes); }
    void CloseWritten(WriteHandle file) override { real_.CloseWritten(file); }
    std::string FullPathName(const std::string& path) override { return real_.FullPathName(path); }
    std::string LongPathName(const std::string& path) override;
    std::string FinalPathName(const std::string& path) override;

    // Whether the run has deleted the file or folder (or one above it) here.
    bool Deleted(const std::string& path) { return Gone(KeyOf(path)); }

private:
    struct Listing {
        std::string folder;  // as the mask names it, with its separator
        std::vector<FoundFile> entries;
        std::size_t next = 0;
    };

    // The absolute path Windows uses for a path, without a closing separator.
    std::string Full(const std::string& path);
    // Where the path leads (junctions followed, short names made long), as
    // far as the machine tells; else its full path.
    std::string Final(const std::string& path);
    // The folded path an item is kept under here, so that two spellings of
    // one file meet.
    std::string KeyOf(const std::string& path);
    bool Gone(const std::string& key) const;
    // Final without a closing separator; a drive ("C:") as it is.
    std::string FinalFolder(const std::string& folder);
    // Tells the capture each link and junction on the way to a path.
    void CaptureLinksOn(const std::string& full);
    // Tells the capture when the item at path leads elsewhere than expected
    // (its parent's final path and its own name).
    void CaptureLinkAt(const std::string& path, const std::string& expected);
    // The item's own name as its folder lists it: its long name, in the
    // case it was made with.
    std::string ListedName(const std::string& path);
    bool Listable(const std::string& folder);
    // The entries of a listing of the machine, as the run would see them now.
    std::vector<FoundFile> Listed(const std::string& mask, std::string& folder);
    bool Next(Listing& listing, FoundFile& entry);
    bool Failed(long error);

    FileService& real_;
    PreviewState& state_;
    std::set<std::string> deleted_;                     // KeyOf
    std::map<std::string, std::uint32_t> attributes_;   // KeyOf -> attributes set here
    std::map<FindHandle, Listing> listings_;
    std::set<std::string> walked_;  // folded paths looked at for links
    FindHandle nextListing_ = 1;
    long removeError_ = 0;
};

}  // namespace purgent
