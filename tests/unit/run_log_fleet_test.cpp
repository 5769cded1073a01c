// The run log as a fleet's share needs it: one file a machine (%NAME% in the
// path), every run kept (a rerun appends), a header telling which Windows and
// which options, and no box waiting for nobody when the log is taken.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "purgent_sim/run_purgent.h"

namespace purgent::sim {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kFullOptions =
    "Remove GroupWise Client, Remove Writing Tools, Remove Messenger, Remove Files, Remove Registry Entries";

image::MachineImage WithLogsFolder() {
    image::MachineImage image;
    image.drive.push_back({"C:\\Logs", true, {}});
    return image;
}

std::string LogText(const image::MachineImage& image, const std::string& path) {
    const image::DriveItem* log = image::FindDriveItem(image.drive, path);
    return log ? std::string(log->contents.begin(), log->contents.end()) : "";
}

// The header line that begins with prefix, without it; "" when none does.
std::string HeaderField(const std::string& log, const std::string& prefix) {
    const std::size_t at = log.find("\n" + prefix);
    if (at == std::string::npos) return "";
    const std::size_t from = at + 1 + prefix.size();
    return log.substr(from, log.find('\n', from) - from);
}

TEST(FleetLog, TheHeaderNamesTheWindowsAndTheOptionsAsRead) {
    const struct {
        std::string commandLine;
        std::string options;
    } cases[] = {
        {"/sn", std::string("/sn; ") + kFullOptions},
        {"/s /kc /rws /nw",
         "/s; Remove Writing Tools, Remove Web Services Components, Network Install (don't remove distribution "
         "files), Remove Messenger, Remove Files, Remove Registry Entries"},
        {"/sp /kf /kr", "/sp; Remove GroupWise Client, Remove Writing Tools, Remove Messenger"},
        {"/kc /km /kwt", "Interactive; Remove Files, Remove Registry Entries"},
        {"/sn /kc /km /kwt /kf /kr /la-x.exe", "/sn; Launch Application"},
        {"/sn /kc /km /kwt /kf /kr", "/sn; no box checked"},
    };
    for (const auto& [commandLine, options] : cases) {
        SimMachine machine{WithLogsFolder()};
        RunPurgentOnSimCommandLine(machine, commandLine + " /log=C:\\Logs\\run.log");
        const std::string log = LogText(machine.SaveImage(), "C:\\Logs\\run.log");
        EXPECT_EQ(HeaderField(log, "# options: "), options) << commandLine;
        EXPECT_EQ(HeaderField(log, "# windows: "), "5.1 build 2600, 32-bit") << commandLine;
    }
}

// A second run, say the deployment's retry, keeps the first one's record.
TEST(FleetLog, ARerunAppendsItsRunWithAFreshHeaderBelowTheFirst) {
    SimMachine first{WithLogsFolder()};
    EXPECT_EQ(RunPurgentOnSimCommandLine(first, "/sn /kc /log=C:\\Logs\\run.log"), 0);
    const image::MachineImage afterFirst = first.SaveImage();
    const std::string firstLog = LogText(afterFirst, "C:\\Logs\\run.log");

    SimMachine second{afterFirst};
    EXPECT_EQ(RunPurgentOnSimCommandLine(second, "/sn /km /log=C:\\Logs\\run.log"), 0);
    const std::string log = LogText(second.SaveImage(), "C:\\Logs\\run.log");
    ASSERT_EQ(log.substr(0, firstLog.size()), firstLog);
    const std::string added = log.substr(firstLog.size());
    EXPECT_EQ(added.rfind("# Purgent ", 0), 0u) << added.substr(0, 200);
    EXPECT_NE(added.find("\n# command line: purgent.exe /sn /km /log=C:\\Logs\\run.log\n"), std::string::npos);
    std::string events;
    for (const std::string& line : second.Trace().Lines()) events += line + "\n";
    EXPECT_NE(added.find(events), std::string::npos);
    EXPECT_EQ(added.substr(added.size() - 7), "exit\t0\n");
}

// Another machine writing the same file (a shared name on a share) holds it.
TEST(FleetLog, ALogAnotherProgramHoldsIsLeftAsItIsWithABoxOnlyWhereSomeoneSeesIt) {
    const std::string held = "C:\\Logs\\run.log";
    const struct {
        const char* mode;
        Lines errors;
    } cases[] = {
        {"/sn", {}},
        {"/s", {}},
        {"/sp", {"Cannot create the log file 'C:\\Logs\\run.log'."}},
        {"", {"Cannot create the log file 'C:\\Logs\\run.log'."}},
    };
    for (const auto& [mode, errors] : cases) {
        image::MachineImage image = WithLogsFolder();
        image.drive.push_back({held, false, {'o', 't', 'h', 'e', 'r'}});
        image.machine.locked.push_back(held);
        SimMachine machine{image};
        EXPECT_EQ(RunPurgentOnSimCommandLine(machine, std::string(mode) + " /log=" + held), 2) << mode;
        EXPECT_EQ(machine.Trace().Events("error"), errors) << mode;
        EXPECT_TRUE(machine.Trace().Events("kill").empty()) << mode;
        EXPECT_EQ(LogText(machine.SaveImage(), held), "other") << mode;
    }
}

// Started directly by a deployment tool, no shell has expanded the path.
TEST(FleetLog, VariablesInTheLogsAndTheCapturesPathAreExpanded) {
    const struct {
        std::string argument;
        std::string written;  // the file or folder made
    } cases[] = {
        {"/log=C:\\Logs\\%COMPUTERNAME%.log", "C:\\Logs\\SIMULATED.log"},
        {"/log=C:\\Logs\\%computername%-%NO_SUCH%.log", "C:\\Logs\\SIMULATED-%NO_SUCH%.log"},
        {"/log=C:\\Logs\\100%.log", "C:\\Logs\\100%.log"},
        {"/capture=C:\\Logs\\%COMPUTERNAME%", "C:\\Logs\\SIMULATED\\registry.reg"},
    };
    for (const auto& [argument, written] : cases) {
        SimMachine machine{WithLogsFolder()};
        EXPECT_EQ(RunPurgentOnSim(machine, {"/sn", "/kc", "/km", argument}), 0) << argument;
        EXPECT_TRUE(image::FindDriveItem(machine.SaveImage().drive, written)) << argument;
    }
    // The header's command line is the one given.
    SimMachine machine{WithLogsFolder()};
    RunPurgentOnSim(machine, {"/sn", "/kc", "/km", "/log=C:\\Logs\\%COMPUTERNAME%.log"});
    EXPECT_EQ(HeaderField(LogText(machine.SaveImage(), "C:\\Logs\\SIMULATED.log"), "# command line: "),
              "purgent.exe /sn /kc /km /log=C:\\Logs\\%COMPUTERNAME%.log");
}

}  // namespace
}  // namespace purgent::sim
