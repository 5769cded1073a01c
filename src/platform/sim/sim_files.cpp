#include "platform/sim/sim_files.h"

#include "platform/registry_service.h"
#include "platform/sim/sim_names.h"

namespace purgent::sim {

FindHandle SimFiles::FindFirst(const std::string& mask, FoundFile& entry) {
    const auto slash = mask.rfind('\\');
    const std::string folder = slash == std::string::npos ? "" : mask.substr(0, slash);
    const std::string pattern = slash == std::string::npos ? mask : mask.substr(slash + 1);
    const FindHandle handle = nextHandle_++;
    listings_[handle] = Listing{folder, drive_.Entries(folder.empty() ? "." : folder, pattern), 0};
    if (FindNext(handle, entry)) return handle;
    listings_.erase(handle);
    return NoFind;
}

bool SimFiles::FindNext(FindHandle find, FoundFile& entry) {
    const auto it = listings_.find(find);
    if (it == listings_.end()) return false;
    Listing& listing = it->second;
    while (listing.next < listing.entries.size()) {
        FoundFile candidate = listing.entries[listing.next++];
        if (candidate.name != "." && candidate.name != "..") {
            candidate.attributes = drive_.Attributes(listing.folder + "\\" + candidate.name);
            if (candidate.attributes == NoSuchFile) continue;  // deleted since the listing began
        }
        entry = candidate;
        return true;
    }
    return false;
}

void SimFiles::FindClose(FindHandle find) { listings_.erase(find); }

std::uint32_t SimFiles::GetAttributes(const std::string& path) { return drive_.Attributes(path); }

long SimFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const std::uint32_t before = drive_.Attributes(path);
    if (!drive_.SetAttributes(path, attributes)) return winerr::FileNotFound;
    if (drive_.Attributes(path) != before) trace_.Event("file-attr", {path, std::to_string(attributes)});
    return winerr::Success;
}

bool SimFiles::RemoveFile(const std::string& path) {
    if (!drive_.DeleteFile(path)) return false;
    trace_.Event("file-delete", {path});
    return true;
}

bool SimFiles::RemoveFolder(const std::string& path) {
    if (!drive_.RemoveFolder(path)) return false;
    trace_.Event("dir-remove", {path});
    return true;
}

std::string SimFiles::FullPathName(const std::string& path) { return path.empty() ? "" : FullPath(path); }

std::string SimFiles::LongPathName(const std::string& path) {
    return drive_.Attributes(path) == NoSuchFile ? "" : path;
}

}  // namespace purgent::sim
