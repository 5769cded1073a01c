#include "platform/folder_record.h"

#include <algorithm>

namespace purgent {

namespace {

struct FolderValues {
    RecordedFolder FolderRecord::*folder;
    const char* path;
    const char* verified;
};

const FolderValues RecordValues[] = {
    {&FolderRecord::groupWise, "GroupWiseDir", "GroupWiseDirVerified"},
    {&FolderRecord::messenger, "MessengerDir", "MessengerDirVerified"},
};

bool Query(RegistryService& registry, RegKey key, const char* name, std::uint32_t type,
           std::vector<std::uint8_t>& data) {
    std::uint32_t found = RegNone;
    return registry.QueryValue(key, name, found, data) == winerr::Success && found == type;
}

}  // namespace

image::RegistryKey FolderRecordKeyOf(const FolderRecord& record) {
    image::RegistryKey key{FolderRecordKeyPath, {}, false};
    for (const FolderValues& values : RecordValues) {
        const RecordedFolder& folder = record.*values.folder;
        if (folder.path.empty()) continue;
        image::Bytes path(folder.path.begin(), folder.path.end());
        path.push_back(0);
        key.values.push_back({values.path, RegSz, path, false});
        if (folder.verified) key.values.push_back({values.verified, RegDword, {1, 0, 0, 0}, false});
    }
    return key;
}

std::optional<FolderRecord> ReadFolderRecordKey(RegistryService& registry) {
    RegKey key = 0;
    if (registry.OpenKey(HkeyLocalMachine, FolderRecordKey, key) != winerr::Success) return std::nullopt;
    FolderRecord record;
    for (const FolderValues& values : RecordValues) {
        RecordedFolder& folder = record.*values.folder;
        std::vector<std::uint8_t> data;
        if (!Query(registry, key, values.path, RegSz, data)) continue;
        folder.path.assign(data.begin(), std::find(data.begin(), data.end(), 0));
        folder.verified = Query(registry, key, values.verified, RegDword, data) &&
                          data == std::vector<std::uint8_t>{1, 0, 0, 0};
    }
    registry.CloseKey(key);
    return record;
}

}  // namespace purgent
