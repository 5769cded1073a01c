#include "log_files.h"

#include <fstream>

#include "image/ansi_text.h"
#include "log_reader.h"
#include "path_text.h"

namespace purgent::fleet {
namespace {

namespace fs = std::filesystem;

// Far more than a run log's first line; a file that is not one is read no further.
constexpr std::size_t kFirstBlock = 64 * 1024;

bool HasLogName(const fs::path& path) { return image::EqualsIgnoreCase(Utf8Of(path.extension()), ".log"); }

// Appends up to `count` more bytes of the file; false when it cannot be read.
bool ReadMore(std::ifstream& in, std::string& text, std::size_t count) {
    const std::size_t had = text.size();
    text.resize(had + count);
    in.read(text.data() + had, static_cast<std::streamsize>(count));
    text.resize(had + static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

void Walk(const fs::path& folder, Collected& collected) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    std::vector<fs::path> subfolders;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::directory_entry& entry = *entries;
        std::error_code ignored;  // an entry gone meanwhile is neither
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
            subfolders.push_back(entry.path());
        else if (HasLogName(entry.path()) && entry.is_regular_file(ignored))
            collected.logs.push_back(ReadLogFile(entry.path()));
    }
    if (error) collected.errors.push_back(Utf8Of(folder) + ": cannot be listed (" + error.message() + ")");
    for (const fs::path& subfolder : subfolders) Walk(subfolder, collected);
}

}  // namespace

LogRecord ReadLogFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (!in || !ReadMore(in, text, kFirstBlock)) return {Utf8Of(path), "cannot be read", {}};
    if (!StartsAsRunLog(text)) return {Utf8Of(path), "not a run log", {}};
    // The rest in one read, then whatever a run still writing has added since.
    std::error_code unknownSize;
    const std::uintmax_t size = fs::file_size(path, unknownSize);
    if (!unknownSize) text.reserve(static_cast<std::size_t>(size) + kFirstBlock);
    bool read = unknownSize || size <= text.size() || ReadMore(in, text, static_cast<std::size_t>(size) - text.size());
    while (read && in) read = ReadMore(in, text, kFirstBlock);
    if (!read) return {Utf8Of(path), "cannot be read", {}};
    return ReadRunLog(text, Utf8Of(path));
}

bool IsRunLogFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string block;
    return in && ReadMore(in, block, kFirstBlock) && StartsAsRunLog(block);
}

Collected CollectLogs(const std::vector<fs::path>& paths) {
    Collected collected;
    for (const fs::path& path : paths) {
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (fs::is_directory(status))
            Walk(path, collected);
        else if (fs::exists(status))
            collected.logs.push_back(ReadLogFile(path));
        else
            collected.errors.push_back(Utf8Of(path) + ": " + (error ? error.message() : "no such file or folder"));
    }
    return collected;
}

}  // namespace purgent::fleet
