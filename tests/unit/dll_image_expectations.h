#pragma once
// What a run must leave of the COM registrations of tests/data/com-servers:
// every client DLL's registration goes, the excluded address-book DLL's and a
// bystander's outside the passes stay. Shared by the simulator test and the
// Wine test.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "image/machine_image.h"

namespace purgent::dlls {

inline const std::string kImage = std::string(PURGENT_TEST_DATA) + "/com-servers";
// Files are kept: the registrations alone tell whether the tool ran.
inline const std::vector<std::string> kPurgentArgs = {"/sn", "/kf"};

struct Registration {
    const char* file;
    bool kept;
};
inline const Registration kRegistrations[] = {
    {"gwenv1.dll", false}, {"GWCMA1.DLL", false}, {"GWABDLG.DLL", true},
    {"gwtest32.dll", false}, {"nmapi.dll", false}, {"vendorcom.dll", true},
};

// The key the image names for a copy's registration (a snapshot reads the
// named keys, not their parents).
inline std::string ClassKey(const std::string& file) {
    return "HKEY_LOCAL_MACHINE\\Software\\Classes\\PurgentTest." + file + "\\InprocServer32";
}

inline void ExpectRegistrations(const image::RegistryKeys& keys, const std::string& who,
                                std::span<const Registration> registrations = kRegistrations) {
    for (const Registration& registration : registrations)
        EXPECT_EQ(image::FindKey(keys, ClassKey(registration.file)) != nullptr, registration.kept)
            << who << ": " << registration.file;
}

}  // namespace purgent::dlls
