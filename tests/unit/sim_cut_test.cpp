// purgent-sim --cut-after N: the simulated process ends right after its N-th
// change, as if killed; nothing after it happens, and --save keeps the
// machine as it is at that moment.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "image/ansi_text.h"
#include "param_name.h"
#include "platform/record/event_recorder.h"
#include "platform/sim/sim_programs.h"
#include "purgent_sim/sim_cli.h"
#include "scratch_folder.h"

namespace purgent::sim {
namespace {

using Lines = std::vector<std::string>;

const std::string kUsers = std::string(PURGENT_TEST_DATA) + "/users";
const std::string kLog = R"(C:\cut.log)";

std::string Read(const std::filesystem::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

struct CutCase {
    const char* what;
    // The change to cut after: the first change line beginning with it.
    std::string change;
    bool hiveStaysMounted;
};

const CutCase kCutCases[] = {
    {"the first process ended", "kill\tnotify.exe", false},
    {"the first key deleted", "reg-delete-key\t", false},
    {"a user's hive loaded", "hive-load\tPurgent.UserHive", true},
    {"a key deleted in a user's hive", "reg-delete-key\tHKEY_USERS\\Purgent.UserHive\\", true},
    {"a user's hive unloaded", "hive-unload\t", false},
    {"the last change", "", false},
};

class SimCut : public ::testing::TestWithParam<CutCase> {
protected:
    int Run(const std::vector<std::string>& more, std::ostream& out) {
        std::vector<std::string> args{"--machine", kUsers};
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), {"--", "/sn", "/log=" + kLog});
        std::ostringstream err;
        const int status = RunSimCli(args, out, err);
        EXPECT_EQ(err.str(), "");
        return status;
    }

    purgent::testing::ScratchFolder scratch_{"purgent-sim-cut"};
};

TEST_P(SimCut, NothingHappensAfterTheChangeAndTheSavedMachineIsAsItWasThen) {
    std::ostringstream whole;
    ASSERT_EQ(Run({}, whole), 0);
    Lines changes;
    for (const std::string& line : image::SplitLines(whole.str()))
        if (IsChangeEvent(line)) changes.push_back(line);
    const auto at = GetParam().change.empty()
                        ? changes.end() - 1
                        : std::find_if(changes.begin(), changes.end(), [](const std::string& line) {
                              return line.rfind(GetParam().change, 0) == 0;
                          });
    ASSERT_NE(at, changes.end()) << GetParam().change;
    const std::size_t n = at - changes.begin() + 1;

    std::ostringstream cut;
    const std::filesystem::path saved = scratch_.Path() / "saved";
    EXPECT_EQ(Run({"--cut-after", std::to_string(n), "--save", saved.string()}, cut), ExitKilled);
    const Lines trace = image::SplitLines(cut.str());
    EXPECT_EQ(static_cast<std::size_t>(std::count_if(trace.begin(), trace.end(), IsChangeEvent)), n);
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), *at) << "the trace goes on after the cut";
    // The log on the saved machine's drive was written through to the same line.
    const Lines log = image::SplitLines(Read(saved / "drive" / "C" / "cut.log"));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), *at);
    const std::string registry = Read(saved / "registry.reg");
    EXPECT_EQ(registry.find("[HKEY_USERS\\Purgent.UserHive]") != std::string::npos, GetParam().hiveStaysMounted)
        << registry;
}

INSTANTIATE_TEST_SUITE_P(Changes, SimCut, ::testing::ValuesIn(kCutCases), purgent::testing::CaseName<CutCase>);

TEST(SimCutBeyondTheRun, ARunWithFewerChangesEndsAsItWould) {
    std::ostringstream out, err;
    EXPECT_EQ(RunSimCli({"--machine", kUsers, "--cut-after", "100000", "/sn"}, out, err), 0);
    EXPECT_NE(out.str().find("\nexit\t0\n"), std::string::npos);
}

}  // namespace
}  // namespace purgent::sim
