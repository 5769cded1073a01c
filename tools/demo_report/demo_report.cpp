#include "demo_report.h"

#include <fstream>
#include <iomanip>
#include <set>

#include "image/ansi_text.h"

namespace purgent::demo {

namespace {

struct KindName {
    Kind kind;
    const char* tag;    // in item lists
    const char* label;  // in the summary
};

const KindName kKinds[] = {
    {Kind::Key, "key", "registry keys"},
    {Kind::Value, "value", "registry values"},
    {Kind::File, "file", "files"},
    {Kind::Folder, "folder", "folders"},
    {Kind::ComRegistration, "com", "COM registrations"},
    {Kind::HiveKey, "hive-key", "user hive keys"},
};

std::string Folded(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) c = image::FoldCase(c);
    return folded;
}

std::string Fingerprint(std::uint32_t type, const image::Bytes& data) {
    return std::to_string(type) + ":" + std::string(data.begin(), data.end());
}

std::uint32_t AttributesOf(const image::MachineImage& machine, const std::string& path) {
    for (const image::FileAttributes& entry : machine.machine.attributes)
        if (image::EqualsIgnoreCase(entry.path, path)) return entry.attributes;
    return 0;
}

bool IsDll(const image::MachineImage& machine, const std::string& path) {
    for (const image::DllEntry& dll : machine.machine.dlls)
        if (image::EqualsIgnoreCase(dll.path, path)) return true;
    return false;
}

// keys: the registry as far as the image names it (a machine read back holds
// only the named keys' subtrees, not their parents).
void AddRegistry(const image::RegistryKeys& keys, const std::string& hive, std::map<Item, std::string>& items) {
    for (const image::RegistryKey& key : keys) {
        if (!hive.empty()) {
            std::set<std::string> values;  // in any order
            for (const image::RegistryValue& value : key.values)
                values.insert(Folded(value.name) + "=" + Fingerprint(value.type, value.data));
            std::string fingerprint;
            for (const std::string& value : values) fingerprint += value + "\n";
            items[{Kind::HiveKey, hive + "\t" + key.path}] = fingerprint;
            continue;
        }
        items[{Kind::Key, key.path}] = "";
        for (const image::RegistryValue& value : key.values)
            items[{Kind::Value, key.path + "\t" + value.name}] = Fingerprint(value.type, value.data);
    }
}

}  // namespace

bool Item::operator<(const Item& other) const {
    if (kind != other.kind) return kind < other.kind;
    return Folded(id) < Folded(other.id);
}

std::map<Item, std::string> ItemsOf(const image::MachineImage& machine, const std::vector<std::string>& scope) {
    std::map<Item, std::string> items;
    AddRegistry(image::WithinScope(machine.registry, scope), "", items);
    for (const image::DriveItem& entry : machine.drive) {
        if (entry.folder) {
            items[{Kind::Folder, entry.path}] = "";
        } else if (image::IsHiveFile(entry)) {
            // The hive's keys are items of their own; its file stays.
            items[{Kind::File, entry.path}] = "";
            AddRegistry(image::NetRegistry(image::ParseHiveText(entry.contents, entry.path)), entry.path, items);
        } else if (IsDll(machine, entry.path)) {
            // The e2e seeding puts a real COM server in its place.
            items[{Kind::File, entry.path}] = std::to_string(AttributesOf(machine, entry.path));
        } else {
            items[{Kind::File, entry.path}] = std::string(entry.contents.begin(), entry.contents.end()) + "|" +
                                              std::to_string(AttributesOf(machine, entry.path));
        }
    }
    const image::RegistryKeys registry = image::NetRegistry(machine.registry);
    for (const image::DllEntry& dll : machine.machine.dlls) {
        bool registered = !dll.unregisters.empty();
        for (const std::string& key : dll.unregisters) registered = registered && image::FindKey(registry, key);
        if (registered) items[{Kind::ComRegistration, dll.path}] = "";
    }
    return items;
}

std::string ItemLine(const Item& item) {
    for (const KindName& kind : kKinds)
        if (kind.kind == item.kind) return std::string(kind.tag) + "\t" + image::AnsiToUtf8(item.id);
    return "";
}

