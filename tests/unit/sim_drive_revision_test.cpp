#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/registry_service.h"
#include "platform/sim/sim_drive.h"
#include "param_name.h"

namespace purgent::sim {
namespace {

const char* const kFile = "C:\\Data\\file.txt";

struct Change {
    const char* what;
    std::function<void(SimDrive&)> apply;
    bool newRevision;  // whether the file's contents may differ after it
};

const Change kChanges[] = {
    {"written", [](SimDrive& drive) { drive.WriteFile(kFile, "same"); }, true},
    {"appended to", [](SimDrive& drive) { drive.AppendToFile(kFile, ""); }, true},
    {"made anew and held", [](SimDrive& drive) { drive.CreateHeldFile(kFile, true); }, true},
    {"deleted and made anew",
     [](SimDrive& drive) {
         drive.DeleteFile(kFile);
         drive.CreateHeldFile(kFile, true);
     },
     true},
    {"attributes set", [](SimDrive& drive) { drive.SetAttributes(kFile, 0x2); }, false},
    {"another file written", [](SimDrive& drive) { drive.WriteFile("C:\\Data\\other.txt", "x"); }, false},
    {"read", [](SimDrive& drive) { drive.Find("c:\\data\\FILE.TXT"); }, false},
};

void PrintTo(const Change& change, std::ostream* out) { *out << change.what; }

class SimDriveRevision : public ::testing::TestWithParam<Change> {};

TEST_P(SimDriveRevision, IsNewWheneverTheContentsMayHaveChanged) {
    SimDrive drive({{"C:\\Data", true, {}}, {kFile, false, {'s', 'a', 'm', 'e'}}, {"C:\\Data\\other.txt", false, {}}});
    const std::uint64_t before = drive.Revision(kFile);
    ASSERT_NE(before, 0u);
    EXPECT_EQ(drive.Revision("c:\\DATA\\File.txt"), before);
    GetParam().apply(drive);
    EXPECT_EQ(drive.Revision(kFile) != before, GetParam().newRevision);
}

INSTANTIATE_TEST_SUITE_P(Changes, SimDriveRevision, ::testing::ValuesIn(kChanges),
                         testing::CaseName<Change>);

TEST(SimDriveRevisionOf, NoFileHasNone) {
    SimDrive drive({{"C:\\Data", true, {}}, {kFile, false, {}}});
    EXPECT_EQ(drive.Revision("C:\\Data\\missing.txt"), 0u);
    ASSERT_EQ(drive.DeleteFile(kFile), winerr::Success);
    EXPECT_EQ(drive.Revision(kFile), 0u);
}

}  // namespace
}  // namespace purgent::sim
