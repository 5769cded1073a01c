#pragma once
#include <optional>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "platform/registry_service.h"

namespace purgent {

// The program folders a run verified (link guard, own-folder rule, the
// program's files), recorded before its first change and removed when it
// completes: a run after an interrupted one still finds the folders whose
// App Paths entries the interrupted run deleted. It is Purgent's own state,
// kept in a key only administrators may write: a file in a folder users may
// write could be planted to widen what a run deletes. "" = not verified.
struct VerifiedFolders {
    std::string groupWiseDir;
    std::string messengerDir;
};

// HKEY_LOCAL_MACHINE\Software\Purgent, one string value per folder.
constexpr const char* VerifiedFoldersKey = "Software\\Purgent";
constexpr const char* VerifiedFoldersKeyPath = "HKEY_LOCAL_MACHINE\\Software\\Purgent";
constexpr const char* GroupWiseDirValue = "GroupWiseDir";
constexpr const char* MessengerDirValue = "MessengerDir";

// The key as the record writes it.
image::RegistryKey VerifiedFoldersKeyOf(const VerifiedFolders& folders);
// The record a registry holds; nullopt when it holds none. A value that is
// not a string names no folder.
std::optional<VerifiedFolders> ReadVerifiedFoldersKey(RegistryService& registry);

}  // namespace purgent
