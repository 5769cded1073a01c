#include "platform/sim/sim_drive.h"

#include "platform/sim/sim_names.h"

namespace purgent::sim {

namespace {
// "C:\A\" and "C:\A" name the same folder.
std::string ItemKey(const std::string& path) {
    std::string key = FoldName(path);
    while (key.size() > 1 && key.back() == '\\') key.pop_back();
    return key;
}
}  // namespace

SimDrive::SimDrive(const image::DriveItems& items) {
    for (const image::DriveItem& item : items) items_[ItemKey(item.path)] = item;
}

const image::DriveItem* SimDrive::Find(const std::string& path) const {
    const auto it = items_.find(ItemKey(path));
    return it == items_.end() ? nullptr : &it->second;
}

bool SimDrive::FileExists(const std::string& path) const {
    const image::DriveItem* item = Find(path);
    return item && !item->folder;
}

bool SimDrive::WriteFile(const std::string& path, const std::string& contents) {
    const auto it = items_.find(ItemKey(path));
    if (it == items_.end() || it->second.folder) return false;
    it->second.contents.assign(contents.begin(), contents.end());
    return true;
}

image::DriveItems SimDrive::Items() const {
    // A folder's path is a prefix of everything it holds, so map order puts it first.
    image::DriveItems items;
    for (const auto& [key, item] : items_) items.push_back(item);
    return items;
}

}  // namespace purgent::sim
