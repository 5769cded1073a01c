#include "wine_rules.h"

#include <algorithm>
#include <cctype>

#include "components/component_tables.h"
#include "files/file_tables.h"
#include "image/ansi_text.h"
#include "platform/file_mask.h"
#include "platform/sim/sim_short_names.h"

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

// The masks the program lists folders with, where a short name can make the
// difference (a "*" in them).
std::vector<std::string> CatalogueMasks() {
    std::vector<std::string> masks;
    for (const std::string& name : SystemFiles().systemFileNames) masks.push_back(name);
    for (const DllPass& pass : DllCatalogue().clientPasses) masks.push_back(pass.pattern);
    masks.push_back(MessengerCatalogue().dllPass.pattern);
    for (const FolderPattern& purge : OfficeFiles().writingToolsPurges)
        masks.push_back(purge.pattern.substr(purge.pattern.rfind('\\') + 1));
    std::erase_if(masks, [](const std::string& mask) { return mask.find('*') == std::string::npos; });
    return masks;
}

bool Matches(const std::string& name, const std::string& mask) { return !name.empty() && FitsMask(name, mask); }

// Windows makes short names from up to six characters, Wine from four and a
// hash: a mask with five or more before its "*" finds a file through its
// short name on Windows (and in the simulator), never under Wine.
WineRule ShortNameRule(const image::MachineImage& generated) {
    WineRule rule{"a mask matches its Windows short name, not Wine's", {}, {}, ""};
    const std::vector<std::string> masks = CatalogueMasks();
    for (const image::DriveItem& item : generated.drive) {
        const std::string name = item.path.substr(item.path.rfind('\\') + 1);
        const std::string windows = sim::MakeShortName(name, {}), wine = WineShortName(name);
        for (const std::string& mask : masks) {
            if (Matches(name, mask) || !Matches(windows, mask) || Matches(wine, mask)) continue;
            rule.files.insert(Folded(item.path));
            for (const image::DllEntry& dll : generated.machine.dlls)
                if (image::EqualsIgnoreCase(dll.path, item.path))
                    rule.keys.insert(rule.keys.end(), dll.unregisters.begin(), dll.unregisters.end());
        }
    }
    return rule;
}

// Wine's desktop writes the current user's shell folders it uses (the
// desktop, the application data folders) at every start.
WineRule ShellFoldersRule() {
    const std::string explorer = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    return {"Wine's desktop writes the shell folders at every start",
            {},
            {explorer + "Shell Folders", explorer + "User Shell Folders"},
            ""};
}

// Wine writes the profiles' root ("C:\\users") into the ProfileList at every
// start; the program never reads it.
WineRule ProfilesDirectoryRule() {
    return {"Wine writes its profiles directory at every start",
            {},
            {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList"},
            "ProfilesDirectory",
            false};
}

// Wine has no junctions: the harness makes each a symbolic link, and Wine
// lists what a link points at, where Windows refuses to list a compatibility
// junction. So Messenger's data folders, found by listing the profiles
// through "Documents and Settings", go under Wine only.
WineRule ListedJunctionRule(const image::MachineImage& generated) {
    WineRule rule{"Wine lists a junction's target", {}, {}, ""};
    const std::string data = MessengerCatalogue().dataFolder;
    for (const image::Junction& junction : generated.machine.junctions)
        for (const image::DriveItem& item : generated.drive) {
            if (!AtOrBelow(item.path, junction.target) || item.path.size() <= junction.target.size() + 1) continue;
            const auto profileEnd = item.path.find('\\', junction.target.size() + 1);
            if (profileEnd != std::string::npos && AtOrBelow(item.path, item.path.substr(0, profileEnd) + data))
                rule.files.insert(Folded(item.path));
        }
    return rule;
}

// Wine writes to disk only its own user's keys and .DEFAULT: the keys of a
// logged-on user's hive, seeded under HKEY_USERS\<SID>, are gone once the
// Wine machine has stopped and started again for the run.
WineRule LoadedHivesRule(const image::MachineImage& generated) {
    WineRule rule{"Wine keeps no other user's keys under HKEY_USERS across a restart", {}, {}, ""};
    const std::string users = "HKEY_USERS\\S-1-5-21";
    for (const image::RegistryKey& key : generated.registry) {
        if (Folded(key.path).rfind(Folded(users), 0) != 0) continue;
        const std::string hive = key.path.substr(0, key.path.find('\\', users.size()));
        if (std::find(rule.keys.begin(), rule.keys.end(), hive) == rule.keys.end()) rule.keys.push_back(hive);
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

bool InvalidInWineShortName(char c) { return std::string("*?<>|\"+=,;[] ~.").find(c) != std::string::npos; }

}  // namespace

bool WineRule::Covers(const std::string& subject, const std::string& valueName) const {
    if (files.count(Folded(subject))) return true;
    if (!value.empty() && !image::EqualsIgnoreCase(value, valueName)) return false;
    for (const std::string& key : keys)
        if (AtOrBelow(subject, key)) return true;
    return false;
}

// After Wine's hash_short_file_name (dlls/ntdll/unix/file.c).
std::string WineShortName(const std::string& name) {
    if (sim::IsShortName(name)) return "";
    unsigned short hash = 0xbeef;
    for (std::size_t i = 0; i + 1 < name.size(); ++i)
        hash = static_cast<unsigned short>((hash << 3) ^ (hash >> 5) ^ image::FoldCase(name[i]) ^
                                           (image::FoldCase(name[i + 1]) << 8));
    hash = static_cast<unsigned short>((hash << 3) ^ (hash >> 5) ^ image::FoldCase(name.back()));
    std::size_t extension = std::string::npos;
    for (std::size_t i = 1; i + 1 < name.size(); ++i)
        if (name[i] == '.') extension = i;
    const auto dosChar = [](char c) {
        return InvalidInWineShortName(c) ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    };
    std::string shortName;
    for (std::size_t i = 0; i < 4 && i < name.size() && i != extension; ++i) shortName += dosChar(name[i]);
    shortName.append(5 - shortName.size(), '~');
    const char* const kHashChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    shortName += kHashChars[(hash >> 10) & 0x1f];
    shortName += kHashChars[(hash >> 5) & 0x1f];
    shortName += kHashChars[hash & 0x1f];
    if (extension != std::string::npos) {
        shortName += '.';
        for (std::size_t i = extension + 1; i < name.size() && i < extension + 4; ++i) shortName += dosChar(name[i]);
    }
    return shortName;
}

std::vector<WineRule> WineRules(const image::MachineImage& generated, const image::MachineImage& wineBefore) {
    return {ShortNameRule(generated),       ShellFoldersRule(),
            ProfilesDirectoryRule(),         ListedJunctionRule(generated),
            UnheldAttributesRule(generated, wineBefore), LoadedHivesRule(generated)};
}

}  // namespace purgent::differential
