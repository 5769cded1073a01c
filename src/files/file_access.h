#pragma once
#include <cstdint>
#include <string>

#include "files/link_guard.h"
#include "files/restart_deletions.h"
#include "run/status_reporter.h"
#include "platform/file_service.h"
#include "platform/mask_listing.h"

namespace purgent {

// The attribute filter of a listing: an entry with none of the hidden, system
// and folder bits is always listed; any other only when it shares one of
// those bits with the filter, and under PlainAndHiddenFiles only when it is
// neither a system file nor a folder.
enum ListingFilter : std::uint32_t {
    PlainFiles = 0,
    PlainAndHiddenFiles = FileAttrHidden,
    FilesAndFolders = FileAttrFolder,
};

// Whether a listing filter lets an entry through.
bool PassesFilter(std::uint32_t attributes, std::uint32_t filter);

// One folder listing (findfirst, findnext, findclose): the entries whose
// long name fits the mask and that pass the filter, links left out (the
// guard notes them; they are neither followed nor removed), nothing at all
// in a folder the guard refuses. Deleting entries already returned is
// allowed.
class FileListing {
public:
    FileListing(FileService& files, const std::string& mask, std::uint32_t filter, LinkGuard& guard);

    bool HasEntry() const { return listing_.HasEntry(); }
    const std::string& Name() const { return listing_.Entry().name; }
    void Next();

private:
    void SkipFiltered();

    MaskListing listing_;
    std::uint32_t filter_;
    LinkGuard& guard_;
    std::string folder_;
};

enum class Forced { No, Yes };
enum class ProgressPerFile { No, Yes };

// Every file operation of a run: the platform's, a read-only reset, and the
// composite steps the catalogues are written in. Nothing here fails loudly:
// a missing or denied item simply stays. A file another program holds open
// is deleted when Windows next starts instead (see RestartDeletions), and so
// is a folder only such files keep. Nothing is changed in a folder the link
// guard refuses, and no link is changed or followed: a link where a file or
// folder was expected stays, and so does its folder.
class FileAccess {
public:
    FileAccess(Platform& platform, StatusReporter& status)
        : files_(platform.files), status_(status), guard_(platform), restart_(platform) {}

    LinkGuard& Guard() { return guard_; }
    // Whether files wait for the next restart to go.
    bool RestartNeeded() const { return restart_.Any(); }

    // A file, not a folder, whose time reads as a DOS date.
    bool FileExists(const std::string& path);
    bool DirectoryExists(const std::string& path);
    std::uint32_t FileGetAttr(const std::string& path);
    long FileSetAttr(const std::string& path, std::uint32_t attributes);
    // True when the file is gone now; false when it stays, scheduled or not.
    bool DeleteFile(const std::string& path);
    bool RemoveDir(const std::string& path);
    FileListing List(const std::string& mask, std::uint32_t filter);

    void DeleteIfExists(const std::string& path);
    // Clears every attribute of a read-only file first.
    bool DeleteForced(const std::string& path);
    void RemoveDirIfExists(const std::string& path);
    // Deletes the files of one folder matching pattern, each shown on the
    // status bar; subfolders are not entered.
    void PurgeFolder(const std::string& folder, const std::string& pattern, std::uint32_t filter, Forced forced,
                     ProgressPerFile progress);

private:
    void ClearReadOnly(const std::string& path);
    // Whether the file or folder at path may be changed: its folder is one
    // the guard allows, and it is no link.
    bool MayChange(const std::string& path);

    FileService& files_;
    StatusReporter& status_;
    LinkGuard guard_;
    RestartDeletions restart_;
};

}  // namespace purgent
