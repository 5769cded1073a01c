#include "platform/sim/sim_import.h"

#include "platform/sim/sim_names.h"

namespace purgent::sim {

namespace {

// The keys along the path walked last. A document lists a key's subkeys
// together, so the next path mostly shares its first names: it is walked
// from where the two part, and costs only its own names.
class LastPath {
public:
    // The key at parts[1...] below start, created with its parents if need be.
    // The views of parts must outlive the next call (a document's paths do).
    std::shared_ptr<SimKey> Add(const std::shared_ptr<SimKey>& start, std::vector<std::string_view> parts) {
        std::size_t same = 0;
        if (start == start_)
            while (same < keys_.size() && same + 1 < parts.size() && SameName(parts_[same + 1], parts[same + 1]))
                ++same;
        keys_.resize(same);
        std::shared_ptr<SimKey> key = same ? keys_.back() : start;
        for (std::size_t i = same + 1; i < parts.size(); ++i) keys_.push_back(key = key->AddSubkey(parts[i]));
        start_ = start;
        parts_ = std::move(parts);
        return key;
    }
    // A deletion may have taken keys along the path.
    void Forget() {
        start_ = nullptr;
        keys_.clear();
    }

private:
    std::shared_ptr<SimKey> start_;
    std::vector<std::string_view> parts_;
    std::vector<std::shared_ptr<SimKey>> keys_;  // keys_[i]: the key at parts_[1...i + 1]
};

}  // namespace

std::shared_ptr<SimKey> FindPath(std::shared_ptr<SimKey> from, const std::vector<std::string_view>& parts,
                                 std::size_t first) {
    for (std::size_t i = first; from && i < parts.size(); ++i) from = from->FindSubkey(parts[i]);
    return from;
}

void ImportKeys(const image::RegistryKeys& keys, const PathStart& startOf) {
    LastPath last;
    for (const image::RegistryKey& key : keys) {
        bool valid = false;
        std::vector<std::string_view> parts = SplitPath(key.path, valid);
        const std::shared_ptr<SimKey> start = startOf(parts, valid);
        if (key.deleted) {
            const std::shared_ptr<SimKey> gone = FindPath(start, parts, 1);
            if (gone && gone->Parent()) gone->Parent()->RemoveSubkey(*gone);
            last.Forget();
            continue;
        }
        if (!start) continue;
        const std::shared_ptr<SimKey> node = last.Add(start, std::move(parts));
        for (const image::RegistryValue& value : key.values) {
            if (value.deleted) node->RemoveValue(value.name);
            else node->SetValue(value.name, value.type, value.data);
        }
    }
}

}  // namespace purgent::sim
