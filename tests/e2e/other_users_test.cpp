// Run as SYSTEM, as deployment tools run it, the current user's shell folders
// are not the users' own: the real purgent.exe finds each user's shortcuts,
// Messenger shortcut and word list through the shell folders of that user's
// own hive, at the folder the user's ProfileList entry names, and purgent-sim
// does the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../unit/files_image_expectations.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

const std::string kImage = std::string(PURGENT_TEST_DATA) + "/other-users";

// Every listed item gone, every other file of the image still there (the
// hives changed inside, which the registry tests check).
void ExpectUsersCleaned(const image::MachineImage& seeded, const image::MachineImage& cleaned,
                        const std::string& who) {
    const std::vector<std::string> gone = files::ExpectedGone(kImage);
    for (const image::DriveItem& item : seeded.drive) {
        const bool left = image::FindDriveItem(cleaned.drive, item.path) != nullptr;
        EXPECT_EQ(left, !files::Listed(gone, item.path)) << who << ": " << item.path;
    }
}

TEST(OtherUsersE2e, EachUsersShortcutsGoFromTheShellFoldersOfTheirOwnHiveAndThePreviewAgrees) {
    const std::string work = ArtifactDir() + "/other-users";
    std::filesystem::remove_all(work);
    const image::MachineImage seeded = image::LoadMachineImage(kImage);
    const image::MachineImage real = CleanOnWine(kImage, {"/sn"}, work + "/wine");
    const image::MachineImage simulated = CleanOnSim(kImage, {"/sn"}, work + "/sim");
    ExpectSameEvents(kImage, work + "/wine", work + "/sim");
    ExpectUsersCleaned(seeded, real, "wine");
    ExpectUsersCleaned(seeded, simulated, "sim");
}

}  // namespace
}  // namespace purgent::e2e
