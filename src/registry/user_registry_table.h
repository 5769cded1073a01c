#pragma once
// The literal table of the per-user registry catalogue, in the order the
// catalogue walks it. Kept apart from the code that walks it.
#include <string>
#include <vector>

namespace purgent {

struct UserRegistryTable {
    std::vector<std::string> keyTrees;
    std::string msxmlAssemblies;
    std::string msxmlValue;           // removed only when present ...
    std::string msxmlResourceValue;   // ... together with this one
    std::string handoffPriorities;
    std::vector<std::string> messagingProfiles;
    std::string novellDefaultSettings;  // below each messaging profiles key
    std::string fileExts;
    std::vector<std::string> openWithExtensions;
    std::string groupWiseSettings;
    std::string spellChecker;
    std::string userWordList;         // only with the Writing Tools
};

const UserRegistryTable& UserRegistry();

}  // namespace purgent
