#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <functional>

#include "image/reg_text_writer.h"
#include "platform/sim/sim_import.h"
#include "platform/sim/sim_names.h"

namespace purgent::sim {

namespace {

std::shared_ptr<SimKey> AddPath(const std::shared_ptr<SimKey>& from, const std::vector<std::string_view>& parts,
                                std::size_t first) {
    std::shared_ptr<SimKey> key = from;
    for (std::size_t i = first; i < parts.size(); ++i) key = key->AddSubkey(parts[i]);
    return key;
}

// Visits the keys at and below `key` (path: its full path), parents before
// children, as regedit exports; mounted hives are left out. A root is
// visited only for values of its own: roots exist without being named.
using KeyVisit = std::function<void(const SimKey& key, const std::string& path)>;

void ForEachKey(const SimKey& key, std::string& path, const KeyVisit& visit, bool root = false) {
    if (!root || !key.Values().empty()) visit(key, path);
    for (const auto& sub : key.Subkeys()) {
        if (sub->Hive() != key.Hive()) continue;
        const std::size_t length = path.size();
        path += '\\';
        path += sub->Name();
        ForEachKey(*sub, path, visit);
        path.resize(length);
    }
}

// Windows follows a bounded number of links in one open, so a loop of links
// ends; Wine fails the 33rd with ERROR_INVALID_PARAMETER.
constexpr int MaxLinkHops = 32;

// A visit that appends each key with its values, as an image holds them; a
// link key is saved as a link, not as a key.
KeyVisit SavingTo(image::RegistryKeys& keys) {
    return [&keys](const SimKey& key, const std::string& path) {
        if (key.IsLink()) return;
        image::RegistryKey& saved = keys.emplace_back(image::RegistryKey{path, {}, false});
        for (const SimValue& value : key.Values()) saved.values.push_back({value.name, value.type, value.data, false});
    };
}

}  // namespace

bool SimRegistry::IsClassesKey(const SimKey& key) const {
    const SimKey* software = key.Parent();
    return software && software->Parent() == localMachine_.get() && SameName(software->Name(), "SOFTWARE") &&
           SameName(key.Name(), "Classes");
}

SimRegistry::SimRegistry(SimDrive& drive, bool restorePrivilege)
    : drive_(drive),
      restorePrivilegeHeld_(restorePrivilege),
      localMachine_(std::make_shared<SimKey>("HKEY_LOCAL_MACHINE")),
      currentUser_(std::make_shared<SimKey>("HKEY_CURRENT_USER")),
      users_(std::make_shared<SimKey>("HKEY_USERS")) {}

std::shared_ptr<SimKey> SimRegistry::ClassesKey() const {
    return localMachine_->AddSubkey("SOFTWARE")->AddSubkey("Classes");
}

std::shared_ptr<SimKey> SimRegistry::RootOf(std::string_view name) const {
    if (SameName(name, "HKEY_LOCAL_MACHINE") || SameName(name, "HKLM")) return localMachine_;
    if (SameName(name, "HKEY_CURRENT_USER") || SameName(name, "HKCU")) return currentUser_;
    if (SameName(name, "HKEY_USERS") || SameName(name, "HKU")) return users_;
    if (SameName(name, "HKEY_CLASSES_ROOT") || SameName(name, "HKCR")) return ClassesKey();
    return nullptr;
}

std::shared_ptr<SimKey> SimRegistry::KeyAt(const std::string& path) {
    bool ok = false;
    const std::vector<std::string_view> parts = SplitPath(path, ok);
    if (!ok || parts.empty()) return nullptr;
    const std::shared_ptr<SimKey> root = RootOf(parts[0]);
    return root ? AddPath(root, parts, 1) : nullptr;
}

std::shared_ptr<SimKey> SimRegistry::ExistingKeyAt(const std::string& path) const {
    bool ok = false;
    const std::vector<std::string_view> parts = SplitPath(path, ok);
    if (!ok || parts.empty()) return nullptr;
    return FindPath(RootOf(parts[0]), parts, 1);
}

void SimRegistry::Load(const image::RegistryKeys& keys) {
    ImportKeys(keys, [this](const std::vector<std::string_view>& parts, bool valid) {
        return valid && !parts.empty() ? RootOf(parts[0]) : nullptr;
    });
}

void SimRegistry::AddLinks(const std::vector<image::RegistryLink>& links) {
    for (const image::RegistryLink& link : links) {
        if (!link.hive.empty()) hiveLinks_[FoldName(link.hive)].push_back(link);
        else if (const auto key = KeyAt(link.key)) key->MakeLink(link.target);
    }
}

void SimRegistry::Deny(const std::string& path) {
    if (auto node = KeyAt(path)) node->Deny();
}

image::RegistryKeys SimRegistry::Keys() const {
    image::RegistryKeys keys;
    for (const auto& root : {localMachine_, currentUser_, users_}) {
        std::string path = root->Name();
        ForEachKey(*root, path, SavingTo(keys), true);
    }
    return keys;
}

std::vector<image::RegistryLink> SimRegistry::Links() const {
    std::vector<image::RegistryLink> links;
    for (const auto& root : {localMachine_, currentUser_, users_}) {
        std::string path = root->Name();
        ForEachKey(*root, path, [&links](const SimKey& key, const std::string& keyPath) {
            if (key.IsLink()) links.push_back({keyPath, key.LinkTarget(), ""});
        }, true);
    }
    const auto mounted = [this](const std::string& folded) {
        return std::any_of(hives_.begin(), hives_.end(), [&](const Hive& hive) { return FoldName(hive.file) == folded; });
    };
    for (const auto& [file, fileLinks] : hiveLinks_)
        if (!mounted(file)) links.insert(links.end(), fileLinks.begin(), fileLinks.end());
    for (const Hive& hive : hives_) {
        const std::vector<image::RegistryLink> hiveLinks = HiveLinks(hive);
        links.insert(links.end(), hiveLinks.begin(), hiveLinks.end());
    }
    return links;
}

std::vector<image::RegistryLink> SimRegistry::HiveLinks(const Hive& hive) const {
    std::vector<image::RegistryLink> links;
    std::string path = "HKEY_CURRENT_USER";
    ForEachKey(*hive.key, path, [&](const SimKey& key, const std::string& keyPath) {
        if (key.IsLink()) links.push_back({keyPath, key.LinkTarget(), hive.file});
    }, true);
    return links;
}

std::shared_ptr<SimKey> SimRegistry::Handle(RegKey key) const {
    switch (key) {
        case HkeyClassesRoot: return ClassesKey();
        case HkeyCurrentUser: return currentUser_;
        case HkeyLocalMachine: return localMachine_;
        case HkeyUsers: return users_;
        default: {
            const auto it = handles_.find(key);
            return it == handles_.end() ? nullptr : it->second;
        }
    }
}

long SimRegistry::LiveKey(RegKey key, std::shared_ptr<SimKey>& found) const {
    found = Handle(key);
    if (!found) return winerr::InvalidHandle;
    return found->Deleted() ? winerr::KeyDeleted : winerr::Success;
}

long SimRegistry::Lookup(RegKey base, const std::string& subKey, std::shared_ptr<SimKey>& found,
                         bool openLink) const {
    if (const long error = LiveKey(base, found)) return error;
    int hops = 0;
    // Folded once as a whole: a backslash folds to itself, so the parts are the folded names.
    return Walk(found, FoldName(subKey), openLink, hops);
}

long SimRegistry::Walk(std::shared_ptr<SimKey>& key, const std::string& folded, bool openLink, int& hops) const {
    bool ok = false;
    const std::vector<std::string_view> parts = SplitPath(folded, ok);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        key = key->FindFolded(parts[i]);
        if (!key) return winerr::FileNotFound;
        if (key->IsLink() && (i + 1 < parts.size() || !openLink))
            if (const long error = Follow(key, hops)) return error;
    }
    return ok ? winerr::Success : winerr::FileNotFound;
}

