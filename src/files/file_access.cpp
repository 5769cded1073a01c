#include "files/file_access.h"

namespace purgent {

bool PassesFilter(std::uint32_t attributes, std::uint32_t filter) {
    const std::uint32_t special = FileAttrHidden | FileAttrSystem | FileAttrFolder;
    if ((attributes & special) == 0) return true;
    // Hidden files only: a hidden system file (desktop.ini, Thumbs.db) or a
    // hidden folder is not the program's to delete.
    if (filter == PlainAndHiddenFiles) return (attributes & (FileAttrSystem | FileAttrFolder)) == 0;
    return (attributes & special & filter) != 0;
}

namespace {

// The folder of a path or mask: what lies before its last separator.
std::string FolderPart(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

}  // namespace

FileListing::FileListing(FileService& files, const std::string& mask, std::uint32_t filter, LinkGuard& guard)
    : listing_(files, guard.MayWorkIn(FolderPart(mask)) ? mask : std::string()), filter_(filter), guard_(guard),
      folder_(FolderPart(mask)) {
    SkipFiltered();
}

void FileListing::Next() {
    listing_.Next();
    SkipFiltered();
}

void FileListing::SkipFiltered() {
    for (; listing_.HasEntry(); listing_.Next()) {
        const FoundFile& entry = listing_.Entry();
        if (!PassesFilter(entry.attributes, filter_)) continue;
        if (entry.name == "." || entry.name == ".." || !guard_.IsLink(folder_ + entry.name)) break;
    }
}

bool FileAccess::MayChange(const std::string& path) {
    return guard_.MayWorkIn(FolderPart(path)) && !guard_.IsLink(path);
}

bool FileAccess::FileExists(const std::string& path) {
    if (!guard_.MayWorkIn(FolderPart(path))) return false;
    const MaskListing listing(files_, path);
    return listing.HasEntry() && !(listing.Entry().attributes & FileAttrFolder) && listing.Entry().dosTime;
}

bool FileAccess::DirectoryExists(const std::string& path) {
    const std::uint32_t attributes = files_.GetAttributes(path);
    return attributes != NoSuchFile && (attributes & FileAttrFolder);
}

std::uint32_t FileAccess::FileGetAttr(const std::string& path) { return files_.GetAttributes(path); }

long FileAccess::FileSetAttr(const std::string& path, std::uint32_t attributes) {
    return files_.SetAttributes(path, attributes);
}

bool FileAccess::DeleteFile(const std::string& path) {
    return MayChange(path) && !restart_.ScheduleIfHeld(path) && files_.RemoveFile(path);
}

bool FileAccess::RemoveDir(const std::string& path) {
    if (!MayChange(path)) return false;
    if (files_.RemoveFolder(path)) return true;
    restart_.ScheduleIfKeptOnlyByThem(path);
    return false;
}

FileListing FileAccess::List(const std::string& mask, std::uint32_t filter) {
    return FileListing(files_, mask, filter, guard_);
}

void FileAccess::DeleteIfExists(const std::string& path) {
    if (FileExists(path)) DeleteFile(path);
}

void FileAccess::ClearReadOnly(const std::string& path) {
    // NoSuchFile has every bit set, so an absent file is "reset" in vain. A
    // link's attributes would be its target's.
    if ((FileGetAttr(path) & FileAttrReadOnly) && MayChange(path)) FileSetAttr(path, 0);
}

bool FileAccess::DeleteForced(const std::string& path) {
    ClearReadOnly(path);
    return DeleteFile(path);
}

void FileAccess::RemoveDirIfExists(const std::string& path) {
    if (DirectoryExists(path)) RemoveDir(path);
}

void FileAccess::PurgeFolder(const std::string& folder, const std::string& pattern, std::uint32_t filter,
                             Forced forced, ProgressPerFile progress) {
    const std::string prefix = !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
    for (FileListing listing(files_, folder + pattern, filter, guard_); listing.HasEntry();) {
        const std::string path = prefix + listing.Name();
        listing.Next();
        status_.ShowItem(path);
        if (forced == Forced::Yes) ClearReadOnly(path);
        DeleteFile(path);
        if (progress == ProgressPerFile::Yes) status_.StepProgress(1);
    }
}

}  // namespace purgent
