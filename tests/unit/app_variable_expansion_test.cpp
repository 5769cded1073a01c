#include <gtest/gtest.h>

#include <string>

#include "app/variable_expansion.h"
#include "image/machine_image.h"
#include "param_name.h"
#include "platform/sim/sim_machine.h"

namespace purgent {
namespace {

struct ExpansionCase {
    const char* what;
    std::string text;
    std::string expanded;
};

// The simulated machine's environment with windir C:\%WINDIR%, a value that
// names a variable: SystemDrive C:, COMPUTERNAME SIMULATED.
const ExpansionCase kExpansionCases[] = {
    {"known", "\\\\server\\logs\\%COMPUTERNAME%.log", "\\\\server\\logs\\SIMULATED.log"},
    {"known in any case", "%computername%", "SIMULATED"},
    {"two", "%SystemDrive%\\%COMPUTERNAME%", "C:\\SIMULATED"},
    {"side by side", "%SystemDrive%%COMPUTERNAME%", "C:SIMULATED"},
    {"unknown stays", "C:\\%NO_SUCH%\\x.log", "C:\\%NO_SUCH%\\x.log"},
    {"unknown, then known", "%NO_SUCH%%COMPUTERNAME%", "%NO_SUCH%SIMULATED"},
    {"unclosed stays", "C:\\100%.log", "C:\\100%.log"},
    {"known, then unclosed", "%COMPUTERNAME%\\50%", "SIMULATED\\50%"},
    {"empty name stays", "C:\\%%.log", "C:\\%%.log"},
    {"a value is not expanded again", "%windir%", "C:\\%WINDIR%"},
    {"no variable", "C:\\Logs\\pc42.log", "C:\\Logs\\pc42.log"},
    {"nothing", "", ""},
};

class Expansion : public ::testing::TestWithParam<ExpansionCase> {};

TEST_P(Expansion, ReplacesEachSetVariableAndLeavesTheRestAsWritten) {
    image::MachineImage image;
    image.machine.machine.windir = "C:\\%WINDIR%";
    sim::SimMachine machine(image);
    EXPECT_EQ(ExpandVariables(GetParam().text, machine.GetPlatform().environment), GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(Variables, Expansion, ::testing::ValuesIn(kExpansionCases),
                         testing::CaseName<ExpansionCase>);

}  // namespace
}  // namespace purgent