std::vector<Item> ReadItemList(const std::string& path, std::map<Item, std::string>* reasons) {
    std::ifstream in(path);
    if (!in) throw image::ImageError(path + ": cannot be read");
    std::vector<Item> items;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        const auto tab = line.find('\t');
        const KindName* kind = nullptr;
        for (const KindName& candidate : kKinds)
            if (line.compare(0, tab, candidate.tag) == 0) kind = &candidate;
        if (!kind || tab == std::string::npos)
            throw image::ImageError(path + ":" + std::to_string(number) + ": expected <kind><TAB><item>");
        std::string id = image::TextFileToAnsi(line.substr(tab + 1));
        std::string reason;
        if (reasons) {
            const auto last = id.rfind('\t');
            if (last == std::string::npos)
                throw image::ImageError(path + ":" + std::to_string(number) + ": no reason given");
            reason = id.substr(last + 1);
            id.erase(last);
        }
        items.push_back({kind->kind, id});
        if (reasons) (*reasons)[items.back()] = reason;
    }
    return items;
}

Report Compare(const image::MachineImage& before, const image::MachineImage& after,
               const std::vector<Item>& bystanders, const std::map<Item, std::string>& keptReasons) {
    const std::vector<std::string> scope = image::RegistryScope(before.registry);
    const std::map<Item, std::string> was = ItemsOf(before, scope);
    const std::map<Item, std::string> is = ItemsOf(after, scope);
    Report report;
    const std::set<Item> others(bystanders.begin(), bystanders.end());
    for (const Item& bystander : bystanders) {
        ++report.bystanders[bystander.kind];
        const auto then = was.find(bystander);
        const auto now = is.find(bystander);
        if (then == was.end() || now == is.end() || then->second != now->second)
            report.lostBystanders.push_back(bystander);
    }
    for (const auto& [item, content] : was) {
        if (others.count(item)) continue;
        const auto now = is.find(item);
        if (now == is.end()) {
            ++report.went[item.kind];
            report.wentItems.push_back(item);
        } else if (now->second != content) {
            ++report.changed[item.kind];
        } else {
            const auto reason = keptReasons.find(item);
            report.stayedClientItems.emplace_back(item, reason == keptReasons.end() ? "" : reason->second);
        }
    }
    return report;
}

bool Passed(const Report& report) {
    for (const auto& stayed : report.stayedClientItems)
        if (stayed.second.empty()) return false;
    return report.lostBystanders.empty();
}

std::vector<KindCounts> CountsPerKind(const Report& report) {
    const auto count = [](const std::map<Kind, int>& counts, Kind kind) {
        const auto it = counts.find(kind);
        return it == counts.end() ? 0 : it->second;
    };
    std::map<Kind, int> lost;
    for (const Item& item : report.lostBystanders) ++lost[item.kind];
    std::vector<KindCounts> rows;
    for (const KindName& kind : kKinds) {
        const int bystanders = count(report.bystanders, kind.kind);
        rows.push_back({kind.kind, kind.label, count(report.went, kind.kind), count(report.changed, kind.kind),
                        bystanders - count(lost, kind.kind), bystanders});
    }
    return rows;
}

void PrintSummary(const Report& report, std::ostream& out) {
    out << std::left << std::setw(20) << "" << std::right << std::setw(8) << "went" << std::setw(9) << "changed"
        << "   bystanders kept\n";
    int bystanders = 0;
    for (const KindCounts& row : CountsPerKind(report)) {
        bystanders += row.bystanders;
        out << std::left << std::setw(20) << row.label << std::right << std::setw(8) << row.went << std::setw(9)
            << row.changed << std::setw(8) << row.bystandersKept << " of " << row.bystanders << '\n';
    }
    out << "\nClient items that stayed (" << report.stayedClientItems.size() << "):\n";
    for (const auto& [item, reason] : report.stayedClientItems)
        out << "  " << ItemLine(item) << "  -- " << (reason.empty() ? "NO REASON: a missed trace" : reason) << '\n';
    for (const Item& item : report.lostBystanders) out << "  LOST BYSTANDER: " << ItemLine(item) << '\n';
    if (Passed(report))
        out << "\nVerdict: PASS - all " << bystanders << " bystanders kept; every client item that stayed has its reason.\n";
    else
        out << "\nVerdict: FAIL - " << report.lostBystanders.size() << " bystanders lost or changed.\n";
}

}  // namespace purgent::demo
