// The client file phase of the real purgent.exe on a Wine machine: shortcuts,
// program, system and add-in files go, other programs' files stay, an add-in
// held open is reported and left for the next restart, and purgent-sim
// leaves the same files.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "../unit/files_image_expectations.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

constexpr int kTimeoutSeconds = 300;
const char* const kHeldReady = "C:\\holdopen.ready";

// The paths of the drive items, in one order.
std::vector<std::string> Paths(const image::MachineImage& machine) {
    std::vector<std::string> paths;
    for (const image::DriveItem& item : machine.drive) paths.push_back(image::AnsiToUtf8(item.path));
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(FilesE2e, ClientFilesGoOthersStayAHeldAddInIsReportedAndTheSimAgrees) {
    const std::string work = ArtifactDir() + "/files";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    const image::MachineImage seeded = image::LoadMachineImage(files::kImage);

    WinePrefix prefix;
    ASSERT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(files::kImage)}, kTimeoutSeconds), 0) << prefix.Output();
    std::vector<std::string> holder = {Win64Exe("holdopen.exe"), kHeldReady};
    holder.insert(holder.end(), seeded.machine.locked.begin(), seeded.machine.locked.end());
    WineProcess held = prefix.Start(holder);
    ASSERT_TRUE(WaitForFile(prefix.UnixPath(kHeldReady), 60)) << prefix.Output();

    std::vector<std::string> purgentCommand = {Win64Exe("purgent.exe")};
    purgentCommand.insert(purgentCommand.end(), files::kPurgentArgs.begin(), files::kPurgentArgs.end());
    purgentCommand.push_back("/log=" + WindowsPath(work + "/wine.log"));
    WineProcess purgent = prefix.Start(purgentCommand);
    for (const std::string& message : files::kMessages)
        EXPECT_EQ(prefix.Run({Win64Exe("uihelper.exe"), "box", message, "240"}, kTimeoutSeconds), 0)
            << prefix.Output();
    EXPECT_EQ(purgent.Wait(kTimeoutSeconds), 0) << prefix.Output();
    // Read back while the add-in is held: once nothing runs, Wine's next
    // program starts the machine again, which deletes what was left for then.
    ASSERT_EQ(prefix.Run({Win64Exe("snapshot.exe"), WindowsPath(files::kImage), WindowsPath(work + "/wine")},
                         kTimeoutSeconds),
              0)
        << prefix.Output();
    held.Kill();

    const image::MachineImage real = image::LoadMachineImage(work + "/wine");
    const image::MachineImage simulated = CleanOnSim(files::kImage, files::kPurgentArgs, work + "/sim");
    files::ExpectCleaned(seeded, real, files::kImage, "wine");
    files::ExpectCleaned(seeded, simulated, files::kImage, "sim");
    EXPECT_EQ(Paths(real), Paths(simulated));
    ExpectSameFailures(files::kImage, files::kPurgentArgs, work + "/wine.log", work + "/sim-logged");
}

TEST(FilesE2e, AProgramFolderPointedAtWindowsLosesOnlyCataloguedNames) {
    const std::string image = std::string(PURGENT_TEST_DATA) + "/files-in-windows";
    const std::string work = ArtifactDir() + "/files-in-windows";
    std::filesystem::remove_all(work);
    const image::MachineImage seeded = image::LoadMachineImage(image);
    const image::MachineImage real = CleanOnWine(image, {"/sn"}, work + "/wine");
    const image::MachineImage simulated = CleanOnSim(image, {"/sn"}, work + "/sim");
    ExpectSameEvents(image, work + "/wine", work + "/sim");
    files::ExpectCleaned(seeded, real, image, "wine");
    files::ExpectCleaned(seeded, simulated, image, "sim");
}

}  // namespace
}  // namespace purgent::e2e