long SimRegistry::Follow(std::shared_ptr<SimKey>& key, int& hops) const {
    if (++hops > MaxLinkHops) return winerr::InvalidParameter;
    const std::string target = FoldName(key->LinkTarget());
    const auto slash = target.find('\\');
    key = RootOf(target.substr(0, slash));
    if (!key) return winerr::FileNotFound;
    return Walk(key, slash == std::string::npos ? "" : target.substr(slash + 1), false, hops);
}

RegKey SimRegistry::NewHandle(std::shared_ptr<SimKey> key) {
    const RegKey handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = std::move(key);
    return handle;
}

long SimRegistry::OpenKey(RegKey base, const std::string& subKey, RegKey& opened) {
    std::shared_ptr<SimKey> key;
    if (const long error = Lookup(base, subKey, key)) return error;
    return HandleTo(key, opened);
}

long SimRegistry::OpenAsLink(RegKey base, const std::string& subKey, RegKey& opened) {
    std::shared_ptr<SimKey> key;
    if (const long error = Lookup(base, subKey, key, true)) return error;
    return HandleTo(key, opened);
}

long SimRegistry::HandleTo(const std::shared_ptr<SimKey>& key, RegKey& opened) {
    if (key->Denied()) return winerr::AccessDenied;
    opened = NewHandle(key);
    return winerr::Success;
}

