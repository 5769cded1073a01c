// machine.ini: the parts of a workstation that are neither registry nor files.
#include <cctype>
#include <functional>
#include <map>

#include "image/ansi_text.h"
#include "image/machine_image.h"

namespace purgent::image {
namespace {

// The keys the simulator reads beyond the documented ones, so that tests can
// reach every failure path (the README lists them), with the values each takes.
struct SimulatorKey {
    const char* section;
    const char* key;
    std::vector<const char*> values;
};
const SimulatorKey SimulatorKeys[] = {
    {"machine", "psapi", {"yes", "no", "incomplete", "failing"}},
    {"machine", "toolhelp", {"yes", "no", "incomplete", "failing"}},
    {"machine", "short-names", {"yes", "no"}},
    // Drive letters mapped to network shares: "N" or "N,Z"; no fixed values.
    {"machine", "network-drives", {}},
    // Folders ordinary users may create files in: "C:\\Temp;C:\\Users\\Public".
    {"machine", "user-writable", {}},
    // Another Purgent run holds the machine-wide run name.
    {"machine", "run-in-progress", {"yes", "no"}},
    {"process", "modules", {"yes", "no"}},
    {"process", "terminates", {"yes", "no"}},
    {"window", "thread", {"yes", "no"}},
};

// "a, b or c"
std::string Alternatives(const std::vector<const char*>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += i + 1 == values.size() ? " or " : ", ";
        text += values[i];
    }
    return text;
}

struct SourceLine {
    std::string text;
    int number = 0;
};

struct RawSection {
    std::string name;
    int number = 0;
    std::vector<SourceLine> lines;
};

class MachineIniParser {
public:
    MachineIniParser(std::string source, const std::function<bool(const std::string&)>& namesDriveItem)
        : source_(std::move(source)), namesDriveItem_(namesDriveItem) {}

    MachineIni Parse(const std::string& text) {
        MachineIni ini;
        bool machineSeen = false;
        for (const RawSection& section : SplitSections(text)) {
            const std::string name = section.name;
            if (EqualsIgnoreCase(name, "machine")) {
                if (!machineSeen) ini.machine.windir.reset();
                machineSeen = true;
                ReadMachine(section, ini.machine);
            } else if (EqualsIgnoreCase(name, "attributes")) {
                for (const SourceLine& line : section.lines) ini.attributes.push_back(ReadAttributes(line));
            } else if (EqualsIgnoreCase(name, "locked")) {
                for (const SourceLine& line : section.lines) ini.locked.push_back(DrivePath(line, line.text));
            } else if (EqualsIgnoreCase(name, "denied")) {
                for (const SourceLine& line : section.lines) ini.denied.push_back(line.text);
            } else if (EqualsIgnoreCase(name, "process")) {
                ini.processes.push_back(ReadProcess(section));
            } else if (EqualsIgnoreCase(name, "window")) {
                ini.windows.push_back(ReadWindow(section));
            } else if (EqualsIgnoreCase(name, "dll")) {
                ini.dlls.push_back(ReadDll(section));
            } else if (EqualsIgnoreCase(name, "junction")) {
                for (const SourceLine& line : section.lines) ini.junctions.push_back(ReadJunction(line));
            } else if (EqualsIgnoreCase(name, "reparse")) {
                for (const SourceLine& line : section.lines) ini.reparsePoints.push_back(ReadJunction(line));
            } else if (EqualsIgnoreCase(name, "registry-link")) {
                for (const SourceLine& line : section.lines) ini.registryLinks.push_back(ReadRegistryLink(line));
            } else {
                Fail(section.number, "unknown section [" + name + "]");
            }
        }
        return ini;
    }

private:
    [[noreturn]] void Fail(int line, const std::string& what) const {
        throw ImageError(source_ + ":" + std::to_string(line) + ": " + what);
    }

    std::vector<RawSection> SplitSections(const std::string& text) const {
        std::vector<RawSection> sections;
        int number = 0;
        for (std::string line : SplitLines(text)) {
            ++number;
            line = Trim(line);
            if (line.empty() || line[0] == ';' || line[0] == '#') continue;
            if (line[0] == '[') {
                if (line.back() != ']') Fail(number, "section line without closing ']'");
                sections.push_back({Trim(line.substr(1, line.size() - 2)), number, {}});
            } else if (sections.empty()) {
                Fail(number, "line outside any section");
            } else {
                sections.back().lines.push_back({line, number});
            }
        }
        return sections;
    }

