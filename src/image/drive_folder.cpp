#include "image/drive_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>

#include "image/ansi_text.h"

namespace purgent::image {
namespace fs = std::filesystem;
namespace {

// File names are UTF-8 on disk on every host, ANSI in the model. A character
// Windows-1252 lacks would become "?": another name, or two names merged.
std::string AnsiName(const fs::path& path) {
    std::vector<int> lossyLines;
    const std::string name = TextFileToAnsi(Utf8Text(path.filename()), lossyLines);
    if (!lossyLines.empty())
        throw ImageError(Utf8Text(path) + ": the name holds a character that Windows-1252 lacks");
    return name;
}

void CheckName(const std::string& name, const std::string& where) {
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("\\/:*?\"<>|") != std::string::npos)
        throw ImageError(where + ": \"" + name + "\" is not a valid Windows file name");
}

// The canonical folders being read, outermost first: a link back to one of
// them would be read without end.
using OpenFolders = std::vector<fs::path>;

void LoadFolder(const fs::path& folder, const std::string& windowsPath, const fs::path& image, OpenFolders& open,
                DriveItems& items) {
    const fs::path canonical = fs::canonical(folder);
    if (std::find(open.begin(), open.end(), canonical) != open.end())
        throw ImageError(Utf8Text(folder) + ": a symbolic link back to a folder that holds it");
    open.push_back(canonical);
    std::vector<std::pair<std::string, fs::path>> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = AnsiName(entry.path());
        CheckName(name, Utf8Text(folder));
        CheckImagePath(entry.path(), image);
        entries.emplace_back(name, entry.path());
    }
    // Sorted as Windows lists a folder: case-insensitively. Names that differ
    // only in case would be one file on Windows.
    auto folded = [](std::string name) {
        std::transform(name.begin(), name.end(), name.begin(), FoldCase);
        return name;
    };
    std::sort(entries.begin(), entries.end(),
              [&](const auto& a, const auto& b) { return folded(a.first) < folded(b.first); });
    for (std::size_t i = 1; i < entries.size(); ++i)
        if (EqualsIgnoreCase(entries[i - 1].first, entries[i].first))
            throw ImageError(Utf8Text(folder) + ": \"" + entries[i - 1].first + "\" and \"" +
                             entries[i].first + "\" are the same name on Windows");
    for (const auto& [name, path] : entries) {
        DriveItem item;
        item.path = windowsPath + "\\" + name;
        if (fs::is_directory(path)) {
            item.folder = true;
            items.push_back(item);
            LoadFolder(path, item.path, image, open, items);
        } else {
            item.contents = ReadFileBytes(Utf8Text(path));
            items.push_back(std::move(item));
        }
    }
    open.pop_back();
}

bool IsWithin(const fs::path& path, const fs::path& folder) {
    const auto [end, unused] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end();
}

}  // namespace

void CheckImagePath(const fs::path& path, const fs::path& image) {
    const std::string where = Utf8Text(path);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error == std::errc::too_many_symbolic_link_levels) throw ImageError(where + ": a loop of symbolic links");
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        const fs::path target = fs::weakly_canonical(path, error);
        if (error || !IsWithin(target, fs::canonical(image)))
            throw ImageError(where + ": a symbolic link that leads out of the image folder");
    }
    if (!fs::is_regular_file(status) && !fs::is_directory(status))
        throw ImageError(where + ": neither a file nor a folder");
}

fs::path Utf8Path(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8Text(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path HostPath(const std::string& driveDir, const std::string& windowsPath) {
    const bool rooted = windowsPath.size() > 3 && std::isalpha(static_cast<unsigned char>(windowsPath[0])) &&
                        windowsPath.compare(1, 2, ":\\") == 0;
    if (!rooted) throw ImageError("\"" + windowsPath + "\" is not a full path below a drive root");
    fs::path host = Utf8Path(driveDir) / std::string(1, static_cast<char>(std::toupper(windowsPath[0])));
    for (std::size_t pos = 3; pos <= windowsPath.size();) {
        auto slash = windowsPath.find('\\', pos);
        if (slash == std::string::npos) slash = windowsPath.size();
        const std::string name = windowsPath.substr(pos, slash - pos);
        CheckName(name, windowsPath);
        host /= Utf8Path(AnsiToUtf8(name));
        pos = slash + 1;
    }
    return host;
}

DriveItems LoadDriveFolder(const std::string& driveDir, const std::string& imageDir) {
    DriveItems items;
    const fs::path root = Utf8Path(driveDir);
    if (!fs::exists(fs::symlink_status(root))) return items;
    CheckImagePath(root, Utf8Path(imageDir));
    if (!fs::is_directory(root)) throw ImageError(driveDir + ": not a folder");
    std::map<char, fs::path> drives;
    for (const fs::directory_entry& drive : fs::directory_iterator(root)) {
        CheckImagePath(drive.path(), Utf8Path(imageDir));
        const std::string name = Utf8Text(drive.path().filename());
        if (name.size() != 1 || !std::isalpha(static_cast<unsigned char>(name[0])) || !drive.is_directory())
            throw ImageError(Utf8Text(drive.path()) + ": expected a folder named by a drive letter");
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if (!drives.emplace(letter, drive.path()).second)
            throw ImageError(Utf8Text(root) + ": drive " + letter + " given twice");
    }
    OpenFolders open{fs::canonical(root)};
    for (const auto& [letter, folder] : drives)
        LoadFolder(folder, std::string(1, letter) + ":", Utf8Path(imageDir), open, items);
    return items;
}

void SaveDriveFolder(const DriveItems& items, const std::string& driveDir) {
    for (const DriveItem& item : items) {
        const fs::path host = HostPath(driveDir, item.path);
        if (item.folder) {
            fs::create_directories(host);
        } else {
            fs::create_directories(host.parent_path());
            WriteFileBytes(Utf8Text(host), item.contents);
        }
    }
}

Bytes ReadFileBytes(const std::string& path) {
    // A folder opens as a stream on some hosts and fails only on reading.
    if (fs::is_directory(Utf8Path(path))) throw ImageError(path + ": a folder, not a file");
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in) throw ImageError(path + ": cannot be read");
    // In large blocks: an image's hives and registry.reg run to megabytes.
    Bytes bytes;
    std::error_code unknownSize;
    const std::uintmax_t size = fs::file_size(Utf8Path(path), unknownSize);
    if (!unknownSize) bytes.reserve(size);
    char block[1 << 16];
    while (in.read(block, sizeof block), in.gcount() > 0) bytes.insert(bytes.end(), block, block + in.gcount());
    return bytes;
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(Utf8Path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw ImageError(path + ": cannot be written");
}

}  // namespace purgent::image
