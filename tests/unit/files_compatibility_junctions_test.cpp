// Which links a path may pass through: Windows' compatibility junctions,
// each only where Windows makes it and only to where Windows points it.
#include "files/compatibility_junctions.h"

#include <gtest/gtest.h>

#include "param_name.h"
#include "platform/sim/sim_text.h"

namespace purgent {
namespace {

struct JunctionCase {
    const char* what;
    const char* parent;
    const char* name;
    const char* target;
    bool windows;
};

const JunctionCase kJunctionCases[] = {
    {"the profiles folder", "C:", "Documents and Settings", "C:\\Users", true},
    {"a profile's local settings", "C:\\Users\\ann", "Local Settings", "C:\\Users\\ann\\AppData\\Local", true},
    {"the local application data's own loop", "C:\\Users\\ann\\AppData\\Local", "Application Data",
     "C:\\Users\\ann\\AppData\\Local", true},
    {"a profile's send-to folder in any case", "c:\\users\\ANN", "sendto",
     "C:\\Users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\SendTo", true},
    {"All Users", "C:\\Users", "All Users", "C:\\ProgramData", true},
    {"the common desktop", "C:\\ProgramData", "Desktop", "C:\\Users\\Public\\Desktop", true},
    {"a profile's documents in Windows' own words", "C:\\Users\\ann", "My Documents", "C:\\Users\\ann\\Documents",
     true},
    {"the profiles folder on another drive", "C:", "Documents and Settings", "D:\\Users", false},
    {"local settings into another profile", "C:\\Users\\ann", "Local Settings", "C:\\Users\\bob\\AppData\\Local",
     false},
    {"a client folder's name", "C:\\Novell\\GroupWise", "GWCheck", "C:\\Novell\\GroupWise\\GWCheck2", false},
    {"a known name to a folder Windows never points it at", "C:\\Users\\ann", "Local Settings",
     "C:\\Users\\ann\\Documents", false},
    {"All Users outside the profiles folder", "C:\\Novell", "All Users", "C:\\ProgramData", false},
};

class CompatibilityJunctions : public ::testing::TestWithParam<JunctionCase> {};

TEST_P(CompatibilityJunctions, AreTheOnlyLinksAPathPassesThrough) {
    sim::SimText text;
    const JunctionCase& c = GetParam();
    EXPECT_EQ(IsCompatibilityJunction(text, c.parent, c.name, c.target), c.windows);
}

INSTANTIATE_TEST_SUITE_P(Links, CompatibilityJunctions, ::testing::ValuesIn(kJunctionCases),
                         testing::CaseName<JunctionCase>);

}  // namespace
}  // namespace purgent
