#include "app/capture_folder.h"

#include "platform/registry_service.h"

namespace purgent {
namespace {

bool IsEmptyFolder(FileService& files, const std::string& folder) {
    FoundFile entry;
    const FindHandle find = files.FindFirst(folder + "\\*", entry);
    if (find == NoFind) return false;  // not a folder, or not one that can be listed
    bool empty = true;
    do {
        empty = entry.name == "." || entry.name == "..";
    } while (empty && files.FindNext(find, entry));
    files.FindClose(find);
    return empty;
}

}  // namespace

std::string PrepareCaptureFolder(FileService& files, const std::string& folder, bool& created) {
    const std::string cannot = "Cannot create the capture folder '" + folder + "'.";
    const long error = files.CreateFolder(folder);
    created = error == winerr::Success;
    if (created) return "";
    if (error != winerr::AlreadyExists) return cannot;
    if (files.GetAttributes(folder) & FileAttrReparsePoint) return "The capture folder '" + folder + "' is a link.";
    if (!IsEmptyFolder(files, folder)) return "The capture folder '" + folder + "' is not empty.";
    const std::string probe = folder + "\\registry.reg";
    WriteRefusal refusal;
    const WriteHandle file = files.CreateForWriting(probe, WriteStart::Empty, refusal);
    if (file == NoWrite) return cannot;
    files.CloseWritten(file);
    files.RemoveFile(probe);
    return "";
}

}  // namespace purgent
