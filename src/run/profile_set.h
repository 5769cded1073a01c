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

// Each ProfileSet entry's own folder, by position ("D:\\Profiles\\bob"): where
// its hive and its files are; "" for the current user.
using ProfileFolders = std::vector<std::string>;

}  // namespace purgent