    // "C:\\Documents and Settings=C:\\Users": a folder name may hold "=" but
    // no ":", so the split is before the first "=" that a drive follows.
    Junction ReadJunction(const SourceLine& line) const {
        const std::string& text = line.text;
        for (std::size_t equals = text.find('='); equals != std::string::npos; equals = text.find('=', equals + 1)) {
            const std::string link = Trim(text.substr(0, equals));
            const std::string target = Trim(text.substr(equals + 1));
            if (IsFullPath(link) && IsFullPath(target)) return {link, target};
        }
        Fail(line.number, "expected <folder>=<folder it names>, both full paths with a drive letter");
    }

    // "HKEY_LOCAL_MACHINE\\Software\\A=HKEY_LOCAL_MACHINE\\Software\\B": a key
    // name may hold "=", so the split is before the first "=" that a root
    // follows. A link in a hive file is written "<file>|HKEY_CURRENT_USER\\...":
    // a file name never holds "|".
    RegistryLink ReadRegistryLink(const SourceLine& line) const {
        std::string text = line.text, hive;
        if (IsFullPath(text)) {
            const auto bar = text.find('|');
            if (bar == std::string::npos)
                Fail(line.number, "expected <hive file>|HKEY_CURRENT_USER\\...=<key it names>");
            hive = DrivePath(line, Trim(text.substr(0, bar)));
            if (!EqualsIgnoreCase(hive.substr(hive.rfind('\\') + 1), "ntuser.dat"))
                Fail(line.number, "\"" + hive + "\" is no hive file (ntuser.dat)");
            text = text.substr(bar + 1);
        }
        for (std::size_t equals = text.find('='); equals != std::string::npos; equals = text.find('=', equals + 1)) {
            const std::string key = Trim(text.substr(0, equals));
            const std::string target = Trim(text.substr(equals + 1));
            if (!IsKeyPath(key) || !IsKeyPath(target)) continue;
            if (!hive.empty() && !EqualsIgnoreCase(key.substr(0, key.find('\\')), "HKEY_CURRENT_USER"))
                Fail(line.number, "a link in a hive file lies under HKEY_CURRENT_USER");
            return {key, target, hive};
        }
        Fail(line.number, "expected <key>=<key it names>, both full key paths under a root of the registry");
    }

