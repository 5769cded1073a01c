#pragma once
#include <optional>
#include <string>

#include "image/machine_image.h"
#include "platform/registry_service.h"

namespace purgent {

// One program folder as a run found it, and whether the run verified it.
struct RecordedFolder {
    std::string path;       // as found: App Paths, an earlier record or the default
    bool verified = false;  // the run may empty it (link guard, own-folder rule, the program's files)
};

// The program folders a run found, recorded before its first change and
// removed when it completes: the run after an interrupted one still finds
// the folders whose App Paths entries the interrupted run deleted, and knows
// which of them it verified, as the interrupted run may have deleted the
// files that showed the program. It is Purgent's own state, kept in a key
// only administrators may write: a file in a folder users may write could be
// planted to widen what a run deletes.
struct FolderRecord {
    RecordedFolder groupWise;
    RecordedFolder messenger;
};

// HKEY_LOCAL_MACHINE\Software\Purgent: per folder a string value with its
// path, and a number 1 beside it when it was verified.
constexpr const char* FolderRecordKey = "Software\\Purgent";
constexpr const char* FolderRecordKeyPath = "HKEY_LOCAL_MACHINE\\Software\\Purgent";

// The key as the record is written.
image::RegistryKey FolderRecordKeyOf(const FolderRecord& record);
// The record a registry holds; nullopt when it holds none. A value of
// another type than the record writes names nothing.
std::optional<FolderRecord> ReadFolderRecordKey(RegistryService& registry);

}  // namespace purgent
