#include "platform/sim/sim_files.h"

#include "platform/registry_service.h"
#include "platform/sim/sim_names.h"
#include "platform/sim/sim_pending_deletions.h"

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
    return drive_.SetAttributes(path, attributes) ? winerr::Success : winerr::FileNotFound;
}

bool SimFiles::RemoveFile(const std::string& path) {
    removeError_ = drive_.DeleteFile(path);
    return removeError_ == winerr::Success;
}

bool SimFiles::RemoveFolder(const std::string& path) {
    removeError_ = drive_.RemoveFolder(path);
    return removeError_ == winerr::Success;
}

long SimFiles::DeleteAccess(const std::string& path) {
    const std::uint32_t attributes = drive_.Attributes(path);
    if (attributes == NoSuchFile) return winerr::FileNotFound;
    return drive_.Locked(path) ? winerr::SharingViolation : winerr::Success;
}

long SimFiles::DeleteAtRestart(const std::string& path) { return AddPendingDeletion(registry_, FullPathName(path)); }

long SimFiles::CreateFolder(const std::string& path) { return drive_.CreateFolder(path); }

WriteHandle SimFiles::CreateForWriting(const std::string& path, WriteStart start, WriteRefusal& refusal) {
    refusal = drive_.IsLink(path) ? WriteRefusal::Link : WriteRefusal::CannotCreate;
    if (refusal == WriteRefusal::Link || !drive_.CreateHeldFile(path, start == WriteStart::Empty)) return NoWrite;
    refusal = WriteRefusal::None;
    written_[nextWritten_] = path;
    return nextWritten_++;
}

bool SimFiles::Write(WriteHandle file, const std::string& bytes) {
    const auto it = written_.find(file);
    return it != written_.end() && drive_.AppendToFile(it->second, bytes);
}

void SimFiles::CloseWritten(WriteHandle file) {
    const auto it = written_.find(file);
    if (it == written_.end()) return;
    drive_.ReleaseFile(it->second);
    written_.erase(it);
}

std::string SimFiles::FullPathName(const std::string& path) { return path.empty() ? "" : FullPath(path); }

std::string SimFiles::LongPathName(const std::string& path) {
    return drive_.Attributes(path) == NoSuchFile ? "" : path;
}

bool SimFiles::OpenToUsers(const std::string& folder) { return drive_.OpenToUsers(folder); }

bool SimFiles::OnNetworkDrive(const std::string& path) { return drive_.OnNetworkDrive(path); }

std::string SimFiles::FinalPathName(const std::string& path) {
    const image::DriveItem* item = drive_.Find(path);
    return item ? item->path : "";
}

}  // namespace purgent::sim
