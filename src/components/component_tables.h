#pragma once
// The literal tables of the DLL deregistration and of the Messenger removal,
// in the order the phases walk them. Kept apart from the code that walks them.
#include <string>
#include <vector>

#include "run/install_locations.h"

namespace purgent {

using Names = std::vector<std::string>;

// One folder listing whose DLLs are unregistered one by one.
struct DllPass {
    std::string InstallLocations::*base;  // the location the folder starts from
    std::string subfolder;                // appended to it
    std::string pattern;
    bool countedFirst;   // the matches are added to the progress maximum first
    bool ownFolderOnly;  // a folder named by the registry: only a folder of its own
    bool withExclusions;
};
using DllPasses = std::vector<DllPass>;

// A file-phase step that takes one path: a location and a literal.
enum class PathAction { DeleteIfExists, RemoveDirIfExists };
struct LocatedPath {
    PathAction action;
    std::string InstallLocations::*base;
    std::string literal;
};

// A value removed from one key of every user's hive.
struct UserValue {
    std::string key;
    std::string name;
};

struct DllDeregistrationTable {
    std::string regSvr;  // appended to the Windows folder
    Names exclusions;    // upper case
    DllPasses clientPasses;
};

struct MessengerTable {
    // Block 1: registry, after the DLLs.
    DllPass dllPass;
    Names classesRootKeys;
    Names machineKeys;
    std::string imClients;         // its default names the default IM client
    std::string imDefault;         // blanked only when it is this one
    std::string explorerExtension;
    std::vector<UserValue> userValues;
    // Block 2: files.
    std::vector<LocatedPath> shortcuts;
    std::string profilesFolder;    // appended to the Windows drive letter
    std::string profileMask;
    std::string dataFolder;        // below each profile folder
    Names dataSubfolders;          // below the data folder, deepest first
    std::string purgePattern;
    std::string logFiles;          // below the program folder, purged and removed
    std::string installerInfo;     // appended to the Windows drive letter
    // Block 3: registry.
    Names userKeys;
    Names machineClassKeys;
};

const DllDeregistrationTable& DllCatalogue();
const MessengerTable& MessengerCatalogue();

}  // namespace purgent
