#pragma once
// What a run must leave of the files of tests/data/files: the paths listed in
// its expected-gone.txt are gone, every other file of the image stays with its
// attributes. Shared by the simulator test and the Wine test.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "image/ansi_text.h"
#include "image/machine_image.h"

namespace purgent::files {

inline const std::string kImage = std::string(PURGENT_TEST_DATA) + "/files";
// "/s", so that the closing messages show.
inline const std::vector<std::string> kPurgentArgs = {"/s"};
inline const std::vector<std::string> kMessages = {
    "Purgent could not remove Excel ODMA Integrations\n\nRerun Purgent with all Excel processes closed.",
    "Purgent - Completed"};

inline std::vector<std::string> ExpectedGone(const std::string& imageDir) {
    std::vector<std::string> paths;
    std::ifstream list(imageDir + "/expected-gone.txt");
    for (std::string line; std::getline(list, line);)
        if (!line.empty()) paths.push_back(line);
    return paths;
}

inline bool Listed(const std::vector<std::string>& paths, const std::string& path) {
    for (const std::string& listed : paths)
        if (image::EqualsIgnoreCase(listed, path)) return true;
    return false;
}

inline std::uint32_t AttributesOf(const image::MachineImage& machine, const std::string& path) {
    for (const image::FileAttributes& entry : machine.machine.attributes)
        if (image::EqualsIgnoreCase(entry.path, path)) return entry.attributes;
    return 0;
}

// Files and folders of the seeded image against the cleaned machine.
inline void ExpectCleaned(const image::MachineImage& seeded, const image::MachineImage& cleaned,
                          const std::string& imageDir, const std::string& who) {
    const std::vector<std::string> gone = ExpectedGone(imageDir);
    ASSERT_FALSE(gone.empty());
    for (const image::DriveItem& item : seeded.drive) {
        const image::DriveItem* left = image::FindDriveItem(cleaned.drive, item.path);
        if (Listed(gone, item.path)) {
            EXPECT_EQ(left, nullptr) << who << ": still there: " << item.path;
            continue;
        }
        ASSERT_NE(left, nullptr) << who << ": deleted: " << item.path;
        EXPECT_EQ(left->contents, item.contents) << who << ": " << item.path;
        EXPECT_EQ(AttributesOf(cleaned, item.path), AttributesOf(seeded, item.path)) << who << ": " << item.path;
    }
}

}  // namespace purgent::files
