#pragma once
// 8.3 short names as Windows makes them on a volume that has them.
#include <set>
#include <string>

namespace purgent::sim {

// Whether name is a valid 8.3 name itself (in any case): it gets no other.
bool IsShortName(const std::string& name);
// The short name Windows gives name in a folder whose short names (each as
// FoldName gives it) are taken: up to six characters of the base name without blanks and dots,
// "~N" with the lowest free N, and up to three characters of the extension,
// in upper case. "" for a valid 8.3 name. Windows switches to a hashed form
// after "~4"; the simulator goes on counting.
std::string MakeShortName(const std::string& name, const std::set<std::string>& taken);

}  // namespace purgent::sim
