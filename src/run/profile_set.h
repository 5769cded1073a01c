#pragma once
#include <string>
#include <vector>

namespace purgent {

// Profile folder names under "Documents and Settings"; on the NT family the
// first entry is "" and stands for the current user.
using ProfileSet = std::vector<std::string>;

// The ProfileList subkey (the user's SID) each ProfileSet entry was found
// under, by position; "" for the current user and the appended logon name.
using ProfileSids = std::vector<std::string>;

}  // namespace purgent
