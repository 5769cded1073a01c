// The real purgent.exe as a deployment tool starts it: the switches on the
// console of a command prompt, one log a machine that a rerun adds to, and
// a log another program holds ending a /sn run without a box.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "wine_harness.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeoutSeconds = 300;
// Wine hands a Windows exit status to Linux as its low byte.
constexpr int kInstallFailureLowByte = 1603 & 0xFF;
constexpr const char* kLogs = "C:\\Logs";

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// What follows label on each line that begins with it, in order.
std::vector<std::string> LineValues(const std::string& log, const std::string& label) {
    std::vector<std::string> values;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(label, 0) == 0) values.push_back(line.substr(label.size()));
    return values;
}

// purgent.exe is a window program: a command prompt does not wait for it,
// "start /wait" does, and it writes to the prompt's console all the same.
TEST(DeploymentE2e, TheSwitchesArePrintedOnTheConsoleOfTheCommandPrompt) {
    WinePrefix prefix;
    fs::copy_file(Win64Exe("purgent.exe"), prefix.UnixPath("C:\\") + "/purgent.exe");
    WineProcess shell = prefix.StartOnTerminal({"cmd", "/c", "start", "", "/wait", "C:\\purgent.exe", "/?"});
    EXPECT_EQ(shell.Wait(60), 0) << prefix.Output();
    const std::string output = prefix.Output();
    for (const char* line : {"purgent.exe [switches]", "/kwt  - keep the Writing Tools", "0, 3010  - the run completed"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
}

TEST(DeploymentE2e, EachMachineHasItsLogAndARerunAddsItsRunWithTheWindowsAndTheOptions) {
    WinePrefix prefix;
    fs::create_directories(prefix.UnixPath("C:\\") + "/Logs");
    // No shell between the harness and the program: Purgent expands the name.
    const std::vector<std::string> run{Win64Exe("purgent.exe"), "/sn",     "/kc",
                                       "/km",                   "/msiexit", "/log=C:\\Logs\\%COMPUTERNAME%.log"};
    ASSERT_EQ(prefix.Run(run, kTimeoutSeconds), 0) << prefix.Output();
    ASSERT_EQ(prefix.Run(run, kTimeoutSeconds), 0) << prefix.Output();

    std::vector<fs::path> logs;
    for (const auto& entry : fs::directory_iterator(prefix.UnixPath(kLogs))) logs.push_back(entry.path());
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = ReadText(logs.front());
    const std::vector<std::string> computers = LineValues(log, "# computer: ");
    ASSERT_EQ(computers.size(), 2u) << log.substr(0, 400);
    EXPECT_NE(computers.front(), "");
    EXPECT_EQ(logs.front().filename().string(), computers.front() + ".log");
    EXPECT_EQ(LineValues(log, "exit\t"), (std::vector<std::string>{"0", "0"}));
    for (const std::string& windows : LineValues(log, "# windows: "))
        EXPECT_TRUE(std::regex_match(windows, std::regex(R"(\d+\.\d+ build \d+, 64-bit)"))) << windows;
    EXPECT_EQ(LineValues(log, "# options: "),
              std::vector<std::string>(2, "/sn; Remove Writing Tools, Remove Files, Remove Registry Entries"));
}

// The shipped 32-bit program tells a 64-bit Windows by IsWow64Process.
class LogHeaderOnEachWindows : public ::testing::TestWithParam<E2eTarget> {};

TEST_P(LogHeaderOnEachWindows, NamesTheBitnessOfWindowsNotOfTheProgram) {
    const E2eTarget& target = GetParam();
    WinePrefix prefix(target.arch);
    ASSERT_EQ(prefix.Run({target.Exe("purgent.exe"), "/sn", "/kc", "/km", "/log=C:\\run.log"}, kTimeoutSeconds), 0)
        << prefix.Output();
    const std::vector<std::string> windows = LineValues(ReadText(prefix.UnixPath("C:\\run.log")), "# windows: ");
    ASSERT_EQ(windows.size(), 1u);
    const std::string bitness = target.arch == WineArch::Win32 ? "32-bit" : "64-bit";
    EXPECT_TRUE(std::regex_match(windows.front(), std::regex(R"(\d+\.\d+ build \d+, )" + bitness))) << windows.front();
}

INSTANTIATE_TEST_SUITE_P(Win32, LogHeaderOnEachWindows, ::testing::Values(kWin32Target));
INSTANTIATE_TEST_SUITE_P(Wow64, LogHeaderOnEachWindows, ::testing::Values(kWow64Target));

// Another machine writing the same file on a share: nobody is there to
// press OK on a box, so the run ends at once, having changed nothing.
TEST(DeploymentE2e, ALogAnotherProgramHoldsEndsASilentRunWithoutABox) {
    WinePrefix prefix;
    const std::string logs = prefix.UnixPath("C:\\") + "/Logs";
    fs::create_directories(logs);
    std::ofstream(logs + "/run.log", std::ios::binary) << "another machine's run\n";
    const std::string shortcut = "C:\\users\\Public\\Desktop\\GroupWise 5.lnk";
    std::ofstream(prefix.UnixPath(shortcut), std::ios::binary) << "shortcut";
    WineProcess held = prefix.Start({Win64Exe("holdopen.exe"), "C:\\held.ready", "C:\\Logs\\run.log"});
    ASSERT_TRUE(WaitForFile(prefix.UnixPath("C:\\held.ready"), 60)) << prefix.Output();

    EXPECT_EQ(prefix.Run({Win64Exe("purgent.exe"), "/sn", "/msiexit", "/log=C:\\Logs\\run.log"}, 60),
              kInstallFailureLowByte)
        << prefix.Output();
    held.Kill();
    EXPECT_EQ(ReadText(logs + "/run.log"), "another machine's run\n");
    EXPECT_TRUE(fs::exists(prefix.UnixPath(shortcut)));
}

}  // namespace
}  // namespace purgent::e2e
