// A Wine machine takes an image's links ([reparse]) as symbolic links, to
// folders and files, on drives C: and D:, and the snapshot reads them back:
// each target's files once, where they lie, and a link that went is gone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "image_runs.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;

const image::ReparsePoint kFolderLink{"C:\\Novell\\GroupWise\\GWCheck", "C:\\Important2"};
const image::ReparsePoint kOtherDriveLink{"C:\\Novell\\GroupWise\\PPForms", "D:\\Data"};
const image::ReparsePoint kFileLink{"C:\\Novell\\GroupWise\\notes.txt", "C:\\Important2\\hr.doc"};

image::MachineImage LinkedImage() {
    image::MachineImage machine;
    machine.drive = {{"C:\\Novell", true, {}},
                     {"C:\\Novell\\GroupWise", true, {}},
                     {"C:\\Novell\\GroupWise\\grpwise.exe", false, {'g'}},
                     {"C:\\Important2", true, {}},
                     {"C:\\Important2\\hr.doc", false, {'h', 'r'}},
                     {"D:\\Data", true, {}},
                     {"D:\\Data\\taxes.xls", false, {'t'}}};
    machine.machine.reparsePoints = {kFolderLink, kOtherDriveLink, kFileLink};
    return machine;
}

std::string Lines(const std::vector<image::ReparsePoint>& links) {
    std::string text;
    for (const image::ReparsePoint& link : links) text += link.link + "=" + link.target + "\n";
    return text;
}

TEST(ImageLinksE2e, AreMadeAndReadBackAndALinkThatWentIsGone) {
    const std::string work = ArtifactDir() + "/image-links";
    fs::remove_all(work);
    const image::MachineImage seeded = LinkedImage();
    image::SaveMachineImage(seeded, work + "/image");
    WinePrefix prefix;
    SeedOnWine(prefix, work + "/image");

    const image::MachineImage before = SnapshotOnWine(prefix, work + "/image", work + "/before");
    EXPECT_EQ(Lines(before.machine.reparsePoints), Lines(seeded.machine.reparsePoints));
    EXPECT_EQ(before.drive.size(), seeded.drive.size());
    for (const image::DriveItem& item : seeded.drive) {
        const image::DriveItem* read = image::FindDriveItem(before.drive, item.path);
        ASSERT_TRUE(read) << item.path;
        EXPECT_EQ(read->contents, item.contents) << item.path;
    }

    fs::remove(prefix.UnixPath(kFolderLink.link));
    const image::MachineImage after = SnapshotOnWine(prefix, work + "/image", work + "/after");
    EXPECT_EQ(Lines(after.machine.reparsePoints), Lines({kOtherDriveLink, kFileLink}));
    EXPECT_TRUE(image::FindDriveItem(after.drive, "C:\\Important2\\hr.doc"));
}

}  // namespace
}  // namespace purgent::e2e
