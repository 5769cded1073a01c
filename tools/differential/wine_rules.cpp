#include "wine_rules.h"

#include <algorithm>

#include "components/component_tables.h"
#include "image/ansi_text.h"

namespace purgent::differential {
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
    WineRule rule{"Wine lists a junction's target", {}, {}, "", {}};
    const std::string data = MessengerCatalogue().dataFolder;
    for (const image::Junction& junction : generated.machine.junctions) {
        rule.listed.emplace_back(junction.link, data);
        for (const image::DriveItem& item : generated.drive) {
            if (!AtOrBelow(item.path, junction.target) || item.path.size() <= junction.target.size() + 1) continue;
            const auto profileEnd = item.path.find('\\', junction.target.size() + 1);
            if (profileEnd != std::string::npos && AtOrBelow(item.path, item.path.substr(0, profileEnd) + data))
                rule.files.insert(Folded(item.path));
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
            rule.files.insert(Folded(item.path));
    return rule;
}

}  // namespace

bool WineRule::Covers(const std::string& subject, const std::string& valueName) const {
    if (files.count(Folded(subject))) return true;
    if (!value.empty() && !image::EqualsIgnoreCase(value, valueName)) return false;
    for (const std::string& key : keys)
        if (AtOrBelow(subject, key)) return true;
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

std::vector<WineRule> WineRules(const image::MachineImage& generated, const image::MachineImage& wineBefore) {
    return {ProfilesDirectoryRule(), ListedJunctionRule(generated),
            UnheldAttributesRule(generated, wineBefore)};
}

}  // namespace purgent::differential
