#pragma once
// The drive/ folder of an image: drive/<LETTER>/... holds the files of <LETTER>:\.
#include <filesystem>
#include <string>

#include "image/machine_image.h"

namespace purgent::image {

// A missing folder holds nothing. The folder lies in the image folder
// imageDir, and nothing is read from outside it.
DriveItems LoadDriveFolder(const std::string& driveDir, const std::string& imageDir);
void SaveDriveFolder(const DriveItems& items, const std::string& driveDir);
// Host paths as the UTF-8 text they are given and reported in, on every host.
std::filesystem::path Utf8Path(const std::string& text);
std::string Utf8Text(const std::filesystem::path& path);

// Where a drive item lies below driveDir: "C:\WINDOWS\x.dll" -> driveDir/C/WINDOWS/x.dll.
std::filesystem::path HostPath(const std::string& driveDir, const std::string& windowsPath);

// An image is read, never followed out of: a symbolic link that leads out
// of the image folder, a loop of links, or a path that is neither a file nor
// a folder (a FIFO, a device) is an ImageError naming the path.
void CheckImagePath(const std::filesystem::path& path, const std::filesystem::path& image);

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

}  // namespace purgent::image
