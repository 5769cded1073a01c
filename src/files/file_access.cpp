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

FileListing::FileListing(FileService& files, const std::string& mask, std::uint32_t filter)
    : listing_(files, mask), filter_(filter) {
    SkipFiltered();
}

void FileListing::Next() {
    listing_.Next();
    SkipFiltered();
}

void FileListing::SkipFiltered() {
    while (listing_.HasEntry() && !PassesFilter(listing_.Entry().attributes, filter_)) listing_.Next();
}

bool FileAccess::FileExists(const std::string& path) {
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

bool FileAccess::DeleteFile(const std::string& path) { return files_.RemoveFile(path); }

bool FileAccess::RemoveDir(const std::string& path) { return files_.RemoveFolder(path); }

FileListing FileAccess::List(const std::string& mask, std::uint32_t filter) const {
    return FileListing(files_, mask, filter);
}

void FileAccess::DeleteIfExists(const std::string& path) {
    if (FileExists(path)) DeleteFile(path);
}

void FileAccess::ClearReadOnly(const std::string& path) {
    // NoSuchFile has every bit set, so an absent file is "reset" in vain.
    if (FileGetAttr(path) & FileAttrReadOnly) FileSetAttr(path, 0);
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
    for (FileListing listing(files_, folder + pattern, filter); listing.HasEntry();) {
        const std::string path = prefix + listing.Name();
        listing.Next();
        status_.ShowItem(path);
        if (forced == Forced::Yes) ClearReadOnly(path);
        DeleteFile(path);
        if (progress == ProgressPerFile::Yes) status_.StepProgress(1);
    }
}

}  // namespace purgent
