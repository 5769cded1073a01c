#include "platform/sim/sim_key.h"

#include <algorithm>

#include "platform/sim/sim_names.h"

namespace purgent::sim {

SimKey::SimKey(std::string name, int hive) : name_(std::move(name)), folded_(FoldName(name_)), hive_(hive) {}

std::string SimKey::Path() const {
    return parent_ ? parent_->Path() + "\\" + name_ : name_;
}

const std::vector<std::shared_ptr<SimKey>>& SimKey::Subkeys() const {
    if (listStale_) {
        listed_.clear();
        listed_.reserve(subkeys_.size());
        for (const auto& [folded, key] : subkeys_) listed_.push_back(key);
        std::sort(listed_.begin(), listed_.end(), FoldedLess());
        listStale_ = false;
    }
    return listed_;
}

std::shared_ptr<SimKey> SimKey::FindSubkey(std::string_view name) const { return FindFolded(FoldName(name)); }

std::shared_ptr<SimKey> SimKey::FindFolded(std::string_view folded) const {
    const auto it = subkeys_.find(folded);
    return it != subkeys_.end() ? it->second : nullptr;
}

std::shared_ptr<SimKey> SimKey::AddSubkey(std::string_view name) {
    if (auto existing = FindSubkey(name)) return existing;
    auto key = std::make_shared<SimKey>(std::string(name), hive_);
    AttachSubkey(key);
    return key;
}

void SimKey::AttachSubkey(const std::shared_ptr<SimKey>& key) {
    key->parent_ = this;
    subkeys_.emplace(key->folded_, key);
    listStale_ = true;
}

void SimKey::RemoveSubkey(const SimKey& key) {
    if (const std::shared_ptr<SimKey> removed = DetachSubkey(key)) removed->MarkDeleted();
}

std::shared_ptr<SimKey> SimKey::DetachSubkey(const SimKey& key) {
    // Sibling names differ, so the name alone finds the key.
    const auto it = subkeys_.find(key.folded_);
    if (it == subkeys_.end() || it->second.get() != &key) return nullptr;
    std::shared_ptr<SimKey> detached = std::move(it->second);
    subkeys_.erase(it);
    if (!listStale_)
        listed_.erase(std::lower_bound(listed_.begin(), listed_.end(), key.folded_, FoldedLess()));
    detached->parent_ = nullptr;
    return detached;
}

void SimKey::MarkDeleted() {
    deleted_ = true;
    parent_ = nullptr;
    for (const auto& [folded, sub] : subkeys_) sub->MarkDeleted();
}

namespace {
// For const and non-const value lists alike.
template <class Values>
auto ValueNamed(Values& values, const std::string& name) {
    return std::find_if(values.begin(), values.end(), [&](const SimValue& v) { return SameName(v.name, name); });
}
}  // namespace

const SimValue* SimKey::FindValue(const std::string& name) const {
    const auto it = ValueNamed(values_, name);
    return it == values_.end() ? nullptr : &*it;
}

void SimKey::SetValue(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data) {
    const auto it = ValueNamed(values_, name);
    if (it == values_.end()) {
        values_.push_back(SimValue{name, type, std::move(data)});
        return;
    }
    it->type = type;
    it->data = std::move(data);
}

bool SimKey::RemoveValue(const std::string& name) {
    const auto it = ValueNamed(values_, name);
    if (it == values_.end()) return false;
    values_.erase(it);
    return true;
}

}  // namespace purgent::sim
