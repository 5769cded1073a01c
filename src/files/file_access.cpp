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
    : files_(files), filter_(filter), find_(files.FindFirst(mask, entry_)), hasEntry_(find_ != NoFind) {
    SkipFiltered();
}

FileListing::~FileListing() {
    if (find_ != NoFind) files_.FindClose(find_);
}

void FileListing::Next() {
    hasEntry_ = files_.FindNext(find_, entry_);
    SkipFiltered();
}

void FileListing::SkipFiltered() {
    while (hasEntry_ && !PassesFilter(entry_.attributes, filter_)) hasEntry_ = files_.FindNext(find_, entry_);
}

bool FileAccess::FileExists(const std::string& path) {
    FoundFile entry;
    const FindHandle find = files_.FindFirst(path, entry);
    if (find == NoFind) return false;
    files_.FindClose(find);
    return !(entry.attributes & FileAttrFolder) && entry.dosTime;
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
