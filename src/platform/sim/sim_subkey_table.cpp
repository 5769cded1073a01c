#include "platform/sim/sim_subkey_table.h"

#include <functional>

namespace purgent::sim {

namespace {

std::size_t HashOf(std::string_view folded) { return std::hash<std::string_view>()(folded); }

}  // namespace

std::size_t SubkeyTable::Probe(std::string_view folded, std::size_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].key && (slots_[at].hash != hash || slots_[at].name != folded)) at = (at + 1) & mask;
    return at;
}

const std::shared_ptr<SimKey>* SubkeyTable::Find(std::string_view folded) const {
    if (size_ == 0) return nullptr;
    const Slot& slot = slots_[Probe(folded, HashOf(folded))];
    return slot.key ? &slot.key : nullptr;
}

void SubkeyTable::Insert(std::string_view folded, std::shared_ptr<SimKey> key) {
    if (2 * (size_ + 1) > slots_.size()) Grow();
    const std::size_t hash = HashOf(folded);
    slots_[Probe(folded, hash)] = Slot{hash, folded, std::move(key)};
    ++size_;
}

std::shared_ptr<SimKey> SubkeyTable::Remove(std::string_view folded) {
    if (size_ == 0) return nullptr;
    std::size_t hole = Probe(folded, HashOf(folded));
    std::shared_ptr<SimKey> removed = std::move(slots_[hole].key);
    if (!removed) return nullptr;
    --size_;
    // The slots after the hole move back into it wherever their probe
    // passed it, so that no probe stops short at a freed slot.
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = (hole + 1) & mask; slots_[at].key; at = (at + 1) & mask) {
        const std::size_t home = slots_[at].hash & mask;
        if (((at - home) & mask) >= ((at - hole) & mask)) {
            slots_[hole] = std::move(slots_[at]);
            hole = at;
        }
    }
    return removed;
}

void SubkeyTable::Grow() {
    std::vector<Slot> old(slots_.empty() ? 4 : 2 * slots_.size());
    old.swap(slots_);
    for (Slot& slot : old)
        if (slot.key) slots_[Probe(slot.name, slot.hash)] = std::move(slot);
}

}  // namespace purgent::sim
