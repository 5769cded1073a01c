#include "platform/preview/capture_writer.h"

#include <cctype>

#include "platform/registry_service.h"

namespace purgent {
namespace {

bool WriteFile(FileService& files, const std::string& path, const std::string& bytes) {
    WriteRefusal refusal;
    const WriteHandle file = files.CreateForWriting(path, WriteStart::Empty, refusal);
    if (file == NoWrite) return false;
    const bool written = files.Write(file, bytes);
    files.CloseWritten(file);
    return written;
}

// A folder that is there already must be a folder, not a link planted to
// have the capture written elsewhere.
bool MakeFolder(FileService& files, const std::string& path) {
    const long error = files.CreateFolder(path);
    if (error != winerr::AlreadyExists) return error == winerr::Success;
    const std::uint32_t attributes = files.GetAttributes(path);
    return attributes != NoSuchFile && (attributes & FileAttrFolder) && !(attributes & FileAttrReparsePoint);
}

std::string DriveLetter(const std::string& path) {
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
}

// "C:\\x\\y" in the image folder: "<folder>\\drive\\C\\x\\y".
std::string InDrive(const std::string& folder, const std::string& path) {
    return folder + "\\drive\\" + DriveLetter(path) + path.substr(path.find('\\'));
}

}  // namespace

bool WriteCapture(const image::MachineImage& captured, const std::string& folder, FileService& files) {
    bool written = WriteFile(files, folder + "\\registry.reg", image::WriteRegText(captured.registry)) &&
                   WriteFile(files, folder + "\\machine.ini", image::WriteMachineIni(captured.machine)) &&
                   MakeFolder(files, folder + "\\drive");
    std::string lastDrive;
    for (const image::DriveItem& item : captured.drive) {
        if (!written) break;
        if (item.path.size() < 3 || item.path[1] != ':' || item.path[2] != '\\') continue;
        if (DriveLetter(item.path) != lastDrive) {
            lastDrive = DriveLetter(item.path);
            written = MakeFolder(files, folder + "\\drive\\" + lastDrive);
        }
        const std::string target = InDrive(folder, item.path);
        written = written && (item.folder ? MakeFolder(files, target)
                                          : WriteFile(files, target, std::string(item.contents.begin(), item.contents.end())));
    }
    return written;
}

}  // namespace purgent
