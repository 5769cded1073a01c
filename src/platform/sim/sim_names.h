#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace purgent::sim {

// Windows matches registry and file names case-insensitively.
std::string FoldName(std::string_view name);
bool SameName(std::string_view a, std::string_view b);
// The order in which Windows enumerates subkeys: by upper-cased name.
bool NameLess(const std::string& a, const std::string& b);

// "A\B\C" -> {"A", "B", "C"} (views of path); a trailing separator is
// ignored. An empty component elsewhere makes the path invalid: ok = false.
std::vector<std::string_view> SplitPath(std::string_view path, bool& ok);

// A file path as GetFullPathNameA gives it: absolute (a path without a drive
// lies on C:, the drive the program runs from), "\" and "/" as separators,
// repeated separators merged, "." and ".." segments resolved (never above the
// drive or share), one trailing dot dropped from each segment a separator
// follows, every trailing dot and blank from the last one. A trailing
// separator stays.
std::string FullPath(const std::string& path);

}  // namespace purgent::sim
