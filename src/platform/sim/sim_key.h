#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/sim_subkey_table.h"

namespace purgent::sim {

struct SimValue {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// One registry key. Subkeys are kept in the order Windows enumerates them
// (sorted by upper-cased name), values in the order they were written. Names
// match case-insensitively and keep the spelling they were created with.
// Open handles share ownership, so a key deleted under a handle lives on,
// marked deleted and detached from its parent.
class SimKey {
public:
    explicit SimKey(std::string name, int hive = 0);

    const std::string& Name() const { return name_; }
    // "HKEY_LOCAL_MACHINE\Software\..."; the root key's own name for a root.
    std::string Path() const;
    SimKey* Parent() const { return parent_; }
    // The mounted hive the key belongs to; 0 outside any mounted hive.
    int Hive() const { return hive_; }

    bool Deleted() const { return deleted_; }
    bool Denied() const { return denied_; }
    void Deny() { denied_ = true; }
    // A symbolic-link key: the full path (root spelled out) of the key it
    // leads to; "" for any other key.
    const std::string& LinkTarget() const { return linkTarget_; }
    bool IsLink() const { return !linkTarget_.empty(); }
    void MakeLink(std::string target) { linkTarget_ = std::move(target); }

    const std::vector<std::shared_ptr<SimKey>>& Subkeys() const;
    std::shared_ptr<SimKey> FindSubkey(std::string_view name) const;
    // The same for a name upper-cased already (FoldName).
    std::shared_ptr<SimKey> FindFolded(std::string_view folded) const;
    // The existing subkey of that name, or a new one.
    std::shared_ptr<SimKey> AddSubkey(std::string_view name);
    // Inserts a ready-made key (a mounted hive) under this one.
    void AttachSubkey(const std::shared_ptr<SimKey>& key);
    // Unlinks the subkey and marks it (and, for a hive, everything below) deleted.
    void RemoveSubkey(const SimKey& key);
    // Unlinks the subkey and leaves it as it is (an unloaded hive, kept to be
    // loaded again); nullptr when it is not one of this key's.
    std::shared_ptr<SimKey> DetachSubkey(const SimKey& key);

    const std::vector<SimValue>& Values() const { return values_; }
    const SimValue* FindValue(const std::string& name) const;
    // Replaces the data of an existing value in place, else appends a new one.
    void SetValue(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data);
    bool RemoveValue(const std::string& name);

private:
    void MarkDeleted();

    std::string name_;
    // The name upper-cased once: every lookup and every ordering of siblings
    // compares it.
    std::string folded_;
    int hive_;
    SimKey* parent_ = nullptr;
    bool deleted_ = false;
    bool denied_ = false;
    std::string linkTarget_;
    // By upper-cased name (a view of the subkey's own folded_): found and
    // added in constant time, whatever order the keys come in.
    SubkeyTable subkeys_;
    // The subkeys in enumeration order, sorted when first asked for after a
    // key was added (added keys come in bulk, from documents); kept in step
    // when a key is removed.
    mutable std::vector<std::shared_ptr<SimKey>> listed_;
    mutable bool listStale_ = false;
    std::vector<SimValue> values_;
};

}  // namespace purgent::sim
