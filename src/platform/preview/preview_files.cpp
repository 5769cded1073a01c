#include "platform/preview/preview_files.h"

#include "platform/preview/preview_text.h"
#include "platform/registry_service.h"

namespace purgent {

using preview::Folded;

namespace {

bool IsDots(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

std::string PreviewFiles::Full(const std::string& path) {
    std::string full = real_.FullPathName(path);
    if (full.empty()) full = path;
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
}

std::string PreviewFiles::Final(const std::string& path) {
    const std::string full = Full(path);
    const std::string final = real_.FinalPathName(full);
    if (!final.empty()) return final;
    const std::string longName = real_.LongPathName(full);
    return longName.empty() ? full : longName;
}

std::string PreviewFiles::KeyOf(const std::string& path) { return Folded(Final(path)); }

std::string PreviewFiles::FinalFolder(const std::string& folder) {
    if (folder.size() == 2 && folder[1] == ':') return std::string(1, image::FoldCase(folder[0])) + ":";
    std::string final = folder.size() < 2 ? folder : Final(folder);
    while (!final.empty() && final.back() == '\\') final.pop_back();
    return final;
}

void PreviewFiles::CaptureLinksOn(const std::string& full) {
    const auto root = full.find('\\');
    if (root == std::string::npos) return;
    for (auto end = full.find('\\', root + 1);; end = full.find('\\', end + 1)) {
        const std::string prefix = full.substr(0, end);
        if (walked_.insert(Folded(prefix)).second)
            CaptureLinkAt(prefix, FinalFolder(prefix.substr(0, prefix.rfind('\\'))) + "\\" + ListedName(prefix));
        if (end == std::string::npos) return;
    }
}

void PreviewFiles::CaptureLinkAt(const std::string& path, const std::string& expected) {
    const std::string leads = real_.FinalPathName(path);
    if (leads.empty() || Folded(leads) == Folded(expected)) return;
    const std::uint32_t attributes = real_.GetAttributes(path);
    if (attributes == NoSuchFile) return;
    // Wine gives a link to a file no reparse-point attribute; without it,
    // only a final path in another folder tells a link from a name
    // spelled otherwise (a short name).
    const auto folderOf = [](const std::string& item) { return Folded(item.substr(0, item.rfind('\\'))); };
    if (!(attributes & FileAttrReparsePoint) && folderOf(leads) == folderOf(expected)) return;
    state_.Capture()->Link(expected, leads, !(attributes & FileAttrFolder) || Listable(path));
}

std::string PreviewFiles::ListedName(const std::string& path) {
    FoundFile entry;
    const FindHandle find = real_.FindFirst(path, entry);
    if (find == NoFind) return path.substr(path.rfind('\\') + 1);
    real_.FindClose(find);
    return entry.name;
}

bool PreviewFiles::Listable(const std::string& folder) {
    FoundFile entry;
    const FindHandle find = real_.FindFirst(folder + "\\*", entry);
    if (find == NoFind) return false;
    real_.FindClose(find);
    return true;
}

bool PreviewFiles::Gone(const std::string& key) const {
    for (auto end = key.find('\\');; end = key.find('\\', end + 1)) {
        if (deleted_.count(key.substr(0, end))) return true;
        if (end == std::string::npos) return false;
    }
}

bool PreviewFiles::Failed(long error) {
    removeError_ = error;
    return false;
}

std::vector<FoundFile> PreviewFiles::Listed(const std::string& mask, std::string& folder) {
    folder = mask.substr(0, mask.find_last_of("\\/") + 1);
    const std::string folderFinal = FinalFolder(folder.empty() ? "." : folder);
    const std::string folderKey = Folded(folderFinal);
    std::vector<FoundFile> listed;
    FoundFile entry;
    CaptureRecord* capture = state_.Capture();
    if (capture) CaptureLinksOn(Full(folder.empty() ? "." : folder));
    const FindHandle find = real_.FindFirst(mask, entry);
    if (find == NoFind) return listed;
    do {
        if (!IsDots(entry.name)) {
            if (capture) {
                const std::string expected = folderFinal + "\\" + entry.name;
                capture->Item(Final(folder + entry.name), entry.attributes);
                if (walked_.insert(Folded(expected)).second) CaptureLinkAt(folder + entry.name, expected);
            }
            const std::string key = folderKey + "\\" + Folded(entry.name);
            if (Gone(key)) continue;
            const auto set = attributes_.find(key);
            if (set != attributes_.end()) entry.attributes = set->second | (entry.attributes & FileAttrFolder);
        }
        listed.push_back(entry);
    } while (real_.FindNext(find, entry));
    real_.FindClose(find);
    return listed;
}

bool PreviewFiles::Next(Listing& listing, FoundFile& entry) {
    // An entry deleted before its turn is passed over, as on Windows.
    while (listing.next < listing.entries.size()) {
        const FoundFile& found = listing.entries[listing.next++];
        if (IsDots(found.name) || !Gone(KeyOf(listing.folder + found.name))) {
            entry = found;
            return true;
        }
    }
    return false;
}

FindHandle PreviewFiles::FindFirst(const std::string& mask, FoundFile& entry) {
    if (!state_.active) return real_.FindFirst(mask, entry);
    Listing listing;
    listing.entries = Listed(mask, listing.folder);
    if (!Next(listing, entry)) return NoFind;
    listings_[nextListing_] = std::move(listing);
    return nextListing_++;
}

bool PreviewFiles::FindNext(FindHandle find, FoundFile& entry) {
    if (!state_.active) return real_.FindNext(find, entry);
    const auto listing = listings_.find(find);
    return listing != listings_.end() && Next(listing->second, entry);
}

void PreviewFiles::FindClose(FindHandle find) {
    if (!state_.active) return real_.FindClose(find);
    listings_.erase(find);
}

std::uint32_t PreviewFiles::GetAttributes(const std::string& path) {
    if (!state_.active) return real_.GetAttributes(path);
    const std::string key = KeyOf(path);
    if (Gone(key)) return NoSuchFile;
    const std::uint32_t attributes = real_.GetAttributes(path);
    if (attributes == NoSuchFile) return NoSuchFile;
    if (CaptureRecord* capture = state_.Capture()) {
        CaptureLinksOn(Full(path));
        capture->Item(Final(path), attributes);
    }
    const auto set = attributes_.find(key);
    return set == attributes_.end() ? attributes : set->second | (attributes & FileAttrFolder);
}

long PreviewFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
    if (!state_.active) return real_.SetAttributes(path, attributes);
    if (GetAttributes(path) == NoSuchFile) return winerr::FileNotFound;
    attributes_[KeyOf(path)] = attributes;
    return winerr::Success;
}

bool PreviewFiles::RemoveFile(const std::string& path) {
    if (!state_.active) return real_.RemoveFile(path);
    const std::uint32_t attributes = GetAttributes(path);
    if (attributes == NoSuchFile) return Failed(winerr::FileNotFound);
    if (attributes & FileAttrFolder) return Failed(winerr::AccessDenied);
    if (const long access = DeleteAccess(path)) return Failed(access);
    if (attributes & FileAttrReadOnly) return Failed(winerr::AccessDenied);
    deleted_.insert(KeyOf(path));
    removeError_ = winerr::Success;
    return true;
}

long PreviewFiles::DeleteAccess(const std::string& path) {
    const long access = real_.DeleteAccess(path);
    if (access == winerr::SharingViolation && state_.Capture()) state_.Capture()->HeldFile(Final(path));
    return access;
}

long PreviewFiles::DeleteAtRestart(const std::string& path) {
    if (!state_.active) return real_.DeleteAtRestart(path);
    state_.Note("restart-pending\t" + path + "\tnot scheduled");
    return winerr::Success;
}

bool PreviewFiles::RemoveFolder(const std::string& path) {
    if (!state_.active) return real_.RemoveFolder(path);
    const std::uint32_t attributes = GetAttributes(path);
    if (attributes == NoSuchFile) return Failed(winerr::FileNotFound);
    if (!(attributes & FileAttrFolder)) return Failed(winerr::Directory);
    // Removing a junction would take the link, not the folder it names.
    if (attributes & FileAttrReparsePoint) return Failed(winerr::AccessDenied);
    std::string folder;
    for (const FoundFile& entry : Listed(path + "\\*", folder))
        if (!IsDots(entry.name)) return Failed(winerr::DirNotEmpty);
    deleted_.insert(KeyOf(path));
    removeError_ = winerr::Success;
    return true;
}

std::string PreviewFiles::FinalPathName(const std::string& path) {
    if (state_.active && Gone(KeyOf(path))) return "";
    return real_.FinalPathName(path);
}

std::string PreviewFiles::LongPathName(const std::string& path) {
    if (state_.active && Gone(KeyOf(path))) return "";
    return real_.LongPathName(path);
}

}  // namespace purgent
