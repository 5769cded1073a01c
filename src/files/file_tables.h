#pragma once
// The literal tables of the client file catalogues, in the order the
// catalogues walk them. Kept apart from the code that walks them.
#include <string>
#include <vector>

#include "files/file_access.h"
#include "files/path_template.h"

namespace purgent {

using Names = std::vector<std::string>;

// A fixed start-up or desktop shortcut, deleted at every location of its kind.
struct FixedShortcut {
    std::string file;  // <F>
    bool desktop;      // else start-up
};

// Shortcuts and program groups.
struct ShortcutTable {
    PathTemplates shellFolderShortcuts;
    // The SendTo shortcuts of every registered profile: <Q> is the folder
    // name read from the profile's image path.
    std::string profileListKey;
    std::string profileImagePath;
    PathTemplates profileSendTo;
    PathTemplates defaultUserSendTo;
    Names shortcutNames;  // <N>
    PathTemplates programGroupShortcuts;
    PathTemplates profileShortcuts;     // per profile <P>, then for the logon user
    PathTemplates oldProfileShortcuts;  // per profile <P>
    PathTemplate localData;             // per profile <P>: purged and removed
    std::string localDataPattern;
    PathTemplate quickLaunchShortcut;
    PathTemplates logonUserOldProfileShortcuts;
    PathTemplates programGroups;
    std::vector<FixedShortcut> fixedShortcuts;
    PathTemplates startupLocations;  // with <F>
    PathTemplates desktopLocations;  // with <F>
};

// A subfolder of the program folder: its files, then the folders removed,
// and last, for the deepest one's parents, the program folder itself.
struct ProgramSubfolder {
    PathTemplate purged;
    Forced forced;
    PathTemplates removed;
    bool thenProgramFolder;
};

// Program and system files.
struct SystemFilesTable {
    PathTemplate systemFolder;    // ends in "\"
    PathTemplate system32Folder;  // ends in "\"
    Names systemFileNames;        // an entry holding "*" is a mask
    std::string wordIntegration;  // a name so starting that stays in system32 is reported
    PathTemplates installerCacheFiles;
    PathTemplate installerCacheFolder;
    PathTemplates webServicesFiles;
    PathTemplate programFolder;
    std::string programFolderPattern;
    std::vector<ProgramSubfolder> programSubfolders;
};

// A purge of the Writing Tools files: the mask is folder + pattern.
struct FolderPattern {
    PathTemplate folder;
    std::string pattern;
};

// Office integration and Writing Tools files.
struct OfficeFilesTable {
    PathTemplates fastFindFiles;
    std::vector<FolderPattern> writingToolsPurges;  // <UserProfileFolder>: the desktop's parent
    int firstOfficeVersion;
    int lastOfficeVersion;
    std::string excelInstallRoot;  // with <V>
    std::string excelPathValue;
    std::string excelDrives;       // first letters, lower case
    Names excelStartupFolders;     // <S>
    PathTemplates addInCandidates; // with <ExcelDir>, <S>
    PathTemplate odmaSettings;
};

const ShortcutTable& Shortcuts();
const SystemFilesTable& SystemFiles();
const OfficeFilesTable& OfficeFiles();

}  // namespace purgent
