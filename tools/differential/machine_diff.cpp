#include "machine_diff.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "image/ansi_text.h"
#include "platform/pending_deletions.h"

namespace purgent::differential {
namespace {

using image::RegistryKey;
using image::RegistryKeys;
using image::RegistryValue;

std::string Folded(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) c = image::FoldCase(c);
    return folded;
}

std::map<std::string, const RegistryKey*> ByPath(const RegistryKeys& keys) {
    std::map<std::string, const RegistryKey*> byPath;
    for (const RegistryKey& key : keys) byPath[Folded(key.path)] = &key;
    return byPath;
}

std::string Described(const RegistryValue& value) {
    std::string text = "type " + std::to_string(value.type) + " ";
    if (value.type == 1 || value.type == 2) {
        std::string data(value.data.begin(), value.data.end());
        if (!data.empty() && data.back() == '\0') data.pop_back();
        return text + "\"" + data + "\"";
    }
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%s%02x", i ? "," : "", value.data[i]);
        text += byte;
    }
    return text;
}

std::string ValueName(const std::string& name) { return name.empty() ? "@" : "\"" + name + "\""; }

bool IsPendingList(const RegistryValue& value) {
    return value.type == 7 && image::EqualsIgnoreCase(value.name, PendingDeletionsValue);
}

// Calls compare(id, onWine, inSim) for every id either side holds, in order;
// the side that lacks it gives nullptr.
template <class Item, class Compare>
void ForEitherSide(const std::map<std::string, const Item*>& onWine, const std::map<std::string, const Item*>& inSim,
                   Compare compare) {
    std::map<std::string, bool> ids;
    for (const auto& [id, item] : onWine) ids[id] = true;
    for (const auto& [id, item] : inSim) ids[id] = true;
    for (const auto& [id, unused] : ids) {
        const auto a = onWine.find(id), b = inSim.find(id);
        compare(id, a == onWine.end() ? nullptr : a->second, b == inSim.end() ? nullptr : b->second);
    }
}

class RegistryComparison {
public:
    RegistryComparison(const RegistryKeys& named, const RegistryKeys& before, Findings& out, std::string where)
        : named_(ByPath(named)), before_(ByPath(before)), out_(out), where_(std::move(where)) {}

    void Compare(const RegistryKeys& wine, const RegistryKeys& sim) {
        ForEitherSide(ByPath(wine), ByPath(sim), [this](const std::string& path, const RegistryKey* a, const RegistryKey* b) {
            if (!b) {
                if (!WinesOwnKey(path)) Report(a->path, "key only on Wine: " + a->path);
            } else if (!a) {
                Report(b->path, "key only in the simulator: " + b->path);
            } else {
                CompareValues(*a, *b);
            }
        });
    }

private:
    bool WinesOwnKey(const std::string& path) const { return before_.count(path) && !named_.count(path); }

    bool WinesOwnValue(const RegistryKey& key, const std::string& name) const {
        const auto before = before_.find(Folded(key.path));
        if (before == before_.end() || !image::FindValue(*before->second, name)) return false;
        const auto named = named_.find(Folded(key.path));
        return named == named_.end() || !image::FindValue(*named->second, name);
    }

    void CompareValues(const RegistryKey& wine, const RegistryKey& sim) {
        for (const RegistryValue& value : wine.values) {
            const RegistryValue* other = image::FindValue(sim, value.name);
            if (!other) {
                if (!WinesOwnValue(wine, value.name))
                    Report(wine.path, "value only on Wine: " + wine.path + " " + ValueName(value.name), value.name);
            } else if (IsPendingList(value) && IsPendingList(*other)) {
                ComparePendingDeletions(wine, value, *other);
            } else if (other->type != value.type || other->data != value.data) {
                Report(wine.path,
                       "value differs: " + wine.path + " " + ValueName(value.name) + ": Wine " + Described(value) +
                           ", simulator " + Described(*other),
                       value.name);
            }
        }
        for (const RegistryValue& value : sim.values)
            if (!image::FindValue(wine, value.name))
                Report(sim.path, "value only in the simulator: " + sim.path + " " + ValueName(value.name), value.name);
    }

    // Entry by entry, each filed under its path, so that a rule about a
    // file covers the file's entry too; then the order of the common ones
    // (a folder goes after what it holds).
    void ComparePendingDeletions(const RegistryKey& key, const RegistryValue& wine, const RegistryValue& sim) {
        const std::vector<std::string> onWine = PendingDeletionPaths(wine.data), inSim = PendingDeletionPaths(sim.data);
        const auto among = [](const std::vector<std::string>& list, const std::string& path) {
            return std::any_of(list.begin(), list.end(),
                               [&](const std::string& other) { return image::EqualsIgnoreCase(other, path); });
        };
        std::vector<std::string> wineOrder, simOrder;
        for (const std::string& path : onWine)
            if (!among(inSim, path)) Report(path, "pending deletion only on Wine: " + path);
            else wineOrder.push_back(Folded(path));
        for (const std::string& path : inSim)
            if (!among(onWine, path)) Report(path, "pending deletion only in the simulator: " + path);
            else simOrder.push_back(Folded(path));
        if (wineOrder != simOrder)
            Report(key.path, "pending deletions in another order: " + key.path + " " + ValueName(wine.name), wine.name);
    }

    void Report(const std::string& key, const std::string& text, const std::string& value = "") {
        out_.Add(key, where_ + text, value);
    }

    std::map<std::string, const RegistryKey*> named_, before_;
    Findings& out_;
    std::string where_;
};

