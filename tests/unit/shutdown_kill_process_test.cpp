#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shutdown/kill_process.h"
#include "shutdown_sim_machine.h"

namespace purgent {
namespace {

using test::MachineWithIni;

struct KillCase {
    const char* what;
    std::string ini;
    std::string name;
    std::vector<int> codes;  // one per process acted on; the failure that ended the search
};

const std::vector<KillCase>& KillCases() {
    static const std::vector<KillCase> cases = {
        // NT family, the process-status library.
        {"running", "[process]\nimage=grpwise.exe\n", "grpwise.exe", {kill::Terminated}},
        {"capitals on the process side", "[process]\nimage=GRPWISE.EXE\n", "grpwise.exe", {0}},
        {"capitals on the caller side", "[process]\nimage=GrpWise.exe\n", "GRPWISE.EXE", {0}},
        {"not running", "[process]\nimage=notepad.exe\n", "grpwise.exe", {kill::NotFound}},
        {"name is only a prefix", "[process]\nimage=grpwise.exe.old\n", "grpwise.exe", {603}},
        {"module list unreadable (64-bit): named by its image path",
         "[process]\nimage=outlook.exe\nmodules=no\n", "outlook.exe", {kill::Terminated}},
        {"not queryable is never matched", "[process]\nimage=grpwise.exe\nqueryable=no\n",
         "grpwise.exe", {kill::NotFound}},
        {"cannot be opened to terminate", "[process]\nimage=grpwise.exe\nterminable=no\n",
         "grpwise.exe", {kill::OpenFailed}},
        {"termination fails", "[process]\nimage=grpwise.exe\nterminates=no\n", "grpwise.exe",
         {kill::TerminateFailed}},
        {"no PSAPI.DLL", "[machine]\npsapi=no\n[process]\nimage=grpwise.exe\n", "grpwise.exe",
         {kill::ProcessStatusNotLoaded}},
        {"PSAPI.DLL lacks a function", "[machine]\npsapi=incomplete\n", "grpwise.exe",
         {kill::ProcessStatusIncomplete}},
        {"process list unreadable", "[machine]\npsapi=failing\n", "grpwise.exe",
         {kill::ProcessListUnreadable}},
        {"neither NT nor 9x", "[machine]\nplatform=other\n[process]\nimage=grpwise.exe\n",
         "grpwise.exe", {kill::UnknownPlatform}},
        {"empty name", "[process]\nimage=grpwise.exe\n", "", {kill::BadName}},
        {"261 characters", "", std::string(257, 'a') + ".exe", {kill::BadName}},
        {"260 characters", "", std::string(256, 'a') + ".exe", {kill::NotFound}},
        // 9x family, the toolhelp functions; module names are compared unconverted.
        {"9x: module reported in capitals", "[machine]\nplatform=9x\n[process]\nimage=GRPWISE.EXE\n",
         "grpwise.exe", {kill::Terminated}},
        {"9x: module reported in lower case", "[machine]\nplatform=9x\n[process]\nimage=grpwise.exe\n",
         "GRPWISE.EXE", {kill::NotFound}},
        {"9x: cannot be opened to terminate",
         "[machine]\nplatform=9x\n[process]\nimage=GRPWISE.EXE\nterminable=no\n", "grpwise.exe",
         {kill::OpenFailed}},
        {"9x: termination fails",
         "[machine]\nplatform=9x\n[process]\nimage=GRPWISE.EXE\nterminates=no\n", "grpwise.exe",
         {kill::TerminateFailed}},
        {"9x: a module snapshot fails before the match",
         "[machine]\nplatform=9x\n[process]\nimage=EXPLORER.EXE\nqueryable=no\n"
         "[process]\nimage=GRPWISE.EXE\n",
         "grpwise.exe", {kill::SnapshotFailed}},
        {"9x: no Kernel32.DLL", "[machine]\nplatform=9x\ntoolhelp=no\n", "grpwise.exe",
         {kill::ToolhelpNotLoaded}},
        {"9x: toolhelp function missing", "[machine]\nplatform=9x\ntoolhelp=incomplete\n",
         "grpwise.exe", {kill::ToolhelpIncomplete}},
        {"9x: process snapshot fails", "[machine]\nplatform=9x\ntoolhelp=failing\n", "grpwise.exe",
         {kill::SnapshotFailed}},
        {"9x: not running", "[machine]\nplatform=9x\n[process]\nimage=KERNEL32.DLL\n",
         "grpwise.exe", {kill::NotFound}},
        // Every process of the name, one outcome each.
        {"two running", "[process]\nimage=outlook.exe\n[process]\nimage=OUTLOOK.EXE\n", "outlook.exe", {0, 0}},
        {"three running, the second cannot be opened to terminate",
         "[process]\nimage=outlook.exe\n[process]\nimage=outlook.exe\nterminable=no\n"
         "[process]\nimage=outlook.exe\n",
         "outlook.exe", {kill::Terminated, kill::OpenFailed, kill::Terminated}},
        {"three running, terminating the first fails",
         "[process]\nimage=outlook.exe\nterminates=no\n[process]\nimage=outlook.exe\n"
         "[process]\nimage=outlook.exe\n",
         "outlook.exe", {kill::TerminateFailed, kill::Terminated, kill::Terminated}},
        {"two running, one of them not queryable",
         "[process]\nimage=outlook.exe\nqueryable=no\n[process]\nimage=outlook.exe\n", "outlook.exe", {0}},
        {"9x: two running", "[machine]\nplatform=9x\n[process]\nimage=NMCL32.EXE\n[process]\nimage=NMCL32.EXE\n",
         "nmcl32.exe", {0, 0}},
        {"9x: a module snapshot fails after the first was ended",
         "[machine]\nplatform=9x\n[process]\nimage=GRPWISE.EXE\n[process]\nimage=EXPLORER.EXE\nqueryable=no\n"
         "[process]\nimage=GRPWISE.EXE\n",
         "grpwise.exe", {kill::Terminated, kill::SnapshotFailed}},
    };
    return cases;
}

TEST(KillProcessByName, ReturnsTheCodeOfEachOutcomeAndReleasesEverything) {
    for (const KillCase& c : KillCases()) {
        SCOPED_TRACE(c.what);
        auto machine = MachineWithIni(c.ini);
        EXPECT_EQ(KillProcessByName(machine->GetPlatform(), c.name), c.codes);
        // Every path releases the library and closes every handle it opened.
        auto& processes = machine->Processes();
        EXPECT_EQ(processes.LoadedLibraries(), 0);
        EXPECT_EQ(processes.OpenHandles(), 0u);
        std::vector<std::string> kills;
        for (int code : c.codes) kills.push_back(c.name + "\t" + std::to_string(code));
        EXPECT_EQ(test::TraceOf(*machine, "kill"), kills);
    }
}

bool Running(sim::SimMachine& machine, std::size_t index) {
    auto& processes = machine.Processes();
    return processes.Tasks().processes.at(index).running;
}

struct LeftRunningCase {
    const char* what;
    std::string ini;
    std::vector<bool> running;  // each [process] after one call for "outlook.exe"
};

TEST(KillProcessByName, EndsEveryProcessOfTheNameButOneThatCannotBeEnded) {
    const std::vector<LeftRunningCase> cases = {
        {"two", "[process]\nimage=outlook.exe\n[process]\nimage=outlook.exe\n", {false, false}},
        {"three, the first not terminable",
         "[process]\nimage=outlook.exe\nterminable=no\n[process]\nimage=outlook.exe\n[process]\nimage=outlook.exe\n",
         {true, false, false}},
        {"three, the last one's termination fails",
         "[process]\nimage=outlook.exe\n[process]\nimage=outlook.exe\n[process]\nimage=outlook.exe\nterminates=no\n",
         {false, false, true}},
        {"9x: three, the second not terminable",
         "[machine]\nplatform=9x\n[process]\nimage=OUTLOOK.EXE\n[process]\nimage=OUTLOOK.EXE\nterminable=no\n"
         "[process]\nimage=OUTLOOK.EXE\n",
         {false, true, false}},
        {"another program between two", "[process]\nimage=outlook.exe\n[process]\nimage=winword.exe\n[process]\nimage=outlook.exe\n",
         {false, true, false}},
    };
    for (const LeftRunningCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto machine = MachineWithIni(c.ini);
        KillProcessByName(machine->GetPlatform(), "outlook.exe");
        for (std::size_t i = 0; i < c.running.size(); ++i) EXPECT_EQ(Running(*machine, i), c.running[i]) << i;
    }
}

TEST(KillProcessByName, TriesAtMostItsBoundOfProcessesOfOneName) {
    std::string ini;
    for (std::size_t i = 0; i <= MaxProcessesPerName; ++i) ini += "[process]\nimage=grpwise.exe\n";
    auto machine = MachineWithIni(ini);
    EXPECT_EQ(KillProcessByName(machine->GetPlatform(), "grpwise.exe").size(), MaxProcessesPerName);
    EXPECT_FALSE(Running(*machine, MaxProcessesPerName - 1));
    EXPECT_TRUE(Running(*machine, MaxProcessesPerName));
}

TEST(KillProcessByName, FindsAProcessBeyondTheFirstThousandOnNt) {
    std::string ini;
    for (int i = 0; i < 2500; ++i) ini += "[process]\nimage=svchost.exe\n";
    ini += "[process]\nimage=grpwise.exe\n";
    auto machine = MachineWithIni(ini);
    EXPECT_EQ(KillProcessByName(machine->GetPlatform(), "grpwise.exe"), std::vector<int>{0});
    EXPECT_FALSE(Running(*machine, 2500));
}

// An environment whose version record cannot be read.
class NoVersionEnvironment : public EnvironmentService {
public:
    std::optional<std::string> Variable(const std::string&) override { return std::nullopt; }
    std::string CommandLine() override { return "purgent.exe"; }
    bool PlatformId(std::uint32_t&) override { return false; }
    std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
};

TEST(KillProcessByName, ReportsAnUnreadableVersion) {
    auto machine = MachineWithIni("[process]\nimage=grpwise.exe\n");
    NoVersionEnvironment environment;
    Platform platform = machine->GetPlatform();
    Platform withoutVersion{environment, platform.registry, platform.messages, platform.cursor,
                            platform.programs, platform.processes, platform.windows, platform.text, platform.files};
    EXPECT_EQ(KillProcessByName(withoutVersion, "grpwise.exe"), std::vector<int>{kill::VersionUnreadable});
    EXPECT_TRUE(Running(*machine, 0));
}

}  // namespace
}  // namespace purgent
