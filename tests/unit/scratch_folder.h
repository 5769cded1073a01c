#pragma once
// A new, empty folder of a test's own under the temporary folder, removed with
// all it holds when it goes out of scope, however the test ended. Its name is
// drawn afresh (mkdtemp), so runs of the suite side by side, from other
// checkouts on the same machine, never share or remove each other's files.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace purgent::testing {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix) {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp " + pattern + ": " + std::strerror(errno));
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace purgent::testing
