#include "platform/verified_folders.h"

#include <algorithm>

namespace purgent {

namespace {

image::RegistryValue StringValue(const char* name, const std::string& text) {
    image::RegistryValue value{name, RegSz, image::Bytes(text.begin(), text.end()), false};
    value.data.push_back(0);
    return value;
}

std::string ReadString(RegistryService& registry, RegKey key, const char* name) {
    std::uint32_t type = RegNone;
    std::vector<std::uint8_t> data;
    if (registry.QueryValue(key, name, type, data) != winerr::Success || type != RegSz) return "";
    return std::string(data.begin(), std::find(data.begin(), data.end(), 0));
}

}  // namespace

image::RegistryKey VerifiedFoldersKeyOf(const VerifiedFolders& folders) {
    image::RegistryKey key{VerifiedFoldersKeyPath, {}, false};
    if (!folders.groupWiseDir.empty()) key.values.push_back(StringValue(GroupWiseDirValue, folders.groupWiseDir));
    if (!folders.messengerDir.empty()) key.values.push_back(StringValue(MessengerDirValue, folders.messengerDir));
    return key;
}

std::optional<VerifiedFolders> ReadVerifiedFoldersKey(RegistryService& registry) {
    RegKey key = 0;
    if (registry.OpenKey(HkeyLocalMachine, VerifiedFoldersKey, key) != winerr::Success) return std::nullopt;
    VerifiedFolders folders{ReadString(registry, key, GroupWiseDirValue), ReadString(registry, key, MessengerDirValue)};
    registry.CloseKey(key);
    return folders;
}

}  // namespace purgent
