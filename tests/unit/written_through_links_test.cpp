// What the program writes (the run log, a capture) never goes through a
// link: whoever can plant one where a run as SYSTEM writes could otherwise
// have any file of the machine overwritten.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "param_name.h"
#include "purgent_sim/run_purgent.h"

namespace purgent::sim {
namespace {

struct WriteCase {
    const char* what;
    std::vector<std::string> arguments;
    int status;
    std::string error;  // the error box; "" for none
};

const WriteCase kWriteCases[] = {
    {"a log that is a link to win.ini", {"/sp", "/log=C:\\Temp\\purgent.log"}, 2,
     "Cannot create the log file 'C:\\Temp\\purgent.log': it is a link."},
    {"a log that is a folder link", {"/sp", "/log=C:\\Temp\\elsewhere"}, 2,
     "Cannot create the log file 'C:\\Temp\\elsewhere': it is a link."},
    {"a capture folder that is a link to an empty folder", {"/sp", "/capture=C:\\Temp\\cap"}, 2,
     "The capture folder 'C:\\Temp\\cap' is a link."},
    {"a log beside the links", {"/sn", "/log=C:\\Temp\\own.log"}, 0, ""},
};

class WrittenThroughLinks : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WrittenThroughLinks, IsRefusedAndLeavesTheTargetAsItWas) {
    image::MachineImage image;
    image.drive = {{"C:\\Temp", true, {}},
                   {"C:\\WINDOWS", true, {}},
                   {"C:\\WINDOWS\\win.ini", false, {'w'}},
                   {"C:\\Empty", true, {}}};
    image.machine.reparsePoints = {{"C:\\Temp\\purgent.log", "C:\\WINDOWS\\win.ini"},
                                   {"C:\\Temp\\elsewhere", "C:\\WINDOWS"},
                                   {"C:\\Temp\\cap", "C:\\Empty"}};
    SimMachine machine(image);
    EXPECT_EQ(RunPurgentOnSim(machine, GetParam().arguments), GetParam().status);
    const auto errors = machine.Trace().Events("error");
    EXPECT_EQ(errors, GetParam().error.empty() ? std::vector<std::string>{} : std::vector<std::string>{GetParam().error});
    const image::MachineImage after = machine.SaveImage();
    const image::DriveItem* ini = image::FindDriveItem(after.drive, "C:\\WINDOWS\\win.ini");
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->contents, image::Bytes{'w'});
    EXPECT_EQ(after.drive.size(), image.drive.size() + (GetParam().status == 0 ? 1 : 0));  // the own log only
    EXPECT_EQ(after.machine.reparsePoints.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Writes, WrittenThroughLinks, ::testing::ValuesIn(kWriteCases),
                         testing::CaseName<WriteCase>);

}  // namespace
}  // namespace purgent::sim
