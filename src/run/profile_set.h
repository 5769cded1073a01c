#pragma once
#include <string>
#include <vector>

namespace purgent {

// Profile folder names under "Documents and Settings"; on the NT family the
// first entry is "" and stands for the current user.
using ProfileSet = std::vector<std::string>;

}  // namespace purgent
