#pragma once
// Small machine images built in code for whole runs: items with the folders
// above them, as an image on disk holds them, and .reg text of string values.
#include <string>

#include "image/machine_image.h"

namespace purgent::testing {

inline void AddDriveItem(image::MachineImage& image, const image::DriveItem& item) {
    for (auto slash = item.path.find('\\', 3); slash != std::string::npos; slash = item.path.find('\\', slash + 1))
        if (!image::FindDriveItem(image.drive, item.path.substr(0, slash)))
            image.drive.push_back({item.path.substr(0, slash), true, {}});
    image.drive.push_back(item);
}

inline std::string RegString(const std::string& name, const std::string& text) {
    std::string escaped;
    for (char c : text) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return "\"" + name + "\"=\"" + escaped + "\"\n";
}

inline bool IsThere(const image::MachineImage& image, const std::string& path) {
    return image::FindDriveItem(image.drive, path) != nullptr;
}

// .reg text of one key and its values.
inline std::string KeyText(const std::string& path, const std::string& values) { return "[" + path + "]\n" + values; }

inline const std::string AppPaths = R"(HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\)";
// App Paths naming the client's and Messenger's program folders.
inline std::string GroupWiseAt(const std::string& folder) {
    return KeyText(AppPaths + "GrpWise.Exe", RegString("Path", folder));
}
inline std::string MessengerAt(const std::string& folder) {
    return KeyText(AppPaths + "nmcl32.Exe", RegString("Path", folder));
}

inline const std::string UserShellFolders =
    R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders)";

}  // namespace purgent::testing