long SimRegistry::CreateKey(const std::string& path, RegKey& opened) {
    std::shared_ptr<SimKey> key = KeyAt(path);
    if (!key || key->Denied()) return winerr::AccessDenied;
    opened = NewHandle(std::move(key));
    return winerr::Success;
}

bool SimRegistry::IsLink(RegKey key, RegLink& link) {
    std::shared_ptr<SimKey> node;
    if (LiveKey(key, node) != winerr::Success || !node->IsLink()) return false;
    link = {node->Path(), node->LinkTarget()};
    return true;
}

long SimRegistry::CloseKey(RegKey key) {
    if (handles_.erase(key)) return winerr::Success;
    return Handle(key) ? winerr::Success : winerr::InvalidHandle;
}

long SimRegistry::QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& maxSubKeyLength,
                               std::uint32_t& values) {
    std::shared_ptr<SimKey> node;
    if (const long error = LiveKey(key, node)) return error;
    subKeys = static_cast<std::uint32_t>(node->Subkeys().size());
    maxSubKeyLength = 0;
    for (const auto& sub : node->Subkeys())
        maxSubKeyLength = std::max(maxSubKeyLength, static_cast<std::uint32_t>(sub->Name().size()));
    values = static_cast<std::uint32_t>(node->Values().size());
    return winerr::Success;
}

long SimRegistry::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
    std::shared_ptr<SimKey> node;
    if (const long error = LiveKey(key, node)) return error;
    if (index >= node->Subkeys().size()) return winerr::NoMoreItems;
    name = node->Subkeys()[index]->Name();
    return winerr::Success;
}

long SimRegistry::EnumValue(RegKey key, std::uint32_t index, std::string& name) {
    std::shared_ptr<SimKey> node;
    if (const long error = LiveKey(key, node)) return error;
    if (index >= node->Values().size()) return winerr::NoMoreItems;
    name = node->Values()[index].name;
    return winerr::Success;
}

long SimRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                             std::vector<std::uint8_t>& data) {
    std::shared_ptr<SimKey> node;
    if (const long error = LiveKey(key, node)) return error;
    const SimValue* value = node->FindValue(name);
    if (!value) return winerr::FileNotFound;
    type = value->type;
    data = value->data;
    return winerr::Success;
}

long SimRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                           const std::vector<std::uint8_t>& data) {
    std::shared_ptr<SimKey> node;
    if (const long error = LiveKey(key, node)) return error;
    node->SetValue(name, type, data);
    Changed(*node);
    return winerr::Success;
}

long SimRegistry::DeleteKey(RegKey base, const std::string& subKey) {
    std::shared_ptr<SimKey> key;
    if (const long error = Lookup(base, subKey, key)) return error;
    return Remove(*key);
}

LinkCheck SimRegistry::CheckLink(RegKey base, const std::string& subKey, RegLink& link) {
    std::shared_ptr<SimKey> key;
    if (Lookup(base, subKey, key, true) != winerr::Success) return LinkCheck::NoSuchKey;
    if (!key->IsLink()) return LinkCheck::NotALink;
    link = {key->Path(), key->LinkTarget()};
    return LinkCheck::Link;
}

