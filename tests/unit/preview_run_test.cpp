// A preview (/whatif) of whole runs on the simulated machine: it changes
// nothing, reports what the run would do, and its capture (/capture=) gives
// the simulator the same run again.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "image/ansi_text.h"
#include "purgent_sim/run_purgent.h"
#include "random_workstation.h"
#include "scratch_folder.h"

namespace purgent {
namespace {

namespace fs = std::filesystem;

const char* const kCapture = "C:\\cap";
const char* const kLog = "C:\\whatif.log";

struct Workstation {
    std::string name;
    std::function<image::MachineImage()> image;
};

image::MachineImage FromFolder(const std::string& folder) { return image::LoadMachineImage(folder); }

std::vector<Workstation> Workstations() {
    std::vector<Workstation> all;
    for (const char* name : {"win10-system", "vista-users", "messenger", "com-servers", "files", "machinewide", "registry-links"})
        all.push_back({name, [name] { return FromFolder(std::string(PURGENT_TEST_DATA) + "/" + name); }});
    all.push_back({"demo", [] { return FromFolder(PURGENT_DEMO_IMAGE); }});
    for (int seed : {47, 50, 52}) all.push_back({"seed " + std::to_string(seed), [seed] { return generator::RandomWorkstation(seed).image; }});
    return all;
}

std::vector<std::string> Arguments(const std::string& options, std::vector<std::string> more) {
    std::vector<std::string> args{"/sn"};
    if (!options.empty()) args.push_back(options);
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

bool Under(const std::string& path, const std::string& top) {
    return path.size() >= top.size() && image::EqualsIgnoreCase(path.substr(0, top.size()), top);
}

// The machine without what the preview itself wrote: its log and its capture.
image::MachineImage WithoutOutputs(image::MachineImage machine) {
    std::erase_if(machine.drive, [](const image::DriveItem& item) { return Under(item.path, kCapture) || Under(item.path, kLog); });
    return machine;
}

std::vector<std::string> EventLines(const std::string& log) {
    std::vector<std::string> events;
    for (const std::string& line : image::SplitLines(log))
        if (!line.empty() && line[0] != '#') events.push_back(line);
    return events;
}

// What only regsvr32 does, which a preview does not start: the keys a DLL's
// own unregistration removes.
std::vector<std::string> WithoutRegsvrDeletions(std::vector<std::string> trace, const image::MachineImage& seeded) {
    std::erase_if(trace, [&](const std::string& line) {
        if (line.rfind("reg-delete-key\t", 0) != 0) return false;
        for (const image::DllEntry& dll : seeded.machine.dlls)
            for (const std::string& key : dll.unregisters)
                if (Under(line.substr(15), key)) return true;
        return false;
    });
    return trace;
}

class PreviewRun : public ::testing::Test {
protected:
    testing::ScratchFolder scratch_{"purgent-preview"};
    const fs::path dir_ = scratch_.Path() / "after";
};

TEST_F(PreviewRun, ChangesNothingReportsTheRunAndItsCaptureGivesTheSameRun) {
    for (const Workstation& workstation : Workstations()) {
        const image::MachineImage seeded = workstation.image();
        for (const std::string options : {"", "/rws", "/kwt", "/kc"}) {
            const std::string what = workstation.name + " " + options;
            sim::SimMachine untouched(seeded);
            // The simulated classes root comes into being when first opened, as on Windows it always is.
            untouched.GetPlatform().registry.KeyPath(HkeyClassesRoot, "");
            sim::SimMachine previewed(seeded);
            const int status = sim::RunPurgentOnSim(previewed, Arguments(options, {"/whatif", std::string("/capture=") + kCapture,
                                                                                   std::string("/log=") + kLog}));
            const image::MachineImage after = previewed.SaveImage();
            EXPECT_EQ(image::WriteRegText(after.registry), image::WriteRegText(untouched.SaveImage().registry)) << what;
            const image::MachineImage before = untouched.SaveImage(), left = WithoutOutputs(after);
            ASSERT_EQ(left.drive.size(), before.drive.size()) << what;
            for (std::size_t i = 0; i < before.drive.size(); ++i) {
                EXPECT_EQ(left.drive[i].path, before.drive[i].path) << what;
                EXPECT_EQ(left.drive[i].contents, before.drive[i].contents) << what << " " << before.drive[i].path;
            }
            EXPECT_EQ(image::WriteMachineIni(left.machine), image::WriteMachineIni(before.machine)) << what;

            sim::SimMachine cleaned(seeded);
            EXPECT_EQ(sim::RunPurgentOnSim(cleaned, Arguments(options, {})), status) << what;
            EXPECT_EQ(previewed.Trace().Lines(), WithoutRegsvrDeletions(cleaned.Trace().Lines(), seeded)) << what;

            fs::remove_all(dir_);
            image::SaveMachineImage(after, dir_.string());
            const image::DriveItem* log = image::FindDriveItem(after.drive, kLog);
            ASSERT_TRUE(log) << what;
            sim::SimMachine replayed(image::LoadMachineImage((dir_ / "drive" / "C" / "cap").string()));
            sim::RunPurgentOnSim(replayed, Arguments(options, {}));
            EXPECT_EQ(replayed.Trace().Lines(), EventLines(std::string(log->contents.begin(), log->contents.end()))) << what;
        }
    }
}

// A capture folder that is not empty, or that cannot be made, ends the
// program with the status of a failed run before anything is read, and
// nothing is written: no log, no capture.
TEST_F(PreviewRun, ACaptureFolderThatIsNotEmptyOrCannotBeMadeStopsBeforeAnythingIsRead) {
    for (const char* folder : {"C:\\Novell", "C:\\no such folder\\cap", "C:\\bad|name"}) {
        const image::MachineImage seeded = FromFolder(PURGENT_DEMO_IMAGE);
        sim::SimMachine machine(seeded);
        EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sp", std::string("/capture=") + folder, std::string("/log=") + kLog}), 2)
            << folder;
        EXPECT_EQ(machine.Trace().Lines().size(), 2u) << folder;  // the error box and the exit
        EXPECT_EQ(machine.SaveImage().drive.size(), seeded.drive.size()) << folder;
    }
}

// Every link key the run met, in the registry and in a user's hive, is in
// the capture as a link, and the replay keeps what the preview kept.
TEST_F(PreviewRun, TheCaptureHoldsTheLinkKeysTheRunMet) {
    const image::MachineImage seeded = FromFolder(std::string(PURGENT_TEST_DATA) + "/registry-links");
    sim::SimMachine previewed(seeded);
    sim::RunPurgentOnSim(previewed, {"/sn", "/whatif", std::string("/capture=") + kCapture});
    fs::remove_all(dir_);
    image::SaveMachineImage(previewed.SaveImage(), dir_.string());
    sim::SimMachine replayed(image::LoadMachineImage((dir_ / "drive" / "C" / "cap").string()));
    const auto links = [](const image::MachineImage& machine) {
        std::set<std::string> found;
        for (const image::RegistryLink& link : machine.machine.registryLinks)
            found.insert(link.hive + "|" + link.key + "=" + link.target);
        return found;
    };
    EXPECT_EQ(links(replayed.SaveImage()), links(seeded));
    sim::RunPurgentOnSim(replayed, {"/sn"});
    EXPECT_FALSE(previewed.Trace().KeptNotes().empty());
    EXPECT_EQ(replayed.Trace().KeptNotes(), previewed.Trace().KeptNotes());
}

// Each value the capture holds keeps the type and the bytes the machine
// gave it: a DWORD, a binary, an expandable or a multi-string read back
// as text would replay a run that never stops on a wrong type.
TEST_F(PreviewRun, TheCaptureKeepsEachValuesTypeAndBytes) {
    std::set<std::uint32_t> typesSeen;
    for (const Workstation& workstation : Workstations()) {
        sim::SimMachine previewed(workstation.image());
        // The machine as the simulator holds it: a key an image names twice is one.
        const image::MachineImage seeded = previewed.SaveImage();
        sim::RunPurgentOnSim(previewed, {"/sn", "/whatif", std::string("/capture=") + kCapture});
        fs::remove_all(dir_);
        image::SaveMachineImage(previewed.SaveImage(), dir_.string());
        const image::MachineImage captured = image::LoadMachineImage((dir_ / "drive" / "C" / "cap").string());
        for (const image::RegistryKey& key : captured.registry) {
            const image::RegistryKey* original = image::FindKey(seeded.registry, key.path);
            if (!original) continue;
            for (const image::RegistryValue& value : key.values) {
                const image::RegistryValue* was = image::FindValue(*original, value.name);
                if (!was) continue;
                typesSeen.insert(was->type);
                EXPECT_EQ(value.type, was->type) << workstation.name << ": " << key.path << " " << value.name;
                EXPECT_EQ(value.data, was->data) << workstation.name << ": " << key.path << " " << value.name;
            }
        }
    }
    for (std::uint32_t type : {RegSz, RegDword, RegBinary})
        EXPECT_TRUE(typesSeen.count(type)) << "no captured value of type " << type;
}

// The log says it is a preview, and what was not done.
TEST_F(PreviewRun, TheLogSaysWhatWasNotDone) {
    sim::SimMachine machine(FromFolder(PURGENT_DEMO_IMAGE));
    sim::RunPurgentOnSim(machine, {"/sn", "/whatif", std::string("/log=") + kLog});
    const image::MachineImage after = machine.SaveImage();
    const image::DriveItem* log = image::FindDriveItem(after.drive, kLog);
    ASSERT_TRUE(log);
    const std::string text(log->contents.begin(), log->contents.end());
    for (const char* note : {"# preview\tnothing was changed: each event below is what the run would have done",
                             "# preview\thive\tC:\\Documents and Settings\\lee\\ntuser.dat\tread under HKEY_USERS\\Purgent.Preview",
                             "# preview\tlaunch\tC:\\WINDOWS\\system32\\regsvr32.exe /u /s C:\\Novell\\GroupWise\\gwcma1.dll\tnot started"})
        EXPECT_NE(text.find(note), std::string::npos) << note;
}

}  // namespace
}  // namespace purgent
