// How purgent-fleet judges a run: the outcome of each exit status of both of
// Purgent's tables, a restart pending, what needs attention, and the order
// that lists those first.
#include <gtest/gtest.h>

#include <string>

#include "fleet/log_reader.h"
#include "fleet/verdict.h"
#include "param_name.h"

namespace purgent::fleet {
namespace {

struct VerdictCase {
    const char* what;
    std::string body;  // below a header
    Outcome outcome;
    bool restartPending;
    bool needsAttention;
    std::string remark;
};
void PrintTo(const VerdictCase& c, std::ostream* out) { *out << c.what; }

class EachEnd : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(EachEnd, IsJudged) {
    const VerdictCase& c = GetParam();
    const LogRecord log = ReadRunLog("# Purgent 3.5.0.0 run log\n# computer: PC42\n" + c.body, "pc42.log");
    const Verdict verdict = Judge(log.runs.at(0));
    EXPECT_EQ(OutcomeName(verdict.outcome), std::string(OutcomeName(c.outcome)));
    EXPECT_EQ(verdict.restartPending, c.restartPending);
    EXPECT_EQ(verdict.needsAttention, c.needsAttention);
    EXPECT_EQ(verdict.remark, c.remark);
}

constexpr const char* kFailed = "# failed\tfile-delete\tC:\\Novell\\Messenger\\readme.txt\t5\n";
constexpr const char* kPending = "# restart-pending\tC:\\Novell\\GroupWise\\gwenv1.dll\n";
constexpr const char* kHalt = "phase\tPurgent Halted\nitem\tSome GroupWise or Outlook processes cannot be stopped\n";
constexpr const char* kBusy = "# busy\tanother Purgent run is in progress since 14:05:09\n";
constexpr const char* kErrorBox = "error\tInvalid data type for 'RequestMakeCall'.\n";
constexpr const char* kInvalidBox = "message\tInvalid Purgent Commandline\n";
const std::string kHaltText = "Some GroupWise or Outlook processes cannot be stopped";
const std::string kBusyText = "another Purgent run is in progress since 14:05:09";

INSTANTIATE_TEST_SUITE_P(
    Statuses, EachEnd,
    ::testing::Values(
        // Purgent's own table.
        VerdictCase{"0 completed", "exit\t0\n", Outcome::Completed, false, false, ""},
        VerdictCase{"1 halted", std::string(kHalt) + "exit\t1\n", Outcome::Halted, false, true, kHaltText},
        VerdictCase{"2 error", std::string(kErrorBox) + "exit\t2\n", Outcome::Error, false, true,
                    "Invalid data type for 'RequestMakeCall'."},
        VerdictCase{"3 invalid command line", std::string(kInvalidBox) + "exit\t3\n", Outcome::InvalidCommandLine,
                    false, true, "Invalid Purgent Commandline"},
        VerdictCase{"4 another run in progress", std::string(kBusy) + "exit\t4\n", Outcome::Halted, false, true,
                    kBusyText},
        VerdictCase{"4 without its note", "exit\t4\n", Outcome::Halted, false, true, "another run in progress"},
        // The Windows Installer table.
        VerdictCase{"3010 completed, a restart needed", "exit\t3010\n", Outcome::Completed, true, false, ""},
        VerdictCase{"1602 halted", std::string(kHalt) + "exit\t1602\n", Outcome::Halted, false, true, kHaltText},
        VerdictCase{"1603 error", std::string(kErrorBox) + "exit\t1603\n", Outcome::Error, false, true,
                    "Invalid data type for 'RequestMakeCall'."},
        VerdictCase{"1639 invalid command line", std::string(kInvalidBox) + "exit\t1639\n",
                    Outcome::InvalidCommandLine, false, true, "Invalid Purgent Commandline"},
        VerdictCase{"1618 another run in progress", std::string(kBusy) + "exit\t1618\n", Outcome::Halted, false,
                    true, kBusyText},
        VerdictCase{"1618 without its note", "exit\t1618\n", Outcome::Halted, false, true, "another run in progress"},
        // Neither.
        VerdictCase{"an unknown status is an error", "exit\t259\n", Outcome::Error, false, true,
                    "exit status 259 is none of Purgent's"},
        VerdictCase{"no exit line: interrupted", "phase\tDeleting Files..\nfile-delete\tC:\\a.lnk\n",
                    Outcome::Interrupted, false, true, "no exit line: cut off in \"Deleting Files..\""},
        VerdictCase{"interrupted before any phase", "kill\tgrpwise.exe\t0\n", Outcome::Interrupted, false, true,
                    "no exit line: cut off before its first phase"},
        // Notes that change the verdict of a completed run.
        VerdictCase{"completed with a failed note", std::string(kFailed) + "exit\t0\n", Outcome::Completed, false,
                    true, ""},
        VerdictCase{"completed with a file pending a restart", std::string(kPending) + "exit\t0\n",
                    Outcome::Completed, true, false, ""},
        VerdictCase{"a kept note needs no attention",
                    "# kept\tC:\\Common Files\\GWCheck\tnot the client's own\nexit\t0\n", Outcome::Completed,
                    false, false, ""},
        VerdictCase{"a preview", "# preview\tnothing was changed\nexit\t0\n", Outcome::Completed, false, false,
                    "preview: nothing was changed"},
        VerdictCase{"an error after files were scheduled", std::string(kPending) + kErrorBox + "exit\t2\n",
                    Outcome::Error, true, true, "Invalid data type for 'RequestMakeCall'."}),
    testing::CaseName<VerdictCase>);

// The listing order: interrupted, error, halted, invalid command line, then
// completed runs needing attention, the clean ones last.
TEST(FleetVerdict, RanksPutTheMachinesNeedingAttentionMostFirst) {
    const char* bodies[] = {"file-delete\tC:\\a\n", "exit\t2\n",     "exit\t1\n",
                            "exit\t3\n",             "exit\t3010\n", "exit\t0\n"};
    for (int rank = 0; rank < 6; ++rank) {
        const LogRecord log = ReadRunLog(std::string("# Purgent 3.5.0.0 run log\n") + bodies[rank], "x.log");
        EXPECT_EQ(Judge(log.runs.at(0)).rank, rank) << bodies[rank];
    }
}

}  // namespace
}  // namespace purgent::fleet
