#include "platform/preview/capture_record.h"

#include <algorithm>

#include "platform/preview/preview_text.h"

namespace purgent {

using preview::Folded;

namespace {

const std::string kUsers = "HKEY_USERS\\";

// Each folder above a path, drive root left out: "C:\\a\\b\\c" gives "C:\\a", "C:\\a\\b".
std::vector<std::string> FoldersAbove(const std::string& path) {
    std::vector<std::string> folders;
    const auto root = path.find('\\');
    if (root == std::string::npos) return folders;
    for (auto end = path.find('\\', root + 1); end != std::string::npos; end = path.find('\\', end + 1))
        folders.push_back(path.substr(0, end));
    return folders;
}

}  // namespace

std::string CaptureRecord::HiveFileOf(const std::string& path, std::string& written) const {
    for (const auto& [mount, file] : mounts_) {
        const std::string top = Folded(kUsers) + mount;
        if (!preview::AtOrBelow(Folded(path), top)) continue;
        written = "HKEY_CURRENT_USER" + path.substr(top.size());
        return file;
    }
    written = path;
    return "";
}

image::RegistryKeys& CaptureRecord::DocumentOf(const std::string& path, std::string& written) {
    const std::string file = HiveFileOf(path, written);
    return file.empty() ? keys_ : hives_[Folded(file)].keys;
}

image::RegistryKeys CaptureRecord::WithoutLinks(const image::RegistryKeys& keys, const std::string& hiveFile) const {
    image::RegistryKeys kept = keys;
    std::erase_if(kept, [&](const image::RegistryKey& key) {
        return std::any_of(links_.begin(), links_.end(), [&](const image::RegistryLink& link) {
            return Folded(link.hive) == Folded(hiveFile) && Folded(link.key) == Folded(key.path);
        });
    });
    return kept;
}

image::RegistryKey& CaptureRecord::At(image::RegistryKeys& keys, const std::string& path) {
    // One index for every document: a document's keys are told apart by its address.
    const std::string id = std::to_string(reinterpret_cast<std::uintptr_t>(&keys)) + "|" + Folded(path);
    const auto found = keyIndex_.find(id);
    if (found != keyIndex_.end()) return keys[found->second];
    keyIndex_[id] = keys.size();
    keys.push_back({path, {}, false});
    return keys.back();
}

void CaptureRecord::Key(const std::string& path, std::vector<image::RegistryValue> values) {
    if (!opened_.insert(Folded(path)).second) return;
    std::string written;
    image::RegistryKeys& document = DocumentOf(path, written);
    At(document, written).values = std::move(values);
}

void CaptureRecord::ListedKey(const std::string& path) {
    std::string written;
    image::RegistryKeys& document = DocumentOf(path, written);
    At(document, written);
}

void CaptureRecord::DeniedKey(const std::string& path) {
    ListedKey(path);
    if (std::none_of(denied_.begin(), denied_.end(), [&](const std::string& key) { return Folded(key) == Folded(path); }))
        denied_.push_back(path);
}

void CaptureRecord::Link(const std::string& path, const std::string& target) {
    std::string written;
    const std::string hive = HiveFileOf(path, written);
    const bool known = std::any_of(links_.begin(), links_.end(), [&](const image::RegistryLink& link) {
        return Folded(link.hive) == Folded(hive) && Folded(link.key) == Folded(written);
    });
    if (!known) links_.push_back({written, target, hive});
}

void CaptureRecord::HiveMounted(const std::string& mountName, const std::string& file) {
    const std::string top = Folded(kUsers + mountName);
    // The same names below the mount are another user's keys now.
    std::erase_if(opened_, [&](const std::string& key) { return preview::AtOrBelow(key, top); });
    mounts_[Folded(mountName)] = file;
    hives_[Folded(file)].file = file;
}

void CaptureRecord::HiveUnmounted(const std::string& mountName) { mounts_.erase(Folded(mountName)); }

void CaptureRecord::Item(const std::string& path, std::uint32_t attributes) {
    if (path.size() <= 3) return;  // a drive root is no item of an image
    items_.emplace(Folded(path), std::pair{path, attributes});
}

void CaptureRecord::HeldFile(const std::string& path) {
    if (std::none_of(held_.begin(), held_.end(), [&](const std::string& file) { return Folded(file) == Folded(path); }))
        held_.push_back(path);
}

void CaptureRecord::Link(const std::string& link, const std::string& target, bool listable) {
    const auto same = [&](const image::Junction& known) { return Folded(known.link) == Folded(link); };
    if (std::any_of(junctions_.begin(), junctions_.end(), same) ||
        std::any_of(reparsePoints_.begin(), reparsePoints_.end(), same))
        return;
    (listable ? reparsePoints_ : junctions_).push_back({link, target});
}

void CaptureRecord::Process(std::uint32_t id, const std::string& image, bool queryable) {
    const auto found = std::find_if(processes_.begin(), processes_.end(), [&](const auto& entry) { return entry.first == id; });
    if (found == processes_.end()) {
        processes_.push_back({id, {image, queryable && !image.empty(), true, {}}});
    } else if (!image.empty()) {
        found->second.image = image;
        found->second.queryable = queryable;
    }
}

void CaptureRecord::Window(const std::string& title, const std::string& className, std::uint32_t processId) {
    windowProcesses_[static_cast<std::uint32_t>(windows_.size())] = processId;
    windows_.push_back({title, className, true, "", {}});
}

image::MachineImage CaptureRecord::Image() const {
    image::MachineImage captured;
    captured.registry = WithoutLinks(keys_, "");
    captured.machine.registryLinks = links_;
    captured.machine.machine = settings_;
    captured.machine.denied = denied_;
    captured.machine.locked = held_;
    captured.machine.junctions = junctions_;
    captured.machine.reparsePoints = reparsePoints_;
    std::map<std::uint32_t, std::string> images;
    for (const auto& [id, entry] : processes_) {
        image::ProcessEntry process = entry;
        if (process.image.empty()) process.image = "process-" + std::to_string(id) + ".exe";
        images[id] = process.image;
        captured.machine.processes.push_back(process);
    }
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        image::WindowEntry window = windows_[i];
        const auto process = images.find(windowProcesses_.at(static_cast<std::uint32_t>(i)));
        if (process != images.end()) window.process = process->second;
        captured.machine.windows.push_back(window);
    }
    std::map<std::string, image::DriveItem> drive;  // by folded path: each folder before what it holds
    for (const auto& [folded, item] : items_) {
        for (const std::string& folder : FoldersAbove(item.first)) drive.emplace(Folded(folder), image::DriveItem{folder, true, {}});
        drive[folded] = {item.first, (item.second & 0x10) != 0, {}};
        if (item.second & 0x07) captured.machine.attributes.push_back({item.first, item.second & 0x07u});
    }
    for (const auto& [folded, hive] : hives_) {
        for (const std::string& folder : FoldersAbove(hive.file)) drive.emplace(Folded(folder), image::DriveItem{folder, true, {}});
        const std::string text = image::WriteRegText(WithoutLinks(hive.keys, hive.file));
        drive[folded] = {hive.file, false, image::Bytes(text.begin(), text.end())};
    }
    for (auto& [folded, item] : drive) captured.drive.push_back(std::move(item));
    return captured;
}

}  // namespace purgent
