// The per-user registry cleaning of the real purgent.exe on a Wine machine
// seeded with three user profiles: the client's traces go from every hive and
// from .DEFAULT, everything else stays byte for byte, and purgent-sim cleans
// the same image to the same result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;
using image::MachineImage;
using image::RegistryKey;
using image::RegistryKeys;
using image::RegistryValue;

const std::string kImage = std::string(PURGENT_TEST_DATA) + "/users";
const std::vector<std::string> kPurgentArgs = {"/sn", "/km"};
constexpr int kTimeoutSeconds = 300;

std::string WindowsPath(const std::string& hostPath) {
    std::string path = "Z:" + fs::absolute(hostPath).string();
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Within(const std::string& path, const std::string& tree) {
    const std::string p = Lower(path), t = Lower(tree);
    return p == t || (p.size() > t.size() && p.compare(0, t.size(), t) == 0 && p[t.size()] == '\\');
}

// One user's registry as an image holds it: the keys under a root, as the
// document names them (a snapshot reads only the named keys back).
struct UserRegistry {
    std::string name;
    std::string root;  // "HKEY_CURRENT_USER" (also inside hive files)
    RegistryKeys keys;
};

std::vector<UserRegistry> Users(const MachineImage& machine) {
    std::vector<UserRegistry> users{{"jo", "HKEY_CURRENT_USER", machine.registry},
                                    {".DEFAULT", "HKEY_USERS\\.DEFAULT", machine.registry}};
    for (const std::string profile : {"ann", "bob"}) {
        const image::DriveItem* hive =
            image::FindDriveItem(machine.drive, "C:\\Documents and Settings\\" + profile + "\\ntuser.dat");
        users.push_back({profile, "HKEY_CURRENT_USER",
                         hive ? image::ParseHiveText(hive->contents, profile) : RegistryKeys{}});
    }
    return users;
}

const char* const kMessaging[] = {
    "\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles",
    "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles",
};
const std::string kExplorer = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// The client's keys: they go with everything below them.
std::vector<std::string> TraceTrees(const std::string& root) {
    std::vector<std::string> trees = {
        root + "\\AppEvents\\EventLabels\\NGD_Ringin",
        root + "\\AppEvents\\Schemes\\Apps\\ConvPlace",
        root + kExplorer + "\\FileExts\\.vew",
        root + kExplorer + "\\MenuOrder\\Start Menu\\Programs\\Novell GroupWise",
        root + kExplorer + "\\MenuOrder\\Start Menu2\\Programs\\GroupWise",
        root + "\\Software\\Microsoft\\Installer\\Features\\96C870DFC415EFB4B814255E25456303",
        root + "\\Software\\Microsoft\\Installer\\Products\\96C870DFC415EFB4B814255E25456303",
        root + "\\Software\\Microsoft\\Installer\\UpgradeCodes\\7090B36299023AC48902BDC961E152BA",
        root + "\\Software\\Novell\\GroupWise",
        root + "\\Software\\Novell\\Spell Checker",
        root + "\\Software\\Novell\\User Word List",
    };
    for (const char* messaging : kMessaging) {
        trees.push_back(root + messaging + "\\Novell GroupWise");
        trees.push_back(root + messaging + "\\Novell Default Settings");
    }
    return trees;
}

// What the cleaning leaves of one value: absent, unchanged, or new string data.
enum class Fate { Gone, Kept, Outlook };

Fate ValueFate(const std::string& keyPath, const RegistryValue& value) {
    const std::string key = Lower(keyPath), name = Lower(value.name);
    const std::string data(value.data.begin(), value.data.end());
    if (name.rfind("microsoft.msxml2", 0) == 0 && key.find("win32assemblies\\global") != std::string::npos)
        return Fate::Gone;
    if (name == "requestmakecall") return Lower(data).find("groupwise") != std::string::npos ? Fate::Gone : Fate::Kept;
    if (name == "defaultprofile") return Fate::Outlook;
    if (key.find("\\openwithlist") != std::string::npos && data == std::string("GrpWise.exe") + '\0') return Fate::Gone;
    return Fate::Kept;
}

bool UnderAny(const std::string& path, const std::vector<std::string>& trees) {
    for (const std::string& tree : trees)
        if (Within(path, tree)) return true;
    return false;
}

// Checks a cleaned user against the user as seeded.
void ExpectCleaned(const UserRegistry& before, const UserRegistry& after, const std::string& who) {
    const std::vector<std::string> traces = TraceTrees(before.root);
    for (const RegistryKey& key : before.keys) {
        if (!Within(key.path, before.root)) continue;
        const RegistryKey* found = image::FindKey(after.keys, key.path);
        if (UnderAny(key.path, traces)) {
            EXPECT_EQ(found, nullptr) << who << ": trace left: " << key.path;
            continue;
        }
        ASSERT_NE(found, nullptr) << who << ": lost " << key.path;
        for (const RegistryValue& value : key.values) {
            const RegistryValue* now = image::FindValue(*found, value.name);
            switch (ValueFate(key.path, value)) {
                case Fate::Gone: EXPECT_EQ(now, nullptr) << who << ": " << key.path << " " << value.name; break;
                case Fate::Outlook:
                    ASSERT_NE(now, nullptr) << who << ": " << key.path;
                    EXPECT_EQ(std::string(now->data.begin(), now->data.end()), std::string("Outlook") + '\0');
                    break;
                case Fate::Kept:
                    ASSERT_NE(now, nullptr) << who << ": lost " << key.path << " " << value.name;
                    EXPECT_EQ(now->type, value.type) << who << ": " << key.path << " " << value.name;
                    EXPECT_EQ(now->data, value.data) << who << ": " << key.path << " " << value.name;
            }
        }
    }
}

// The two results agree on every key and value the seeded image names.
void ExpectSameOnNamedData(const UserRegistry& before, const UserRegistry& real, const UserRegistry& simulated) {
    for (const RegistryKey& key : before.keys) {
        if (!Within(key.path, before.root)) continue;
        const RegistryKey* a = image::FindKey(real.keys, key.path);
        const RegistryKey* b = image::FindKey(simulated.keys, key.path);
        ASSERT_EQ(a != nullptr, b != nullptr) << before.name << ": " << key.path << (a ? " only on Wine" : " only in the sim");
        if (!a) continue;
        for (const RegistryValue& value : key.values) {
            const RegistryValue* va = image::FindValue(*a, value.name);
            const RegistryValue* vb = image::FindValue(*b, value.name);
            ASSERT_EQ(va != nullptr, vb != nullptr) << before.name << ": " << key.path << " " << value.name;
            if (!va) continue;
            EXPECT_EQ(va->type, vb->type) << before.name << ": " << key.path << " " << value.name;
            EXPECT_EQ(va->data, vb->data) << before.name << ": " << key.path << " " << value.name;
        }
    }
}

// What the program changed inside one mounted hive, in order: "delete-key
// <last name>", "delete-value <name>", "set-value <name>".
using HiveChanges = std::vector<std::vector<std::string>>;

std::string LastName(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// A quoted name of Wine's registry trace, unescaped: L"a\\b" -> a\b.
std::string TracedName(const std::string& line, std::size_t from) {
    std::string name;
    for (std::size_t i = line.find('"', from) + 1; i < line.size() && line[i] != '"'; ++i)
        name += line[i] == '\\' ? line[++i] : line[i];
    return name;
}

// Wine's trace of the registry calls (WINEDEBUG=trace+reg) of the thread that
// unloads "tempkey": the successful changes between each mount and its unload.
HiveChanges WineHiveChanges(const std::string& log) {
    std::istringstream lines(log);
    std::string line, thread;
    std::vector<std::string> all;
    while (std::getline(lines, line)) {
        all.push_back(line);
        if (line.find("RegUnLoadKeyW") != std::string::npos) thread = line.substr(0, line.find(':'));
    }
    HiveChanges changes;
    std::vector<std::string>* current = nullptr;
    for (const std::string& entry : all) {
        if (entry.compare(0, thread.size() + 1, thread + ":") != 0) continue;
        if (entry.find(":NtLoadKey ") != std::string::npos) current = &changes.emplace_back();
        else if (entry.find("RegUnLoadKeyW") != std::string::npos) current = nullptr;
        else if (!current) continue;
        else if (entry.find("RegDeleteKeyExA") != std::string::npos && entry.find("ret=00000000") != std::string::npos)
            current->push_back("delete-key " + LastName(TracedName(entry, entry.find("RegDeleteKeyExA"))));
        else if (entry.find(":NtDeleteValueKey") != std::string::npos)
            current->push_back("delete-value " + TracedName(entry, entry.find(",L\"") + 1));
        else if (entry.find(":NtSetValueKey") != std::string::npos)
            current->push_back("set-value " + TracedName(entry, entry.find(",L\"") + 1));
    }
    changes.erase(std::remove_if(changes.begin(), changes.end(),
                                 [](const std::vector<std::string>& hive) { return hive.empty(); }),
                  changes.end());
    return changes;
}

// The same from purgent-sim's trace.
HiveChanges SimHiveChanges(const std::string& trace) {
    std::istringstream lines(trace);
    std::string line;
    HiveChanges changes;
    std::vector<std::string>* current = nullptr;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
        if (fields.empty()) continue;
        if (fields[0] == "hive-load") current = &changes.emplace_back();
        else if (fields[0] == "hive-unload") current = nullptr;
        else if (!current || fields.size() < 2) continue;
        else if (fields[0] == "reg-delete-key") current->push_back("delete-key " + LastName(fields[1]));
        else if (fields[0] == "reg-delete-value" && fields.size() > 2) current->push_back("delete-value " + fields[2]);
        else if (fields[0] == "reg-set-value" && fields.size() > 2) current->push_back("set-value " + fields[2]);
    }
    return changes;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Cleaned {
    MachineImage image;
    HiveChanges hiveChanges;
};

Cleaned CleanOnWine(const std::string& outDir) {
    WinePrefix prefix;
    EXPECT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(kImage)}, kTimeoutSeconds), 0) << prefix.Output();
    // Run directly rather than through the harness, which silences Wine's
    // trace channels: the registry trace shows what happened in the hives.
    const std::string log = outDir + ".wine-reg.log";
    std::string command = "WINEPREFIX='" + prefix.Dir() + "' WINEDEBUG=trace+reg timeout " +
                          std::to_string(kTimeoutSeconds) + " wine '" + Win64Exe("purgent.exe") + "'";
    for (const std::string& arg : kPurgentArgs) command += " " + arg;
    EXPECT_EQ(std::system((command + " >'" + log + "' 2>&1").c_str()), 0) << command;
    EXPECT_EQ(prefix.Run({Win64Exe("snapshot.exe"), WindowsPath(kImage), WindowsPath(outDir)}, kTimeoutSeconds), 0)
        << prefix.Output();
    return {image::LoadMachineImage(outDir), WineHiveChanges(ReadText(log))};
}

