#pragma once
// Paths as UTF-8 text, on Linux (bytes) and Windows (UTF-16) alike.
#include <filesystem>
#include <string>

namespace purgent::fleet {

std::filesystem::path PathFromUtf8(const std::string& text);
std::string Utf8Of(const std::filesystem::path& path);

}  // namespace purgent::fleet
