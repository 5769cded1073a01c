#include "files/restart_deletions.h"

#include "platform/mask_listing.h"
#include "platform/registry_service.h"

namespace purgent {

std::string RestartDeletions::Key(const std::string& path) {
    std::string key = text_.UpperCase(path);
    while (key.size() > 3 && key.back() == '\\') key.pop_back();
    return key;
}

bool RestartDeletions::Schedule(const std::string& path) {
    if (files_.DeleteAtRestart(path) != winerr::Success) return false;
    scheduled_.insert(Key(path));
    return true;
}

bool RestartDeletions::ScheduleIfHeld(const std::string& path) {
    if (files_.DeleteAccess(path) != winerr::SharingViolation) return false;
    if (Scheduled(path)) return true;
    return !(files_.GetAttributes(path) & FileAttrReadOnly) && Schedule(path);
}

void RestartDeletions::ScheduleIfKeptOnlyByThem(const std::string& folder) {
    if (!Any() || Scheduled(folder)) return;
    const std::string prefix = Key(folder) + "\\";
    bool keptByThem = false;
    for (MaskListing listing(files_, prefix + "*"); listing.HasEntry(); listing.Next()) {
        const std::string& name = listing.Entry().name;
        if (name == "." || name == "..") continue;
        if (!Scheduled(prefix + name)) return;
        keptByThem = true;
    }
    if (keptByThem) Schedule(folder);
}

}  // namespace purgent