long SimRegistry::DeleteLink(RegKey base, const std::string& subKey) {
    std::shared_ptr<SimKey> key;
    if (const long error = Lookup(base, subKey, key, true)) return error;
    return key->IsLink() ? Remove(*key) : winerr::InvalidParameter;
}

long SimRegistry::Remove(SimKey& key) {
    // Roots, hive roots, protected keys and keys with subkeys stay, as with
    // RegDeleteKeyA.
    const bool hiveRoot = key.Hive() != 0 && key.Parent() == users_.get();
    if (!key.Parent() || hiveRoot || IsClassesKey(key) || key.Denied() || !key.Subkeys().empty())
        return winerr::AccessDenied;
    key.Parent()->RemoveSubkey(key);
    Changed(key);
    return winerr::Success;
}

std::vector<std::string> SimRegistry::DeleteTree(const std::string& path) {
    std::vector<std::string> removed;
    if (const std::shared_ptr<SimKey> key = ExistingKeyAt(path)) RemoveTree(*key, removed);
    return removed;
}

void SimRegistry::RemoveTree(SimKey& key, std::vector<std::string>& removed) {
    // A copy: removing a subkey changes the list; the last ones go first.
    const std::vector<std::shared_ptr<SimKey>> subkeys = key.Subkeys();
    for (auto sub = subkeys.rbegin(); sub != subkeys.rend(); ++sub) RemoveTree(**sub, removed);
    const std::string keyPath = key.Path();
    if (Remove(key) == winerr::Success) removed.push_back(keyPath);
}

long SimRegistry::DeleteValue(RegKey key, const std::string& name) {
    std::shared_ptr<SimKey> node;
    if (const long error = LiveKey(key, node)) return error;
    if (!node->RemoveValue(name)) return winerr::FileNotFound;
    Changed(*node);
    return winerr::Success;
}

std::string SimRegistry::KeyPath(RegKey base, const std::string& subKey) {
    std::shared_ptr<SimKey> key;
    return Lookup(base, subKey, key) == winerr::Success ? key->Path() : "";
}

bool SimRegistry::EnableRestorePrivilege() {
    if (restorePrivilegeHeld_) restorePrivilegeEnabled_ = true;
    return restorePrivilegeHeld_;
}

std::vector<SimRegistry::Hive>::iterator SimRegistry::MountedHive(const std::string& name) {
    return std::find_if(hives_.begin(), hives_.end(),
                        [&](const Hive& hive) { return SameName(hive.key->Name(), name); });
}

long SimRegistry::LoadKey(RegKey root, const std::string& name, const std::string& file) {
    if (root != HkeyUsers || name.empty() || name.find('\\') != std::string::npos)
        return winerr::InvalidParameter;
    if (!restorePrivilegeEnabled_) return winerr::PrivilegeNotHeld;
    if (users_->FindSubkey(name)) return winerr::AccessDenied;
    if (std::any_of(hives_.begin(), hives_.end(), [&](const Hive& hive) { return SameName(hive.file, file); }))
        return winerr::SharingViolation;
    const image::DriveItem* item = drive_.Find(file);
    if (!item || item->folder) return winerr::FileNotFound;
    // A hive file another program holds open, as a logged-on user's is.
    if (drive_.Locked(file)) return winerr::SharingViolation;
    if (Remount(name, *item)) return winerr::Success;

    image::RegistryKeys keys;
    try {
        keys = image::ParseHiveText(item->contents, file);
    } catch (const image::ImageError&) {
        return winerr::BadDb;
    }
    const int id = nextHiveId_++;
    auto hiveKey = std::make_shared<SimKey>(name, id);
    // Paths below HKEY_CURRENT_USER, which the hive's key stands for.
    ImportKeys(keys, [&hiveKey](const std::vector<std::string_view>&, bool) { return hiveKey; });
    const auto links = hiveLinks_.find(FoldName(item->path));
    if (links != hiveLinks_.end())
        for (const image::RegistryLink& link : links->second) {
            bool valid = false;
            AddPath(hiveKey, SplitPath(link.key, valid), 1)->MakeLink(link.target);
        }
    users_->AttachSubkey(hiveKey);
    hives_.push_back(Hive{id, item->path, hiveKey, 0});
    return winerr::Success;
}