std::string AttributeLetters(const image::MachineImage& machine, const std::string& path) {
    for (const image::FileAttributes& entry : machine.machine.attributes) {
        if (!image::EqualsIgnoreCase(entry.path, path)) continue;
        std::string letters;
        if (entry.attributes & image::AttrReadOnly) letters += "r";
        if (entry.attributes & image::AttrHidden) letters += "h";
        if (entry.attributes & image::AttrSystem) letters += "s";
        return letters;
    }
    return "";
}

RegistryKeys HiveKeys(const image::MachineImage& machine, const std::string& path) {
    const image::DriveItem* hive = image::FindDriveItem(machine.drive, path);
    return hive ? image::NetRegistry(image::ParseHiveText(hive->contents, path)) : RegistryKeys{};
}

bool IsComServer(const image::MachineImage& machine, const std::string& path) {
    return std::any_of(machine.machine.dlls.begin(), machine.machine.dlls.end(),
                       [&](const image::DllEntry& dll) { return image::EqualsIgnoreCase(dll.path, path); });
}

void CompareDrive(const Machines& m, Findings& out) {
    for (const image::DriveItem& item : m.generated.drive) {
        const image::DriveItem* wine = image::FindDriveItem(m.wineAfter.drive, item.path);
        const image::DriveItem* sim = image::FindDriveItem(m.simAfter.drive, item.path);
        const std::string kind = item.folder ? "folder" : "file";
        if (!wine || !sim) {
            if (wine || sim) out.Add(item.path, kind + " only " + (wine ? "on Wine: " : "in the simulator: ") + item.path);
            continue;
        }
        const std::string a = AttributeLetters(m.wineAfter, item.path), b = AttributeLetters(m.simAfter, item.path);
        if (a != b) out.Add(item.path, "attributes differ: " + item.path + ": Wine \"" + a + "\", simulator \"" + b + "\"");
        if (image::IsHiveFile(item)) {
            RegistryComparison(image::NetRegistry(image::ParseHiveText(item.contents, item.path)),
                               HiveKeys(m.wineBefore, item.path), out, "in " + item.path + ": ")
                .Compare(HiveKeys(m.wineAfter, item.path), HiveKeys(m.simAfter, item.path));
        } else if (!item.folder && !IsComServer(m.generated, item.path) && wine->contents != sim->contents) {
            out.Add(item.path, "contents differ: " + item.path);
        }
    }
}

bool HasLink(const image::MachineImage& machine, const std::string& path) {
    return std::any_of(machine.machine.reparsePoints.begin(), machine.machine.reparsePoints.end(),
                       [&](const image::ReparsePoint& link) { return image::EqualsIgnoreCase(link.link, path); });
}

// Each link ([reparse]) the image names: there on both sides, or gone on both.
void CompareFolderLinks(const Machines& m, Findings& out) {
    for (const image::ReparsePoint& link : m.generated.machine.reparsePoints) {
        const bool wine = HasLink(m.wineAfter, link.link);
        if (wine != HasLink(m.simAfter, link.link))
            out.Add(link.link, std::string("link only ") + (wine ? "on Wine: " : "in the simulator: ") + link.link + "=" + link.target);
    }
}

// A machine's link keys, each by its folded hive file and key.
std::map<std::string, const image::RegistryLink*> LinksOf(const image::MachineImage& machine) {
    std::map<std::string, const image::RegistryLink*> links;
    for (const image::RegistryLink& link : machine.machine.registryLinks)
        links[Folded(link.hive) + "|" + Folded(link.key)] = &link;
    return links;
}

std::string Described(const image::RegistryLink& link) {
    return (link.hive.empty() ? link.key : link.hive + "|" + link.key) + " (to " + link.target + ")";
}

// Links as keys are compared: what Wine had before and the image does not
// name is Wine's own.
void CompareKeyLinks(const Machines& m, Findings& out) {
    const auto named = LinksOf(m.generated), before = LinksOf(m.wineBefore);
    using image::RegistryLink;
    ForEitherSide(LinksOf(m.wineAfter), LinksOf(m.simAfter), [&](const std::string& id, const RegistryLink* a,
                                                                 const RegistryLink* b) {
        if (!b) {
            if (!before.count(id) || named.count(id)) out.Add(a->key, "link only on Wine: " + Described(*a));
        } else if (!a) {
            out.Add(b->key, "link only in the simulator: " + Described(*b));
        } else if (!image::EqualsIgnoreCase(a->target, b->target)) {
            out.Add(a->key, "link target differs: " + Described(*a) + ", simulator " + b->target);
        }
    });
}

}  // namespace

void Findings::Add(const std::string& subject, const std::string& text, const std::string& valueName) {
    for (const WineRule& rule : rules_) {
        if (!rule.Explains(text) || !rule.Covers(subject, valueName)) continue;
        excluded_.push_back(text + " (" + rule.reason + ")");
        return;
    }
    differences_.push_back(text);
}

std::string Findings::RuleCovering(const std::string& subject) const {
    for (const WineRule& rule : rules_)
        if (rule.Covers(subject, "")) return rule.reason;
    return "";
}

Findings Differences(const Machines& m, const RunLogs& logs) {
    Findings out(WineRules(m.generated, m.wineBefore, logs));
    const RegistryKeys named = image::NetRegistry(m.generated.registry);
    const std::vector<std::string> scope = image::RegistryScope(m.generated.registry);
    RegistryComparison(named, image::NetRegistry(m.wineBefore.registry), out, "")
        .Compare(image::WithinScope(image::NetRegistry(m.wineAfter.registry), scope),
                 image::WithinScope(image::NetRegistry(m.simAfter.registry), scope));
    CompareKeyLinks(m, out);
    CompareDrive(m, out);
    CompareFolderLinks(m, out);
    return out;
}

}  // namespace purgent::differential
