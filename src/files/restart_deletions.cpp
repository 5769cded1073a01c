#include "files/restart_deletions.h"

#include <cstdint>
#include <vector>

#include "platform/mask_listing.h"
#include "platform/pending_deletions.h"
#include "platform/registry_service.h"

namespace purgent {

std::string RestartDeletions::Key(const std::string& path) {
    std::string key = text_.UpperCase(path);
    while (key.size() > 3 && key.back() == '\\') key.pop_back();
    return key;
}

bool RestartDeletions::ListedBefore(const std::string& path) {
    if (!listedBefore_) {
        listedBefore_.emplace();
        RegKey key = 0;
        if (registry_.OpenKey(HkeyLocalMachine, SessionManagerSubKey, key) != winerr::Success) return false;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        if (registry_.QueryValue(key, PendingDeletionsValue, type, data) == winerr::Success && type == RegMultiSz)
            for (const std::string& listed : PendingDeletionPaths(data)) listedBefore_->insert(Key(listed));
        registry_.CloseKey(key);
    }
    const std::string full = files_.FullPathName(path);
    return listedBefore_->count(Key(full.empty() ? path : full)) != 0;
}

bool RestartDeletions::Schedule(const std::string& path) {
    // Listed twice, Windows would delete once and fail once: a rerun before
    // the restart lists nothing again, and the job still waits for it.
    if (ListedBefore(path))
        environment_.Note("restart-pending", path);
    else if (files_.DeleteAtRestart(path) != winerr::Success)
        return false;
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
