// Queries over .reg documents and the registry they leave behind.
#include <algorithm>
#include <map>

#include "image/ansi_text.h"
#include "image/machine_image.h"
#include "image/reg_text_format.h"

namespace purgent::image {
namespace {

std::string Folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), FoldCase);
    return text;
}

bool IsAtOrBelow(const std::string& path, const std::string& top) {
    const std::string folded = Folded(path);
    const std::string foldedTop = Folded(top);
    return folded == foldedTop || folded.compare(0, foldedTop.size() + 1, foldedTop + "\\") == 0;
}

std::string ParentPath(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

void MergeValue(RegistryKey& key, const RegistryValue& value) {
    auto& values = key.values;
    const auto found = std::find_if(values.begin(), values.end(), [&](const RegistryValue& v) {
        return EqualsIgnoreCase(v.name, value.name);
    });
    if (value.deleted) {
        if (found != values.end()) values.erase(found);
    } else if (found != values.end()) {
        found->type = value.type;
        found->data = value.data;
    } else {
        values.push_back(value);
    }
}

// Keys by folded path, each with the order of its first appearance.
class KeyTree {
public:
    // The subtree's keys sort together after "path\", so only they are visited.
    void Delete(const std::string& path) {
        const std::string folded = Folded(path);
        keys_.erase(folded);
        const std::string below = folded + "\\";
        auto it = keys_.lower_bound(below);
        while (it != keys_.end() && it->first.compare(0, below.size(), below) == 0) it = keys_.erase(it);
    }

    RegistryKey& Ensure(const std::string& path) {
        const std::string folded = Folded(path);
        auto found = keys_.find(folded);
        if (found != keys_.end()) return found->second.key;
        const std::string parent = ParentPath(path);
        // Roots exist without being listed; keys below them are created with
        // their parents, as RegCreateKeyEx does.
        if (parent.find('\\') != std::string::npos) Ensure(parent);
        Entry entry;
        entry.key.path = path;
        entry.order = next_++;
        return keys_.emplace(folded, std::move(entry)).first->second.key;
    }

    // Parents before children, siblings in order of first appearance. Keys
    // under a root that is not listed share one parent, placed before every
    // listed root: an unlisted root ranks lowest.
    RegistryKeys InTreeOrder() const {
        Entry unlistedRoots;
        unlistedRoots.order = -1;
        Children children;
        children[nullptr].push_back(&unlistedRoots);
        for (const auto& [folded, entry] : keys_) {
            const std::string parent = ParentPath(folded);
            const auto listed = keys_.find(parent);
            const Entry* above = parent.empty()              ? nullptr
                                 : listed != keys_.end()     ? &listed->second
                                                             : &unlistedRoots;
            children[above].push_back(&entry);
        }
        for (auto& [parent, list] : children)
            std::sort(list.begin(), list.end(), [](const Entry* a, const Entry* b) { return a->order < b->order; });
        RegistryKeys out;
        for (const Entry* top : children[nullptr]) Append(children, top, top != &unlistedRoots, out);
        return out;
    }

private:
    struct Entry {
        RegistryKey key;
        int order = 0;
    };
    using Children = std::map<const Entry*, std::vector<const Entry*>>;

    static void Append(const Children& children, const Entry* entry, bool listed, RegistryKeys& out) {
        if (listed) out.push_back(entry->key);
        const auto below = children.find(entry);
        if (below == children.end()) return;
        for (const Entry* child : below->second) Append(children, child, true, out);
    }

    std::map<std::string, Entry> keys_;
    int next_ = 0;
};

}  // namespace

