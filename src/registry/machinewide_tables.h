#pragma once
// The literal tables of the four machine-wide registry catalogues, in the
// order the catalogues walk them. Kept apart from the code that walks them.
#include <string>
#include <vector>

#include "registry/catalogue_keys.h"

namespace purgent {

using Names = std::vector<std::string>;

// A key whose unnamed default is emptied when it contains one of the markers
// (case-sensitive).
struct DefaultHandler {
    std::string path;
    Names markers;
};
using DefaultHandlers = std::vector<DefaultHandler>;

// Values removed from one key when present.
struct ValueSet {
    std::string path;
    Names names;
};

// HKEY_LOCAL_MACHINE class registrations.
struct ClassRegistrationsTable {
    std::string classesKey;
    Names extensionKeys;  // relative to classesKey; removed without a report
    CatalogueKeys trees;
};

// HKEY_LOCAL_MACHINE application, uninstall and installer entries.
struct ApplicationEntriesTable {
    CatalogueKeys appPaths;
    std::string installerFolders;
    std::string userProgramsFolder;  // appended to the user's Programs folder
    Names groupWiseFolders;          // appended to the GroupWise folder
    CatalogueKeys upgradeCodeAndSystemProduct;
    std::string installerUserData;   // the accounts of the installer
    std::string clientProduct;       // packed product code
    std::string componentsKey;       // below an account
    std::string productsKey;         // below an account
    CatalogueKeys uninstallEntries;
    CatalogueKeys helpEntries;
    CatalogueKeys novellKeys;
    DefaultHandler contactFileType;
    CatalogueKeys mailNewsAndUninstall;
    Names freeBusyKeys;              // Outlook 10.0 and 11.0
    std::string freeBusyValue;
    std::string folderNamesKey;
    Names folderNameMarkers;         // case-sensitive
    CatalogueKeys systemComponentTrees;
    std::string systemComponents;    // prefix of the system account's component keys
    std::string secondProduct;       // packed product code
    Names systemComponentCodes;
    CatalogueKeys secondProductRecords;
};

// HKEY_LOCAL_MACHINE help files, Web Services components, shared DLLs,
// default handlers and MAPI applications.
struct WebServicesEntriesTable {
    ValueSet helpFiles;              // deleted without a presence test
    CatalogueKeys webServicesTrees;  // only with the Web Services option
    std::string sharedDlls;
    std::string groupWiseMarker;     // the shared-DLL markers, lower case
    std::string clientMarker;
    std::string writingToolsMarker;
    std::string webServicesMarker;
    DefaultHandlers defaultHandlers;
    ValueSet mapiApps;
};

// HKEY_CLASSES_ROOT cleanup.
struct ClassesRootTable {
    DefaultHandlers defaultHandlers;
    CatalogueKeys trees;             // two of them are relative names
    std::string assemblies;
    std::string msxmlAssembly;       // removed only when present ...
    std::string msxmlResourceAssembly;  // ... together with this one
};

const ClassRegistrationsTable& ClassRegistrations();
const ApplicationEntriesTable& ApplicationEntries();
const WebServicesEntriesTable& WebServicesEntries();
const ClassesRootTable& ClassesRoot();

}  // namespace purgent
