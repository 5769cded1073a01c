#include "platform/sim/sim_key.h"

#include <algorithm>
#include <cstdint>

#include "platform/sim/sim_names.h"

namespace purgent::sim {

SimKey::SimKey(std::string name, int hive) : name_(std::move(name)), folded_(FoldName(name_)), hive_(hive) {}

std::string SimKey::Path() const {
    return parent_ ? parent_->Path() + "\\" + name_ : name_;
}

namespace {

// A name's first eight bytes as one number that orders as they do (zero
// past the end): most names are told apart without reading them again.
std::uint64_t Prefix(std::string_view name) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
        prefix = prefix << 8 | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0);
    return prefix;
}

struct Sortable {
    std::uint64_t prefix;
    std::string_view folded;
    const std::shared_ptr<SimKey>* key;
    bool operator<(const Sortable& other) const {
        return prefix != other.prefix ? prefix < other.prefix : folded < other.folded;
    }
};

}  // namespace

const std::vector<std::shared_ptr<SimKey>>& SimKey::Subkeys() const {
    if (listStale_) {
        // Sorted on the names' prefixes and views: no comparison goes through the keys.
        std::vector<Sortable> byName;
        byName.reserve(subkeys_.Size());
        subkeys_.ForEach([&byName](std::string_view folded, const std::shared_ptr<SimKey>& key) {
            byName.push_back({Prefix(folded), folded, &key});
        });
        std::sort(byName.begin(), byName.end());
        listed_.clear();
        listed_.reserve(byName.size());
        for (const Sortable& entry : byName) listed_.push_back(*entry.key);
        listStale_ = false;
    }
    return listed_;
}

std::shared_ptr<SimKey> SimKey::FindSubkey(std::string_view name) const { return FindFolded(FoldName(name)); }

std::shared_ptr<SimKey> SimKey::FindFolded(std::string_view folded) const {
    const std::shared_ptr<SimKey>* found = subkeys_.Find(folded);
    return found ? *found : nullptr;
}

std::shared_ptr<SimKey> SimKey::AddSubkey(std::string_view name) {
    if (auto existing = FindSubkey(name)) return existing;
    auto key = std::make_shared<SimKey>(std::string(name), hive_);
    AttachSubkey(key);
    return key;
}

void SimKey::AttachSubkey(const std::shared_ptr<SimKey>& key) {
    key->parent_ = this;
    subkeys_.Insert(key->folded_, key);
    listStale_ = true;
}

void SimKey::RemoveSubkey(const SimKey& key) {
    if (const std::shared_ptr<SimKey> removed = DetachSubkey(key)) removed->MarkDeleted();
}

std::shared_ptr<SimKey> SimKey::DetachSubkey(const SimKey& key) {
    // Sibling names differ, so the name alone finds the key.
    const std::shared_ptr<SimKey>* found = subkeys_.Find(key.folded_);
    if (!found || found->get() != &key) return nullptr;
    std::shared_ptr<SimKey> detached = subkeys_.Remove(key.folded_);
    if (!listStale_)
        listed_.erase(std::lower_bound(listed_.begin(), listed_.end(), key.folded_,
                                       [](const std::shared_ptr<SimKey>& sub, const std::string& folded) {
                                           return sub->folded_ < folded;
                                       }));
    detached->parent_ = nullptr;
    return detached;
}

void SimKey::MarkDeleted() {
    deleted_ = true;
    parent_ = nullptr;
    subkeys_.ForEach([](std::string_view, const std::shared_ptr<SimKey>& sub) { sub->MarkDeleted(); });
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
