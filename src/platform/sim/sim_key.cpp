#include "platform/sim/sim_key.h"

#include <algorithm>

#include "platform/sim/sim_names.h"

namespace purgent::sim {

std::string SimKey::Path() const {
    return parent_ ? parent_->Path() + "\\" + name_ : name_;
}

std::vector<std::shared_ptr<SimKey>>::const_iterator SimKey::LowerBound(
    const std::string& name) const {
    return std::lower_bound(
        subkeys_.begin(), subkeys_.end(), name,
        [](const std::shared_ptr<SimKey>& key, const std::string& n) { return NameLess(key->name_, n); });
}

std::shared_ptr<SimKey> SimKey::FindSubkey(const std::string& name) const {
    const auto it = LowerBound(name);
    return it != subkeys_.end() && SameName((*it)->name_, name) ? *it : nullptr;
}

std::shared_ptr<SimKey> SimKey::AddSubkey(const std::string& name) {
    if (auto existing = FindSubkey(name)) return existing;
    auto key = std::make_shared<SimKey>(name, hive_);
    AttachSubkey(key);
    return key;
}

void SimKey::AttachSubkey(const std::shared_ptr<SimKey>& key) {
    key->parent_ = this;
    subkeys_.insert(LowerBound(key->name_), key);
}

void SimKey::RemoveSubkey(const SimKey& key) {
    // Sibling names differ, so the sorted position of the name is the only place to look.
    const auto it = LowerBound(key.name_);
    if (it == subkeys_.end() || it->get() != &key) return;
    const std::shared_ptr<SimKey> removed = *it;
    subkeys_.erase(it);
    removed->MarkDeleted();
}

void SimKey::MarkDeleted() {
    deleted_ = true;
    parent_ = nullptr;
    for (const auto& sub : subkeys_) sub->MarkDeleted();
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
