#pragma once
// What a run as SYSTEM must leave of tests/data/win10-system: every user's
// client keys and files gone, each user's own beside them kept, nothing under
// the shared folder App Paths names. Shared by the simulator test and the
// Wine test.
#include <gtest/gtest.h>

#include <string>

#include "files_image_expectations.h"
#include "image/machine_image.h"

namespace purgent::win10 {

inline const std::string kImage = std::string(PURGENT_TEST_DATA) + "/win10-system";
inline const std::string kBobSid = "S-1-5-21-1085031214-1563985344-725345543-1002";
inline const std::string kAnnHive = R"(C:\Users\ann\NTUSER.DAT)";
inline const std::string kBobHive = R"(C:\Users\bob.CORP\NTUSER.DAT)";
inline const std::string kCarlHive = R"(D:\Profiles\carl\NTUSER.DAT)";
inline const std::string kSharedFolder = R"(C:\Program Files\Common Files)";

// The listed files and folders gone, every other one of the image still
// there (the hives changed inside, which the key checks see).
inline void ExpectFilesCleaned(const image::MachineImage& seeded, const image::MachineImage& cleaned,
                               const std::string& who) {
    const std::vector<std::string> gone = files::ExpectedGone(kImage);
    for (const image::DriveItem& item : seeded.drive) {
        const bool left = image::FindDriveItem(cleaned.drive, item.path) != nullptr;
        EXPECT_EQ(left, !files::Listed(gone, item.path)) << who << ": " << item.path;
    }
}

inline image::RegistryKeys HiveKeys(const image::MachineImage& machine, const std::string& file) {
    const image::DriveItem* hive = image::FindDriveItem(machine.drive, file);
    return hive ? image::NetRegistry(image::ParseHiveText(hive->contents, file)) : image::RegistryKeys{};
}

// One user's keys below root: the client's gone, the look-alike kept.
inline void ExpectClientKeysGone(const image::RegistryKeys& keys, const std::string& root, const std::string& who) {
    const image::RegistryKeys net = image::NetRegistry(keys);
    EXPECT_FALSE(image::FindKey(net, root + R"(\Software\Novell\GroupWise)")) << who;
    EXPECT_TRUE(image::FindKey(net, root + R"(\Software\Novell\GroupWare)")) << who;
}

}  // namespace purgent::win10