Cleaned CleanOnSim(const std::string& outDir) {
    std::string command = PurgentSimExe() + " --machine '" + kImage + "' --save '" + outDir + "' --trace '" +
                          outDir + ".trace' --";
    for (const std::string& arg : kPurgentArgs) command += " " + arg;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return {image::LoadMachineImage(outDir), SimHiveChanges(ReadText(outDir + ".trace"))};
}

// Wine's RegUnLoadKeyA drops a loaded hive without writing it back: wineserver
// deletes the in-memory key at the unload. So on Wine the other profiles'
// hive files come back as seeded, and what the program did inside them is
// read from Wine's registry trace and compared with the simulator's.
TEST(RegistryUsersE2e, TracesGoFromEveryHiveOtherDataStaysAndTheSimAgrees) {
    const std::string work = ArtifactDir() + "/registry-users";
    fs::remove_all(work);
    fs::create_directories(work);
    const MachineImage input = image::LoadMachineImage(kImage);
    const std::vector<UserRegistry> seeded = Users(input);
    const Cleaned wine = CleanOnWine(work + "/wine");
    const Cleaned sim = CleanOnSim(work + "/sim");
    const std::vector<UserRegistry> real = Users(wine.image);
    const std::vector<UserRegistry> simulated = Users(sim.image);
    for (std::size_t i = 0; i < seeded.size(); ++i) ExpectCleaned(seeded[i], simulated[i], "sim " + seeded[i].name);
    for (std::size_t i = 0; i < 2; ++i) {  // the current user and .DEFAULT
        ExpectCleaned(seeded[i], real[i], "wine " + seeded[i].name);
        ExpectSameOnNamedData(seeded[i], real[i], simulated[i]);
    }
    for (std::size_t i = 2; i < seeded.size(); ++i)
        EXPECT_TRUE(image::SameRegistry(seeded[i].keys, real[i].keys)) << seeded[i].name << " hive changed on Wine";
    ASSERT_EQ(sim.hiveChanges.size(), 2u);
    EXPECT_EQ(wine.hiveChanges, sim.hiveChanges);
}

}  // namespace
}  // namespace purgent::e2e