const char* CanonicalRoot(const std::string& name) {
    static const struct {
        const char* longName;
        const char* shortName;
        const char* stored;
    } kRoots[] = {
        {"HKEY_LOCAL_MACHINE", "HKLM", "HKEY_LOCAL_MACHINE"},
        {"HKEY_CURRENT_USER", "HKCU", "HKEY_CURRENT_USER"},
        {"HKEY_USERS", "HKU", "HKEY_USERS"},
        {"HKEY_CLASSES_ROOT", "HKCR", "HKEY_LOCAL_MACHINE\\Software\\Classes"},
    };
    for (const auto& root : kRoots)
        if (EqualsIgnoreCase(name, root.longName) || EqualsIgnoreCase(name, root.shortName))
            return root.stored;
    return nullptr;
}

const RegistryKey* FindKey(const RegistryKeys& keys, const std::string& path) {
    const auto found = std::find_if(keys.begin(), keys.end(), [&](const RegistryKey& key) {
        return EqualsIgnoreCase(key.path, path);
    });
    return found == keys.end() ? nullptr : &*found;
}

const RegistryValue* FindValue(const RegistryKey& key, const std::string& name) {
    const auto found = std::find_if(key.values.begin(), key.values.end(), [&](const RegistryValue& value) {
        return EqualsIgnoreCase(value.name, name);
    });
    return found == key.values.end() ? nullptr : &*found;
}

RegistryKeys NetRegistry(const RegistryKeys& keys) {
    KeyTree tree;
    for (const RegistryKey& key : keys) {
        if (key.deleted) {
            tree.Delete(key.path);
            continue;
        }
        RegistryKey& net = tree.Ensure(key.path);
        for (const RegistryValue& value : key.values) MergeValue(net, value);
    }
    return tree.InTreeOrder();
}

std::string RegistryLinkConflict(const RegistryKeys& net, const std::vector<RegistryLink>& links) {
    const auto stored = [](const std::string& path) {
        const auto slash = path.find('\\');
        const char* root = CanonicalRoot(path.substr(0, slash));
        return root ? root + path.substr(slash) : path;
    };
    for (const RegistryLink& link : links) {
        const std::string key = stored(link.key);
        for (const RegistryKey& other : net)
            if (IsAtOrBelow(other.path, key)) return link.key + " is a key of its registry too (" + other.path + ")";
        for (const RegistryLink& other : links)
            if (&other != &link && IsAtOrBelow(key, stored(other.key)))
                return link.key + " lies at or below the link " + other.key;
    }
    return "";
}

std::vector<std::string> RegistryScope(const RegistryKeys& keys) {
    std::vector<std::string> scope;
    for (const RegistryKey& key : keys) {
        const auto covers = [&](const std::string& top) { return IsAtOrBelow(key.path, top); };
        if (std::any_of(scope.begin(), scope.end(), covers)) continue;
        scope.erase(std::remove_if(scope.begin(), scope.end(),
                                   [&](const std::string& inner) { return IsAtOrBelow(inner, key.path); }),
                    scope.end());
        scope.push_back(key.path);
    }
    return scope;
}

RegistryKeys WithinScope(const RegistryKeys& keys, const std::vector<std::string>& scope) {
    RegistryKeys within;
    for (const RegistryKey& key : NetRegistry(keys)) {
        const auto covers = [&](const std::string& top) { return IsAtOrBelow(key.path, top); };
        if (std::any_of(scope.begin(), scope.end(), covers)) within.push_back(key);
    }
    return within;
}

bool SameRegistry(const RegistryKeys& a, const RegistryKeys& b) {
    const RegistryKeys netA = NetRegistry(a);
    const RegistryKeys netB = NetRegistry(b);
    if (netA.size() != netB.size()) return false;
    std::map<std::string, const RegistryKey*> byPath;
    for (const RegistryKey& key : netB) byPath[Folded(key.path)] = &key;
    for (const RegistryKey& key : netA) {
        const auto other = byPath.find(Folded(key.path));
        if (other == byPath.end() || other->second->values.size() != key.values.size()) return false;
        for (const RegistryValue& value : key.values) {
            const RegistryValue* match = FindValue(*other->second, value.name);
            if (!match || match->type != value.type || match->data != value.data) return false;
        }
    }
    return true;
}

}  // namespace purgent::image
