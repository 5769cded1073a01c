#pragma once
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace purgent::sim {

class SimKey;

// A key's subkeys by upper-cased name, in one array probed linearly. Each
// slot holds the name's hash and a view of the name (the subkey's own), so
// finding a name among many costs about two cache misses, where a map of
// nodes takes four: a simulated machine looks up and adds hundreds of
// thousands of keys.
class SubkeyTable {
public:
    std::size_t Size() const { return size_; }
    // nullptr when there is no subkey of that name.
    const std::shared_ptr<SimKey>* Find(std::string_view folded) const;
    // A name not in the table; the view must stay valid while the key is in it.
    void Insert(std::string_view folded, std::shared_ptr<SimKey> key);
    // The subkey taken out; nullptr when there is none.
    std::shared_ptr<SimKey> Remove(std::string_view folded);

    // Each name and subkey, in no particular order.
    template <class Visit>
    void ForEach(Visit visit) const {
        for (const Slot& slot : slots_)
            if (slot.key) visit(slot.name, slot.key);
    }

private:
    struct Slot {
        std::size_t hash = 0;
        std::string_view name;
        std::shared_ptr<SimKey> key;  // nullptr: the slot is free
    };

    // The slot holding the name, or the free slot where the probe ends.
    std::size_t Probe(std::string_view folded, std::size_t hash) const;
    void Grow();

    std::vector<Slot> slots_;  // a power of two long, at most half full
    std::size_t size_ = 0;
};

}  // namespace purgent::sim
