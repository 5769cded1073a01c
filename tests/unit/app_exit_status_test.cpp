// The status the process ends with: its own, and with "/msiexit" the Windows
// Installer's, which deployment tools act on (retry, restart) unconfigured.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/cleaning_run.h"
#include "app/exit_status.h"
#include "param_name.h"
#include "purgent_sim/run_purgent.h"
#include "run_end_machines.h"

namespace purgent {
namespace {

using MachineMaker = std::function<std::unique_ptr<sim::SimMachine>()>;

std::unique_ptr<sim::SimMachine> BareMachine() { return test::MachineWithIni(""); }

struct RunEndCase {
    const char* what;
    MachineMaker machine;
    std::string commandLine;  // "/msiexit" is added at its end
    int status;
    int installerStatus;
};

const std::vector<RunEndCase>& RunEndCases() {
    static const std::vector<RunEndCase> cases = {
        {"completed", BareMachine, "/sn /kc /km", 0, 0},
        {"completed in the window, then closed", BareMachine, "/kc /km", 0, 0},
        {"halted", test::MachineWithGroupWiseStuck, "/sn", 1, 1602},
        {"halted under sp once its window is closed", test::MachineWithGroupWiseStuck, "/sp", 1, 1602},
        {"halted in the window, which was closed", test::MachineWithGroupWiseStuck, "", 0, 0},
        {"stopped on an error", test::MachineWithBadAppPath, "/s", 2, 1603},
        {"a log that cannot be created", BareMachine, "/sn /log=C:\\Missing\\run.log", 2, 1603},
        {"invalid: a repeated switch before it", BareMachine, "/s /s", 3, 1639},
        {"invalid: an unknown argument", BareMachine, "/sp /x", 3, 1639},
        {"the switches asked for; beside another argument an unknown one", BareMachine, "/?", 0, 1639},
    };
    return cases;
}

class RunEnd : public ::testing::TestWithParam<RunEndCase> {};

TEST_P(RunEnd, EndsWithItsOwnStatusAndWithMsiexitTheInstallersOne) {
    const RunEndCase& c = GetParam();
    EXPECT_EQ(sim::RunPurgentOnSimCommandLine(*c.machine(), c.commandLine), c.status);
    const std::string installer = c.commandLine + (c.commandLine.empty() ? "" : " ") + "/msiexit";
    auto machine = c.machine();
    EXPECT_EQ(sim::RunPurgentOnSimCommandLine(*machine, installer), c.installerStatus);
    // The log's exit line is the process's status.
    EXPECT_EQ(machine->Trace().Events("exit"), std::vector<std::string>{std::to_string(c.installerStatus)});
}

INSTANTIATE_TEST_SUITE_P(Statuses, RunEnd, ::testing::ValuesIn(RunEndCases()), testing::CaseName<RunEndCase>);

// "/msiexit" is a switch like any: exact, among the first eight, once.
TEST(RunEnd, MsiexitIsTakenAsEverySwitchIs) {
    const struct {
        std::string commandLine;
        int status;
    } cases[] = {
        {"/msiexit /sn /kc /km", 0},
        {"/sn /kc /km /msiexit /msiexit", 1639},
        {"/sn /kc /km /MSIEXIT", 0},                       // not the switch: ignored after /sn
        {"/s /kc /km /MSIEXIT", 3},                        // not the switch: an unknown argument
        {"/kc /km \"\" \"\" \"\" \"\" \"\" /sn /msiexit", 0},  // the ninth is never read
        {"/s /sn /msiexit", 1639},
    };
    for (const auto& [commandLine, status] : cases) {
        auto machine = BareMachine();
        EXPECT_EQ(sim::RunPurgentOnSimCommandLine(*machine, commandLine), status) << commandLine;
    }
}

struct MappingCase {
    const char* what;
    int status;
    bool restartNeeded;
    int withoutSwitch;
    int withSwitch;
};

// What no run of the simulated machine gives yet: files left for the next
// restart, another run in progress.
const MappingCase kMappingCases[] = {
    {"completed", ExitCompleted, false, 0, 0},
    {"completed with a restart to come", ExitCompleted, true, 0, 3010},
    {"halted with a restart to come", ExitHalted, true, 1, 1602},
    {"failed with a restart to come", ExitFailed, true, 2, 1603},
    {"another run in progress", ExitAnotherRun, false, 4, 1618},
};

class StatusMapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(StatusMapping, GivesTheInstallersStatusOnlyWithTheSwitch) {
    const MappingCase& c = GetParam();
    ProcessState state;
    state.restartNeeded = c.restartNeeded;
    EXPECT_EQ(ExitStatusFor(c.status, state), c.withoutSwitch);
    state.installerStatuses = true;
    EXPECT_EQ(ExitStatusFor(c.status, state), c.withSwitch);
}

INSTANTIATE_TEST_SUITE_P(Statuses, StatusMapping, ::testing::ValuesIn(kMappingCases),
                         testing::CaseName<MappingCase>);

}  // namespace
}  // namespace purgent
