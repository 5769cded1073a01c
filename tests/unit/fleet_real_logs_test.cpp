// purgent-fleet on the logs the program itself writes: each way a run ends on
// the simulated workstation, judged as it ended and counted as its recorder
// traced it; and a log of 10 MB.
#include <gtest/gtest.h>

#include <string>

#include "fleet/log_reader.h"
#include "fleet/verdict.h"
#include "fleet_logs.h"
#include "param_name.h"

namespace purgent::fleet {
namespace {

using test::LoggedRun;

struct RealRunCase {
    const char* what;
    image::MachineImage (*image)();
    std::string commandLine;
    std::size_t cutAfter;  // killed after that many changes; 0: not
    Outcome outcome;
    std::size_t failedNotes;
};
void PrintTo(const RealRunCase& c, std::ostream* out) { *out << c.what; }

class RealRun : public ::testing::TestWithParam<RealRunCase> {};

TEST_P(RealRun, IsJudgedAndCountedAsItsRecorderTracedIt) {
    const RealRunCase& c = GetParam();
    const LoggedRun run = test::RunWithLog(c.image(), c.commandLine, c.cutAfter);
    ASSERT_FALSE(run.log.empty());
    const LogRecord log = ReadRunLog(run.log, "pc42.log");
    ASSERT_EQ(log.runs.size(), 1u);
    const RunRecord& record = log.runs[0];
    EXPECT_EQ(OutcomeName(Judge(record).outcome), std::string(OutcomeName(c.outcome)));
    EXPECT_EQ(record.exitStatus, c.cutAfter ? std::nullopt : std::optional<long long>(run.status));
    EXPECT_EQ(record.counts, run.traced);
    EXPECT_EQ(record.failed.size(), c.failedNotes);
    EXPECT_EQ(record.Field("computer"), "SIMULATED");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RealRun,
    ::testing::Values(
        // The demo keeps a read-only file of Messenger's: one failed note.
        RealRunCase{"demo completed", test::DemoImage, "/sn", 0, Outcome::Completed, 1},
        RealRunCase{"nothing to clean, completed clean", test::BareImage, "/sn", 0, Outcome::Completed, 0},
        RealRunCase{"demo halted by windows that stay", test::HaltingDemo, "/sn", 0, Outcome::Halted, 0},
        // Killed in the registry phase, before the read-only file's failure.
        RealRunCase{"demo interrupted", test::DemoImage, "/sn", 100, Outcome::Interrupted, 0},
        RealRunCase{"error in a user's hive",
                    [] { return image::LoadMachineImage(PURGENT_TEST_DATA "/bad-hive-value"); }, "/sn", 0,
                    Outcome::Error, 0}),
    testing::CaseName<RealRunCase>);

// The demo's run counts something of every kind, so a count taken from the
// wrong events shows.
TEST(FleetRealLogs, TheDemoRunChangesEveryKind) {
    const LoggedRun run = test::RunWithLog(test::DemoImage(), "/sn");
    for (std::size_t kind = 0; kind < kKinds; ++kind) EXPECT_GT(run.traced[kind], 0u) << kKindNames[kind];
}

// A run of 10 MB, its body the demo's run many times over: every line read,
// the counts exact, the exit line at the very end found.
TEST(FleetRealLogs, ALogOfTenMegabytesIsReadToItsEnd) {
    const LoggedRun run = test::RunWithLog(test::DemoImage(), "/sn");
    const std::string whole = test::WithoutExitLine(run.log);
    const std::size_t bodyStart = whole.find("\nkill\t") + 1;
    const std::string body = whole.substr(bodyStart);
    std::string log = whole;
    std::size_t copies = 1;
    for (; log.size() < 10 * 1024 * 1024; ++copies) log += body;
    log += "exit\t0\n";

    const LogRecord record = ReadRunLog(log, "big.log");
    ASSERT_EQ(record.runs.size(), 1u);
    EXPECT_EQ(record.runs[0].exitStatus, 0);
    for (std::size_t kind = 0; kind < kKinds; ++kind)
        EXPECT_EQ(record.runs[0].counts[kind], run.traced[kind] * copies) << kKindNames[kind];
    EXPECT_EQ(record.runs[0].failed.size(), copies);
}

}  // namespace
}  // namespace purgent::fleet