    static bool IsKeyPath(const std::string& path) {
        const auto slash = path.find('\\');
        if (slash == std::string::npos || path.back() == '\\') return false;
        const std::string root = path.substr(0, slash);
        for (const char* known : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS", "HKEY_CLASSES_ROOT"})
            if (EqualsIgnoreCase(root, known)) return true;
        return false;
    }

    static bool IsFullPath(const std::string& path) {
        return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
               path[2] == '\\';
    }

    IniEntry SplitEntry(const SourceLine& line) const {
        const auto equals = line.text.find('=');
        if (equals == std::string::npos) Fail(line.number, "expected key=value");
        return {Trim(line.text.substr(0, equals)), Trim(line.text.substr(equals + 1))};
    }

    bool YesNo(const SourceLine& line, const std::string& value) const {
        if (EqualsIgnoreCase(value, "yes")) return true;
        if (EqualsIgnoreCase(value, "no")) return false;
        Fail(line.number, "expected yes or no, not \"" + value + "\"");
    }

    // Hands each key=value of the section to the reader of its key; the
    // simulator's own keys go to otherKeys, key and value spelt as listed.
    using KeyReaders = std::map<std::string, std::function<void(const SourceLine&, const std::string&)>>;
    void ReadEntries(const RawSection& section, const KeyReaders& readers,
                     std::vector<IniEntry>& otherKeys) const {
        for (const SourceLine& line : section.lines) {
            const IniEntry entry = SplitEntry(line);
            std::string key;
            for (char c : entry.key) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const auto reader = readers.find(key);
            if (reader == readers.end())
                otherKeys.push_back({key, SimulatorValue(section, line, key, entry.value)});
            else
                reader->second(line, entry.value);
        }
    }

    // A typo must not quietly change the simulated machine: a key is known or
    // it is an error.
    std::string SimulatorValue(const RawSection& section, const SourceLine& line, const std::string& key,
                               const std::string& value) const {
        for (const SimulatorKey& known : SimulatorKeys) {
            if (!EqualsIgnoreCase(section.name, known.section) || key != known.key) continue;
            if (known.values.empty()) return key == "network-drives" ? DriveLetters(line, value) : value;
            for (const char* allowed : known.values)
                if (EqualsIgnoreCase(value, allowed)) return allowed;
            Fail(line.number,
                 "expected " + key + " " + Alternatives(known.values) + ", not \"" + value + "\"");
        }
        Fail(line.number, "unknown key \"" + key + "\" in [" + section.name + "]");
    }

    std::string DriveLetters(const SourceLine& line, const std::string& value) const {
        std::string letters;
        for (char c : value) {
            if (std::isalpha(static_cast<unsigned char>(c)))
                letters += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            else if (c != ',' && c != ' ')
                Fail(line.number, "expected drive letters separated by commas, not \"" + value + "\"");
        }
        return letters;
    }

    void ReadMachine(const RawSection& section, MachineSettings& machine) const {
        ReadEntries(section,
                    {{"windir", [&](const SourceLine&, const std::string& v) { machine.windir = v; }},
                     {"platform",
                      [&](const SourceLine& line, const std::string& v) {
                          if (EqualsIgnoreCase(v, "nt")) machine.platform = PlatformFamily::Nt;
                          else if (EqualsIgnoreCase(v, "9x")) machine.platform = PlatformFamily::Win9x;
                          else if (EqualsIgnoreCase(v, "other")) machine.platform = PlatformFamily::Other;
                          else Fail(line.number, "expected platform nt, 9x or other, not \"" + v + "\"");
                      }},
                     {"restore-privilege",
                      [&](const SourceLine& line, const std::string& v) { machine.restorePrivilege = YesNo(line, v); }}},
                    machine.otherKeys);
    }

    // The letters follow the last '=': a path may hold one, the letters never do.
    FileAttributes ReadAttributes(const SourceLine& line) const {
        const auto equals = line.text.rfind('=');
        if (equals == std::string::npos) Fail(line.number, "expected <path>=<letters>");
        FileAttributes entry{DrivePath(line, Trim(line.text.substr(0, equals))), 0};
        for (char letter : Trim(line.text.substr(equals + 1))) {
            switch (std::tolower(static_cast<unsigned char>(letter))) {
                case 'r': entry.attributes |= AttrReadOnly; break;
                case 'h': entry.attributes |= AttrHidden; break;
                case 's': entry.attributes |= AttrSystem; break;
                default: Fail(line.number, std::string("unknown attribute letter '") + letter + "' (r, h, s)");
            }
        }
        return entry;
    }

    ProcessEntry ReadProcess(const RawSection& section) const {
        ProcessEntry process;
        ReadEntries(section,
                    {{"image", [&](const SourceLine&, const std::string& v) { process.image = v; }},
                     {"queryable", [&](const SourceLine& l, const std::string& v) { process.queryable = YesNo(l, v); }},
                     {"terminable", [&](const SourceLine& l, const std::string& v) { process.terminable = YesNo(l, v); }}},
                    process.otherKeys);
        if (process.image.empty()) Fail(section.number, "[process] without image=");
        return process;
    }

    WindowEntry ReadWindow(const RawSection& section) const {
        WindowEntry window;
        ReadEntries(section,
                    {{"title", [&](const SourceLine&, const std::string& v) { window.title = v; }},
                     {"class", [&](const SourceLine&, const std::string& v) { window.className = v; }},
                     {"closes", [&](const SourceLine& l, const std::string& v) { window.closes = YesNo(l, v); }},
                     {"process", [&](const SourceLine&, const std::string& v) { window.process = v; }}},
                    window.otherKeys);
        return window;
    }

    DllEntry ReadDll(const RawSection& section) const {
        DllEntry dll;
        ReadEntries(section,
                    {{"path", [&](const SourceLine& l, const std::string& v) { dll.path = DrivePath(l, v); }},
                     {"unregisters", [&](const SourceLine&, const std::string& v) { dll.unregisters.push_back(v); }}},
                    dll.otherKeys);
        if (dll.path.empty()) Fail(section.number, "[dll] without path=");
        return dll;
    }

    // A path that must name a file or folder of drive/.
    std::string DrivePath(const SourceLine& line, const std::string& path) const {
        if (namesDriveItem_ && !namesDriveItem_(path)) Fail(line.number, "\"" + path + "\" names nothing in drive/");
        return path;
    }

    std::string source_;
    const std::function<bool(const std::string&)>& namesDriveItem_;
};

const char* PlatformName(PlatformFamily platform) {
    switch (platform) {
        case PlatformFamily::Win9x: return "9x";
        case PlatformFamily::Other: return "other";
        default: return "nt";
    }
}

const char* YesNoText(bool yes) { return yes ? "yes" : "no"; }

class IniWriter {
public:
    void Section(const std::string& name) {
        if (!text_.empty()) text_ += "\n";
        text_ += "[" + name + "]\n";
    }
    void Line(const std::string& line) { text_ += AnsiToUtf8(line) + "\n"; }
    void Entry(const std::string& key, const std::string& value) { Line(key + "=" + value); }
    void Entries(const std::vector<IniEntry>& entries) {
        for (const IniEntry& entry : entries) Entry(entry.key, entry.value);
    }
    std::string Text() const { return text_; }

private:
    std::string text_;
};

std::string AttributeLetters(std::uint32_t attributes) {
    std::string letters;
    if (attributes & AttrReadOnly) letters += 'r';
    if (attributes & AttrHidden) letters += 'h';
    if (attributes & AttrSystem) letters += 's';
    return letters;
}

}  // namespace

MachineIni ParseMachineIni(const std::string& text, const std::string& sourceName,
                           const std::function<bool(const std::string&)>& namesDriveItem) {
    return MachineIniParser(sourceName, namesDriveItem).Parse(TextFileToAnsi(text));
}

std::string WriteMachineIni(const MachineIni& ini) {
    IniWriter out;
    out.Section("machine");
    if (ini.machine.windir) out.Entry("windir", *ini.machine.windir);
    out.Entry("platform", PlatformName(ini.machine.platform));
    out.Entry("restore-privilege", YesNoText(ini.machine.restorePrivilege));
    out.Entries(ini.machine.otherKeys);
    if (!ini.attributes.empty()) out.Section("attributes");
    for (const FileAttributes& entry : ini.attributes) out.Entry(entry.path, AttributeLetters(entry.attributes));
    for (const auto& [name, lines] : {std::pair{"locked", &ini.locked}, std::pair{"denied", &ini.denied}}) {
        if (!lines->empty()) out.Section(name);
        for (const std::string& line : *lines) out.Line(line);
    }
    for (const ProcessEntry& process : ini.processes) {
        out.Section("process");
        out.Entry("image", process.image);
        out.Entry("queryable", YesNoText(process.queryable));
        out.Entry("terminable", YesNoText(process.terminable));
        out.Entries(process.otherKeys);
    }
    for (const WindowEntry& window : ini.windows) {
        out.Section("window");
        out.Entry("title", window.title);
        out.Entry("class", window.className);
        out.Entry("closes", YesNoText(window.closes));
        if (!window.process.empty()) out.Entry("process", window.process);
        out.Entries(window.otherKeys);
    }
    for (const DllEntry& dll : ini.dlls) {
        out.Section("dll");
        out.Entry("path", dll.path);
        for (const std::string& key : dll.unregisters) out.Entry("unregisters", key);
        out.Entries(dll.otherKeys);
    }
    if (!ini.junctions.empty()) out.Section("junction");
    for (const Junction& junction : ini.junctions) out.Entry(junction.link, junction.target);
    if (!ini.reparsePoints.empty()) out.Section("reparse");
    for (const ReparsePoint& link : ini.reparsePoints) out.Entry(link.link, link.target);
    if (!ini.registryLinks.empty()) out.Section("registry-link");
    for (const RegistryLink& link : ini.registryLinks)
        out.Entry(link.hive.empty() ? link.key : link.hive + "|" + link.key, link.target);
    return out.Text();
}

}  // namespace purgent::image
