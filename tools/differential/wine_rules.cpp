#include "wine_rules.h"

#include <algorithm>
#include <map>

#include "components/component_tables.h"
#include "image/ansi_text.h"

namespace purgent::differential {

const char* const kFullAccess = "Wine opens a protected key with full access";

namespace {

std::string Folded(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) c = image::FoldCase(c);
    return folded;
}

bool AtOrBelow(const std::string& path, const std::string& top) {
    const std::string p = Folded(path), t = Folded(top);
    return p == t || (p.size() > t.size() && p.compare(0, t.size(), t) == 0 && p[t.size()] == '\\');
}

// Wine writes the profiles' root ("C:\\users") into the ProfileList at every
// start; the program never reads it.
WineRule ProfilesDirectoryRule() {
    return {"Wine writes its profiles directory at every start",
            {},
            {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList"},
            "ProfilesDirectory"};
}

// Wine has no junctions: the harness makes each a symbolic link, and Wine
// lists what a link points at, where Windows refuses to list a compatibility
// junction. So Messenger's data folders, found by listing the profiles
// through "Documents and Settings", go under Wine only, and the walk shows
// each entry it lists (".", "..", Wine's own profiles too).
WineRule ListedJunctionRule(const image::MachineImage& generated) {
    WineRule rule{"Wine lists a junction's target", {}, {}, ""};
    const std::string data = MessengerCatalogue().dataFolder;
    for (const image::Junction& junction : generated.machine.junctions) {
        rule.listed.emplace_back(junction.link, data);
        for (const image::DriveItem& item : generated.drive) {
            if (!AtOrBelow(item.path, junction.target) || item.path.size() <= junction.target.size() + 1) continue;
            const auto profileEnd = item.path.find('\\', junction.target.size() + 1);
            if (profileEnd != std::string::npos && AtOrBelow(item.path, item.path.substr(0, profileEnd) + data))
                rule.paths.insert(Folded(item.path));
        }
    }
    return rule;
}

std::string Attributes(const image::MachineImage& machine, const std::string& path) {
    std::uint32_t bits = 0;
    for (const image::FileAttributes& entry : machine.machine.attributes)
        if (image::EqualsIgnoreCase(entry.path, path)) bits = entry.attributes;
    return std::to_string(bits);
}

// What the seeding could not give the Wine machine (a folder's read-only bit):
// the seeded machine, read back, already differs from the image there.
WineRule UnheldAttributesRule(const image::MachineImage& generated, const image::MachineImage& wineBefore) {
    WineRule rule{"the Wine machine could not take the attributes", {}, {}, ""};
    for (const image::DriveItem& item : generated.drive)
        if (image::FindDriveItem(wineBefore.drive, item.path) &&
            Attributes(generated, item.path) != Attributes(wineBefore, item.path))
            rule.paths.insert(Folded(item.path));
    return rule;
}

// What stays on Windows where Wine opens a protected key: the key, each key
// still holding it, and what the program reaches below it only by listing
// it (a subkey it names in full it opens on its own). Wine only ever does
// more there, so only that is explained; the real program's changes of the
// key itself and of the keys holding it are taken out of its log before the
// comparison, so the simulator making them is a difference.
WineRule ProtectedKeyRule(const image::MachineImage& generated) {
    WineRule rule{kFullAccess, {}, generated.machine.denied, "", {},
                  {"key only in the simulator: ", "value only in the simulator: ", "value differs: ",
                   "log event only on Wine: "}};
    for (const std::string& key : generated.machine.denied)
        for (auto end = key.find('\\'); end != std::string::npos; end = key.find('\\', end + 1))
            rule.paths.insert(Folded(key.substr(0, end)));
    return rule;
}

std::string FolderName(const std::string& path) {
    std::string folded = Folded(path);
    while (!folded.empty() && folded.back() == '\\') folded.pop_back();
    return folded;
}

// Each location a run log names, by its field.
std::map<std::string, std::string> Locations(const std::string& log) {
    std::map<std::string, std::string> found;
    for (const std::string& line : image::SplitLines(log)) {
        const auto field = line.find('\t', 9), end = line.find('\t', field + 1);
        if (line.rfind("location\t", 0) == 0 && field != std::string::npos && end == std::string::npos)
            found[line.substr(9, field - 9)] = line.substr(field + 1);
    }
    return found;
}

// The folders named by a text value of a protected key.
std::set<std::string> FoldersInProtectedKeys(const image::MachineImage& generated) {
    std::set<std::string> folders;
    const image::RegistryKeys keys = image::NetRegistry(generated.registry);
    for (const std::string& path : generated.machine.denied) {
        const image::RegistryKey* key = image::FindKey(keys, path);
        for (const image::RegistryValue& value : key ? key->values : std::vector<image::RegistryValue>{})
            if (value.type == 1 || value.type == 2)
                folders.insert(FolderName(std::string(value.data.begin(), std::find(value.data.begin(), value.data.end(), 0))));
    }
    return folders;
}

// A location the real program read from a protected key, which Windows does
// not let it open: there the simulator finds the location elsewhere (or not
// at all), and what each run does at or below its folder differs.
WineRule ProtectedLocationRule(const image::MachineImage& generated, const RunLogs& logs) {
    WineRule rule{"Wine reads a location from a protected key", {}, {}, ""};
    const std::set<std::string> protectedFolders = FoldersInProtectedKeys(generated);
    const std::map<std::string, std::string> simulated = Locations(logs.sim);
    for (const auto& [field, folder] : Locations(logs.wine)) {
        if (!protectedFolders.count(FolderName(folder))) continue;
        rule.trees.push_back(FolderName(folder));
        const auto other = simulated.find(field);
        if (other != simulated.end()) rule.trees.push_back(FolderName(other->second));
    }
    return rule;
}

}  // namespace

bool RefusedOnWindows(const image::MachineImage& generated, const std::string& event, const std::string& key) {
    if (event != "reg-delete-key" && event != "reg-delete-value" && event != "reg-set-value") return false;
    return std::any_of(generated.machine.denied.begin(), generated.machine.denied.end(), [&](const std::string& denied) {
        return image::EqualsIgnoreCase(key, denied) || (event == "reg-delete-key" && AtOrBelow(denied, key));
    });
}

bool WineRule::Covers(const std::string& subject, const std::string& valueName) const {
    if (paths.count(Folded(subject))) return true;
    if (!value.empty() && !image::EqualsIgnoreCase(value, valueName)) return false;
    for (const std::string& tree : trees)
        if (AtOrBelow(subject, tree) || (!valueName.empty() && AtOrBelow(valueName, tree))) return true;
    const std::string folded = Folded(subject);
    for (const auto& [folder, rest] : listed) {
        const std::string top = Folded(folder) + "\\";
        const auto entryEnd = folded.find('\\', top.size());
        if (folded.rfind(top, 0) == 0 && entryEnd != std::string::npos &&
            AtOrBelow(folded.substr(entryEnd), Folded(rest)))
            return true;
    }
    return false;
}

bool WineRule::Explains(const std::string& line) const {
    // A line of a hive file's comparison begins "in <hive file>: ".
    return explains.empty() || std::any_of(explains.begin(), explains.end(), [&](const std::string& kind) {
               return line.rfind(kind, 0) == 0 || (line.rfind("in ", 0) == 0 && line.find(": " + kind) != std::string::npos);
           });
}

std::vector<WineRule> WineRules(const image::MachineImage& generated, const image::MachineImage& wineBefore,
                                const RunLogs& logs) {
    return {ProfilesDirectoryRule(), ListedJunctionRule(generated), UnheldAttributesRule(generated, wineBefore),
            ProtectedKeyRule(generated), ProtectedLocationRule(generated, logs)};
}

}  // namespace purgent::differential
