#include "log_files.h"

#include <fstream>
#include <optional>

#include "image/ansi_text.h"
#include "log_reader.h"
#include "path_text.h"

namespace purgent::fleet {
namespace {

namespace fs = std::filesystem;

// Far more than a run log's first line; a file that is not one is read no further.
constexpr std::size_t kFirstBlock = 64 * 1024;

bool HasLogName(const fs::path& path) { return image::EqualsIgnoreCase(Utf8Of(path.extension()), ".log"); }

// The text read so far and up to `limit` bytes more; nothing when the file
// cannot be read.
std::optional<std::string> ReadOn(std::ifstream& in, std::size_t limit, std::string text = {}) {
    std::string block(kFirstBlock, '\0');
    while (limit > 0) {
        const std::size_t wanted = std::min(block.size(), limit);
        const auto got = static_cast<std::size_t>(in.read(block.data(), static_cast<std::streamsize>(wanted)).gcount());
        text.append(block, 0, got);
        limit -= got;
        if (got < wanted) break;
    }
    if (in.bad()) return std::nullopt;
    return text;
}

std::optional<std::string> FirstBlock(std::ifstream& in) {
    if (!in) return std::nullopt;
    return ReadOn(in, kFirstBlock);
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
    std::optional<std::string> text = FirstBlock(in);
    if (!text) return {Utf8Of(path), "cannot be read", {}};
    if (!StartsAsRunLog(*text)) return {Utf8Of(path), "not a run log", {}};
    std::error_code unknownSize;
    const std::uintmax_t size = fs::file_size(path, unknownSize);
    if (!unknownSize) text->reserve(static_cast<std::size_t>(size));
    text = ReadOn(in, SIZE_MAX, std::move(*text));
    if (!text) return {Utf8Of(path), "cannot be read", {}};
    return ReadRunLog(*text, Utf8Of(path));
}

bool IsRunLogFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::optional<std::string> block = FirstBlock(in);
    return block && StartsAsRunLog(*block);
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