bool SimRegistry::Remount(const std::string& name, const image::DriveItem& file) {
    auto kept = unloaded_.extract(FoldName(file.path));
    if (kept.empty() || kept.mapped().key->Name() != name || kept.mapped().textRevision != drive_.Revision(file.path))
        return false;
    Hive& hive = kept.mapped();
    hive.file = file.path;
    users_->AttachSubkey(hive.key);
    hives_.push_back(std::move(hive));
    return true;
}

bool SimRegistry::WriteBack(Hive& hive) {
    if (hive.textRevision != 0 && hive.textRevision == drive_.Revision(hive.file)) return true;
    if (!drive_.WriteFile(hive.file, HiveText(hive))) return false;
    hive.textRevision = drive_.Revision(hive.file);
    // The run makes no link: a hive without one keeps none.
    const auto links = hiveLinks_.find(FoldName(hive.file));
    if (links != hiveLinks_.end()) links->second = HiveLinks(hive);
    return true;
}

void SimRegistry::Changed(const SimKey& key) {
    for (Hive& hive : hives_)
        if (hive.id == key.Hive()) hive.textRevision = 0;
}

bool SimRegistry::HiveHasOpenHandles(int hive) const {
    return std::any_of(handles_.begin(), handles_.end(),
                       [&](const auto& handle) { return handle.second->Hive() == hive; });
}

std::string SimRegistry::HiveText(const Hive& hive) const {
    image::RegTextWriter writer;
    // About the size the hive had: the text is not grown piece by piece.
    if (const image::DriveItem* file = drive_.Find(hive.file)) writer.Reserve(file->contents.size() * 9 / 8);
    std::string path = "HKEY_CURRENT_USER";
    ForEachKey(*hive.key, path, [&writer](const SimKey& key, const std::string& keyPath) {
        if (key.IsLink()) return;
        writer.Key(keyPath);
        for (const SimValue& value : key.Values()) writer.Value(value.name, value.type, value.data);
    }, true);
    return std::move(writer).Text();
}

image::RegistryKeys SimRegistry::MountedHiveKeys() const {
    image::RegistryKeys keys;
    for (const Hive& hive : hives_) {
        std::string path = users_->Name() + "\\" + hive.key->Name();
        ForEachKey(*hive.key, path, SavingTo(keys));
    }
    return keys;
}

image::DriveItems SimRegistry::MountedHiveFiles() const {
    image::DriveItems files;
    for (const Hive& hive : hives_) {
        const std::string text = HiveText(hive);
        files.push_back(image::DriveItem{hive.file, false, image::Bytes(text.begin(), text.end())});
    }
    return files;
}

long SimRegistry::UnloadImageHive(const std::string& name) {
    const std::shared_ptr<SimKey> key = users_->FindSubkey(name);
    if (!key) return winerr::FileNotFound;
    for (const auto& [handle, opened] : handles_)
        for (const SimKey* below = opened.get(); below; below = below->Parent())
            if (below == key.get()) return winerr::AccessDenied;
    users_->RemoveSubkey(*key);
    return winerr::Success;
}

long SimRegistry::UnLoadKey(RegKey root, const std::string& name) { return Unload(root, name, true); }

long SimRegistry::UnLoadKeyUnchanged(RegKey root, const std::string& name) { return Unload(root, name, false); }

long SimRegistry::Unload(RegKey root, const std::string& name, bool writeBack) {
    if (root != HkeyUsers) return winerr::InvalidParameter;
    if (!restorePrivilegeEnabled_) return winerr::PrivilegeNotHeld;
    const auto hive = MountedHive(name);
    if (hive == hives_.end()) return UnloadImageHive(name);
    if (HiveHasOpenHandles(hive->id)) return winerr::AccessDenied;
    // No handle reaches into the tree any more: it is kept as it is, while
    // it is what its file holds.
    const bool written = writeBack ? WriteBack(*hive)
                                   : hive->textRevision != 0 && hive->textRevision == drive_.Revision(hive->file);
    users_->DetachSubkey(*hive->key);
    if (written) unloaded_.insert_or_assign(FoldName(hive->file), std::move(*hive));
    hives_.erase(hive);
    return winerr::Success;
}

}  // namespace purgent::sim
