// Client files another program holds open (holdopen.exe) on a Wine machine:
// the real purgent.exe leaves each, and the folders only they keep, for
// Windows to delete at its next start; the machine read back lists them in
// PendingFileRenameOperations exactly as purgent-sim's saved machine does,
// the log notes them alike, and another program's held file is not listed.
// Once the machine restarts (Wine starts it again), they are gone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/ansi_text.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

constexpr int kTimeoutSeconds = 300;
const std::string kImage = std::string(PURGENT_TEST_DATA) + "/held-files";
const char* const kHeldReady = "C:\\holdopen.ready";
const char* const kSessionManager = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager";

std::string Folded(std::string text) {
    for (char& c : text) c = image::FoldCase(c);
    return text;
}

// The pending list's bytes, letters folded; "" when there is none.
std::string PendingList(const image::MachineImage& machine) {
    const image::RegistryKeys keys = image::NetRegistry(machine.registry);
    const image::RegistryKey* key = image::FindKey(keys, kSessionManager);
    const image::RegistryValue* value = key ? image::FindValue(*key, "PendingFileRenameOperations") : nullptr;
    return value ? Folded(std::string(value->data.begin(), value->data.end())) : "";
}

std::vector<std::string> RestartNotes(const std::string& logFile) {
    std::vector<std::string> notes;
    std::ifstream log(logFile, std::ios::binary);
    for (std::string line; std::getline(log, line);)
        if (line.rfind("# restart-pending\t", 0) == 0) notes.push_back(line);
    return notes;
}

TEST(RestartPendingE2e, HeldClientFilesAndTheirFoldersWaitForTheRestartAsInTheSimulatorAndGoThen) {
    const std::string work = ArtifactDir() + "/restart-pending";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    const image::MachineImage seeded = image::LoadMachineImage(kImage);

    WinePrefix prefix;
    SeedOnWine(prefix, kImage);
    std::vector<std::string> holder = {Win64Exe("holdopen.exe"), kHeldReady};
    holder.insert(holder.end(), seeded.machine.locked.begin(), seeded.machine.locked.end());
    WineProcess held = prefix.Start(holder);
    ASSERT_TRUE(WaitForFile(prefix.UnixPath(kHeldReady), 60)) << prefix.Output();
    EXPECT_EQ(prefix.Run({Win64Exe("purgent.exe"), "/sn", "/log=" + WindowsPath(work + "/wine.log")}, kTimeoutSeconds), 0)
        << prefix.Output();
    // Read back while the holder runs: the machine has not restarted yet.
    const image::MachineImage real = SnapshotOnWine(prefix, kImage, work + "/wine");
    held.Kill();
    const image::MachineImage simulated = CleanOnSim(kImage, {"/sn", "/log=C:\\run.log"}, work + "/sim");

    const std::string pending = PendingList(real);
    for (const char* path : {"c:\\novell\\groupwise\\ngwguard.db", "c:\\novell\\groupwise\\gwcheck\\gwcheck.log",
                             "c:\\novell\\groupwise\\gwcheck", "c:\\novell\\groupwise"})
        EXPECT_NE(pending.find(Folded(std::string("\\??\\") + path + '\0' + '\0')), std::string::npos) << path;
    EXPECT_EQ(pending.find("OTHER.DB"), std::string::npos);
    EXPECT_EQ(pending, PendingList(simulated));
    for (const std::string& file : seeded.machine.locked)
        EXPECT_NE(image::FindDriveItem(real.drive, file), nullptr) << file;
    const std::vector<std::string> notes = RestartNotes(work + "/wine.log");
    EXPECT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes, RestartNotes(work + "/sim/drive/C/run.log"));

    prefix.Restart();
    const image::MachineImage restarted = SnapshotOnWine(prefix, kImage, work + "/restarted");
    EXPECT_EQ(PendingList(restarted), "");
    for (const char* gone : {"C:\\Novell\\GroupWise\\ngwguard.db", "C:\\Novell\\GroupWise\\GWCheck", "C:\\Novell\\GroupWise"})
        EXPECT_EQ(image::FindDriveItem(restarted.drive, gone), nullptr) << gone;
    EXPECT_NE(image::FindDriveItem(restarted.drive, "C:\\Program Files\\Other\\other.db"), nullptr);
}

}  // namespace
}  // namespace purgent::e2e
