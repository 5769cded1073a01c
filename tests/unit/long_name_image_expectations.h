#pragma once
// tests/data/long-names: beside the client's own files, files whose long
// names do not fit the client's masks while their 8.3 short names do
// (GWMSP132.DLLX is GWMSP1~1.DLL on Windows), some of them COM servers.
// Only the client's own are unregistered and deleted. Shared by the
// simulator test and the Wine test.
#include <string>
#include <vector>

#include "dll_image_expectations.h"
#include "files_image_expectations.h"

namespace purgent::longnames {

inline const std::string kImage = std::string(PURGENT_TEST_DATA) + "/long-names";
inline const std::vector<std::string> kPurgentArgs = {"/sn"};

inline const dlls::Registration kRegistrations[] = {
    {"GWMSP132.DLLX", true}, {"GWMSP132.DLL", false}, {"gwold.dllx", true}, {"GWENV1.DLL", false},
};

// The files of expected-gone.txt are gone, every other file of the image
// stays (whatever it holds: under Wine a COM server is the test server).
inline void ExpectFilesLeft(const image::MachineImage& seeded, const image::MachineImage& cleaned,
                            const std::string& who) {
    const std::vector<std::string> gone = files::ExpectedGone(kImage);
    for (const image::DriveItem& item : seeded.drive)
        EXPECT_EQ(image::FindDriveItem(cleaned.drive, item.path) == nullptr, files::Listed(gone, item.path))
            << who << ": " << item.path;
}

}  // namespace purgent::longnames
