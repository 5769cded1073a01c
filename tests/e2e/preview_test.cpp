// A preview (/whatif) of the demo workstation on a real Wine machine: it
// leaves the machine as it was, its log holds the events the real run then
// writes, and purgent-sim on its capture (/capture=) writes them again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "image/ansi_text.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeoutSeconds = 300;
const std::string kDemo = PURGENT_DEMO_IMAGE;

image::MachineImage ReadBack(WinePrefix& prefix, const std::string& outDir) {
    EXPECT_EQ(prefix.Run({Win64Exe("snapshot.exe"), WindowsPath(kDemo), WindowsPath(outDir)}, kTimeoutSeconds), 0)
        << prefix.Output();
    return image::LoadMachineImage(outDir);
}

void ExpectSameMachine(const image::MachineImage& before, const image::MachineImage& after) {
    EXPECT_EQ(image::WriteRegText(after.registry), image::WriteRegText(before.registry));
    EXPECT_EQ(image::WriteMachineIni(after.machine), image::WriteMachineIni(before.machine));
    ASSERT_EQ(after.drive.size(), before.drive.size());
    for (std::size_t i = 0; i < before.drive.size(); ++i) {
        EXPECT_EQ(after.drive[i].path, before.drive[i].path);
        EXPECT_TRUE(after.drive[i].contents == before.drive[i].contents) << before.drive[i].path;
    }
}

bool AboutAFile(const std::string& line) {
    for (const char* name : {"file-delete\t", "file-attr\t", "dir-remove\t", "item\tc:", "item\td:"})
        if (line.rfind(name, 0) == 0) return true;
    return false;
}

// Wine's user, whose hive is HKEY_CURRENT_USER and, loaded, HKEY_USERS\<SID>.
const std::string kWineUser = "HKEY_USERS\\S-1-5-21-0-0-0-1000";

// In any case; and the current user's hive by one name: Windows names it
// HKEY_CURRENT_USER however it was opened, an image holds the two apart.
std::vector<std::string> Comparable(std::vector<std::string> events) {
    for (std::string& line : events) {
        const auto at = line.find(kWineUser);
        if (at != std::string::npos) line.replace(at, kWineUser.size(), "HKEY_CURRENT_USER");
        for (char& c : line) c = image::FoldCase(c);
    }
    return events;
}

// Wine lists a folder in the order its Unix directory keeps, Windows and the
// simulator by name: the events about files are compared as a whole, the
// others in their order.
void ExpectSameEventsInAnyFileOrder(std::vector<std::string> replayed, std::vector<std::string> previewed) {
    replayed = Comparable(replayed);
    previewed = Comparable(previewed);
    const auto split = [](std::vector<std::string>& events) {
        std::vector<std::string> files;
        std::copy_if(events.begin(), events.end(), std::back_inserter(files), AboutAFile);
        std::erase_if(events, AboutAFile);
        std::sort(files.begin(), files.end());
        return files;
    };
    const std::vector<std::string> replayedFiles = split(replayed), previewedFiles = split(previewed);
    EXPECT_EQ(replayed, previewed);
    EXPECT_EQ(replayedFiles, previewedFiles);
}

TEST(PreviewE2e, WhatIfChangesNothingAndLogsTheRealRunAndItsCaptureReplaysIt) {
    const std::string work = ArtifactDir() + "/preview";
    fs::remove_all(work);
    fs::create_directories(work);
    WinePrefix prefix(kWin64Target.arch);
    ASSERT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(kDemo)}, kTimeoutSeconds), 0) << prefix.Output();
    const image::MachineImage before = ReadBack(prefix, work + "/before");

    EXPECT_EQ(prefix.Run({Win64Exe("purgent.exe"), "/sn", "/whatif", "/capture=" + WindowsPath(work + "/capture"),
                          "/log=" + WindowsPath(work + "/whatif.log")},
                         kTimeoutSeconds),
              0)
        << prefix.Output();
    EXPECT_NE(prefix.Run({"reg", "query", "HKU\\Purgent.Preview"}, 60), 0) << "the preview left a hive loaded";
    ExpectSameMachine(before, ReadBack(prefix, work + "/after-whatif"));

    EXPECT_EQ(prefix.Run({Win64Exe("purgent.exe"), "/sn", "/log=" + WindowsPath(work + "/real.log")}, kTimeoutSeconds), 0)
        << prefix.Output();
    const std::vector<std::string> previewed = EventLines(work + "/whatif.log");
    ASSERT_FALSE(previewed.empty());
    EXPECT_EQ(previewed, EventLines(work + "/real.log"));

    const std::string command = PurgentSimExe() + " --machine '" + work + "/capture' --trace '" + work +
                                "/capture.trace' -- /sn > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    ExpectSameEventsInAnyFileOrder(EventLines(work + "/capture.trace"), previewed);
}

}  // namespace
}  // namespace purgent::e2e
