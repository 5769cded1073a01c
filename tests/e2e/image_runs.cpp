#include "image_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "image/ansi_text.h"

#include "wine_harness.h"

namespace purgent::e2e {

std::vector<std::string> EventLines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("#", 0) != 0) lines.push_back(line);
    return lines;
}

namespace {
constexpr int kTimeoutSeconds = 300;

std::string Folded(std::string text) {
    for (char& c : text) c = image::FoldCase(c);
    return text;
}

std::string EventName(const std::string& line) { return line.substr(0, line.find('\t')); }

std::string Field(const std::string& line, std::size_t index) {
    std::size_t start = line.find('\t');
    for (std::size_t i = 0; i < index && start != std::string::npos; ++i) start = line.find('\t', start + 1);
    if (start == std::string::npos) return "";
    const std::size_t end = line.find('\t', start + 1);
    return line.substr(start + 1, end == std::string::npos ? end : end - start - 1);
}

bool IsRegsvrLaunch(const std::string& line) {
    if (EventName(line) != "launch") return false;
    const std::string program = Folded(Field(line, 0));
    return program.size() >= 12 && program.compare(program.size() - 12, 12, "REGSVR32.EXE") == 0;
}

// What the seeded image names, folded: its keys with every key above them,
// the keys that hold values, its files and folders.
struct NamedData {
    explicit NamedData(const std::string& imageDir) {
        const image::MachineImage seeded = image::LoadMachineImage(imageDir);
        for (const image::RegistryKey& key : seeded.registry) {
            const std::string path = Folded(key.path);
            for (std::size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
                keys.insert(path.substr(0, end));
            keys.insert(path);
        }
        for (const image::DriveItem& item : seeded.drive) files.insert(Folded(item.path));
    }
    bool Names(const std::string& line) const {
        const std::string event = EventName(line);
        const std::string target = Folded(Field(line, 0));
        // A user's hive loaded by the run holds the image's data only.
        if (event.rfind("reg-", 0) == 0) return keys.count(target) || target.rfind("HKEY_USERS\\PURGENT.USERHIVE\\", 0) == 0;
        if (event == "file-delete" || event == "dir-remove" || event == "file-attr") return files.count(target);
        return true;
    }
    std::set<std::string> keys, files;
};

// The events a preview and a real run of one image must share, in order:
// - the status bar's texts and progress, the locations and the profile set
//   are left out: they also follow what a real machine holds beside the
//   image (Wine's own shell folders, its own user in the profile list);
// - changes are kept where they touch what the image names (a real machine
//   holds other keys, such as Wine's own COM classes, a catalogue may name);
// - regsvr32's own deletions are left out: another program's changes, which
//   the simulator records after its launch and a real log cannot see;
// - a value set again to the data it was set to before changes nothing and is
//   left out: a real machine's own user, whom the image does not name, is
//   cleaned once through HKEY_CURRENT_USER and again where the hive is loaded;
// - the values one key loses in a row are compared as a set: the simulator
//   lists a key's values in its own order, Windows in the order they were
//   written.
std::vector<std::string> SharedEvents(const std::vector<std::string>& lines, const NamedData& named) {
    static const std::set<std::string> statusAndDiscovery{"phase", "item", "progress", "location", "profile"};
    std::vector<std::string> kept;
    bool afterRegsvr = false;
    for (const std::string& line : lines) {
        const std::string event = EventName(line);
        const bool regsvrDeletion = afterRegsvr && event == "reg-delete-key";
        afterRegsvr = IsRegsvrLaunch(line) || regsvrDeletion;
        if (regsvrDeletion || statusAndDiscovery.count(event) || !named.Names(line)) continue;
        const std::string folded = Folded(line);
        if (event == "reg-set-value" && std::find(kept.begin(), kept.end(), folded) != kept.end()) continue;
        kept.push_back(folded);
    }
    for (auto run = kept.begin(); run != kept.end();) {
        const auto sameKeyValues = [&](const std::string& line) {
            return EventName(line) == "REG-DELETE-VALUE" && Field(line, 0) == Field(*run, 0);
        };
        const auto end = std::find_if_not(run, kept.end(), sameKeyValues);
        std::sort(run, end);
        run = end == run ? run + 1 : end;
    }
    return kept;
}
}  // namespace

std::string WindowsPath(const std::string& hostPath) {
    std::string path = "Z:" + std::filesystem::absolute(hostPath).string();
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

namespace {
bool OnDriveD(const std::string& path) { return path.size() > 1 && image::FoldCase(path[0]) == 'D' && path[1] == ':'; }

bool NamesDriveD(const image::MachineImage& machine) {
    return std::any_of(machine.drive.begin(), machine.drive.end(), [](const image::DriveItem& item) { return OnDriveD(item.path); }) ||
           std::any_of(machine.machine.reparsePoints.begin(), machine.machine.reparsePoints.end(),
                       [](const image::ReparsePoint& link) { return OnDriveD(link.link) || OnDriveD(link.target); });
}

std::size_t Depth(const std::string& path) { return static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\')); }
}  // namespace

void MakeLinks(const WinePrefix& prefix, std::vector<image::Junction> links) {
    namespace fs = std::filesystem;
    // A link written below another one is made through it, where that one leads.
    std::stable_sort(links.begin(), links.end(),
                     [](const image::Junction& a, const image::Junction& b) { return Depth(a.link) < Depth(b.link); });
    for (const image::Junction& link : links) {
        const fs::path at = prefix.UnixPath(link.link);
        fs::create_directories(at.parent_path());
        fs::create_symlink(fs::relative(prefix.UnixPath(link.target), at.parent_path()), at);
    }
}

void SeedOnWine(WinePrefix& prefix, const std::string& imageDir, const E2eTarget& target) {
    const image::MachineImage seeded = image::LoadMachineImage(imageDir);
    if (NamesDriveD(seeded)) prefix.MapDrive('d');
    EXPECT_EQ(prefix.Run({target.Exe("seed.exe"), WindowsPath(imageDir)}, kTimeoutSeconds), 0) << prefix.Output();
    MakeLinks(prefix, seeded.machine.reparsePoints);
}

image::MachineImage SnapshotOnWine(WinePrefix& prefix, const std::string& imageDir, const std::string& outDir,
                                   const E2eTarget& target) {
    EXPECT_EQ(prefix.Run({target.Exe("snapshot.exe"), WindowsPath(imageDir), WindowsPath(outDir)}, kTimeoutSeconds), 0)
        << prefix.Output();
    return image::LoadMachineImage(outDir);
}

image::MachineImage CleanOnWine(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                                const std::string& outDir, const E2eTarget& target) {
    WinePrefix prefix(target.arch);
    SeedOnWine(prefix, imageDir, target);
    std::filesystem::create_directories(std::filesystem::path(outDir).parent_path());
    std::vector<std::string> purgent = {target.Exe("purgent.exe")};
    purgent.insert(purgent.end(), purgentArgs.begin(), purgentArgs.end());
    purgent.push_back("/log=" + WindowsPath(outDir + ".log"));
    EXPECT_EQ(prefix.Run(purgent, kTimeoutSeconds), 0) << prefix.Output();
    return SnapshotOnWine(prefix, imageDir, outDir, target);
}

image::MachineImage CleanWithHiveHeld(WinePrefix& prefix, WineProcess& holder, const std::string& sid,
                                      const std::vector<std::string>& purgentArgs, const std::string& imageDir,
                                      const std::string& outDir) {
    std::vector<std::string> purgent = {Win64Exe("purgent.exe")};
    purgent.insert(purgent.end(), purgentArgs.begin(), purgentArgs.end());
    EXPECT_EQ(prefix.Run(purgent, kTimeoutSeconds), 0) << prefix.Output();
    EXPECT_EQ(prefix.Run({"reg", "query", "HKU\\" + sid}, 60), 0) << "the logged-on user's hive is no longer loaded";
    EXPECT_NE(prefix.Run({"reg", "query", "HKU\\Purgent.UserHive"}, 60), 0) << "a hive the run loaded is left loaded";
    std::ofstream(prefix.UnixPath(kHiveHoldRelease)).close();
    EXPECT_EQ(holder.Wait(kTimeoutSeconds), 0) << prefix.Output();
    return SnapshotOnWine(prefix, imageDir, outDir);
}

image::MachineImage CleanOnSim(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                               const std::string& outDir) {
    std::string command = PurgentSimExe() + " --machine '" + imageDir + "' --save '" + outDir +
                          "' --trace '" + outDir + ".trace' --";
    for (const std::string& arg : purgentArgs) command += " '" + arg + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return image::LoadMachineImage(outDir);
}

void ExpectSameEvents(const std::string& imageDir, const std::string& wineOutDir, const std::string& simOutDir) {
    const NamedData named(imageDir);
    const std::vector<std::string> real = SharedEvents(EventLines(wineOutDir + ".log"), named);
    const std::vector<std::string> simulated = SharedEvents(EventLines(simOutDir + ".trace"), named);
    ASSERT_FALSE(real.empty()) << wineOutDir << ".log";
    for (std::size_t i = 0; i < std::max(real.size(), simulated.size()); ++i) {
        const std::string a = i < real.size() ? real[i] : "(end)";
        const std::string b = i < simulated.size() ? simulated[i] : "(end)";
        ASSERT_EQ(a, b)
            << "event " << i + 1 << " differs:\n  wine: " << a << "\n  sim:  " << b << "\n(" << wineOutDir
            << ".log, " << simOutDir << ".trace)";
    }
}

namespace {
std::vector<std::string> FailureNotes(const std::string& log) {
    std::vector<std::string> notes;
    std::ifstream in(log, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("# failed\t", 0) == 0) notes.push_back(Folded(line));
    return notes;
}
}  // namespace

void ExpectSameFailures(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                        const std::string& wineLog, const std::string& simOutDir) {
    std::vector<std::string> args = purgentArgs;
    args.push_back("/log=C:\\purgent-sim.log");
    CleanOnSim(imageDir, args, simOutDir);
    const std::vector<std::string> real = FailureNotes(wineLog);
    EXPECT_FALSE(real.empty()) << wineLog;
    EXPECT_EQ(real, FailureNotes(simOutDir + "/drive/C/purgent-sim.log"));
}

void ExpectSameOnNamedData(const image::RegistryKeys& seeded, const image::RegistryKeys& real,
                           const image::RegistryKeys& simulated, const std::string& who) {
    for (const image::RegistryKey& key : seeded) {
        const image::RegistryKey* onWine = image::FindKey(real, key.path);
        const image::RegistryKey* inSim = image::FindKey(simulated, key.path);
        ASSERT_EQ(onWine != nullptr, inSim != nullptr)
            << who << ": " << key.path << (onWine ? " only on Wine" : " only in the sim");
        if (!onWine) continue;
        for (const image::RegistryValue& value : key.values) {
            const std::string where = who + ": " + key.path + " [" + value.name + "]";
            const image::RegistryValue* a = image::FindValue(*onWine, value.name);
            const image::RegistryValue* b = image::FindValue(*inSim, value.name);
            ASSERT_EQ(a != nullptr, b != nullptr) << where << (a ? " only on Wine" : " only in the sim");
            if (!a) continue;
            EXPECT_EQ(a->type, b->type) << where;
            EXPECT_EQ(a->data, b->data) << where;
        }
    }
}

}  // namespace purgent::e2e
