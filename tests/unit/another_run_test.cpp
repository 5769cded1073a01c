// A run that finds the run's name held by another run, in every mode:
// nothing changes (a leftover mount of a user's hive included), the log has
// its header and the "# busy" note, a box shows only where a window would,
// and the status is 4.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/cleaning_run.h"
#include "image/ansi_text.h"
#include "param_name.h"
#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"

namespace purgent::testing {
namespace {

using Lines = std::vector<std::string>;

const std::string kLog = R"(C:\second.log)";
const std::string kBusy = "Another Purgent run is in progress.";

image::MachineImage ClientWithAnotherRun() {
    image::MachineImage image = ImageOf(
        "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise]\n"
        "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n"
        // The other run's mount of a user's hive.
        "[HKEY_USERS\\Purgent.UserHive\\Software\\Novell\\GroupWise]\n");
    AddDriveItem(image, {R"(C:\Novell\GroupWise\grpwise.exe)", false, {'x'}});
    image.machine.processes.push_back({"grpwise.exe", true, true, {}});
    image.machine.machine.otherKeys.push_back({"run-in-progress", "yes"});
    return image;
}

struct BusyCase {
    const char* what;
    std::vector<std::string> args;
    bool box;
};

const BusyCase kBusyCases[] = {
    {"silent", {"/s"}, false},
    {"silent without messages", {"/sn"}, false},
    {"progress only", {"/sp"}, true},
    {"the window", {}, true},
    {"a preview", {"/sn", "/whatif"}, false},
    {"keeping files and registry", {"/sn", "/kf", "/kr"}, false},
};

class AnotherRun : public ::testing::TestWithParam<BusyCase> {};

TEST_P(AnotherRun, ChangesNothingAndEndsWithItsStatusAndNote) {
    const image::MachineImage before = ClientWithAnotherRun();
    sim::SimMachine machine(before);
    std::vector<std::string> args = GetParam().args;
    args.push_back("/log=" + kLog);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, args), ExitAnotherRun);

    image::MachineImage after = machine.SaveImage();
    const image::DriveItem* log = image::FindDriveItem(after.drive, kLog);
    ASSERT_NE(log, nullptr);
    const Lines lines = image::SplitLines(std::string(log->contents.begin(), log->contents.end()));
    Lines expected{"# busy\t" + kBusy};
    if (GetParam().box) expected.push_back("message\t" + kBusy);
    expected.push_back("exit\t4");
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(lines.front().rfind("# Purgent ", 0), 0u);
    EXPECT_EQ(Lines(lines.end() - expected.size(), lines.end()), expected);
    EXPECT_TRUE(std::all_of(lines.begin(), lines.end() - expected.size(),
                            [](const std::string& line) { return line.rfind("# ", 0) == 0; }))
        << "an event (grpwise.exe ended?) before the note";

    std::erase_if(after.drive, [](const image::DriveItem& item) { return image::EqualsIgnoreCase(item.path, kLog); });
    EXPECT_TRUE(image::SameRegistry(after.registry, before.registry)) << "a key changed";
    EXPECT_EQ(after.drive.size(), before.drive.size()) << "a file changed";
}

INSTANTIATE_TEST_SUITE_P(Modes, AnotherRun, ::testing::ValuesIn(kBusyCases), CaseName<BusyCase>);

}  // namespace
}  // namespace purgent::testing
