// purgent-fleet's command line: the exit status of each fleet, the folders
// it searches, the files it writes and the usage errors that write nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "csv_records.h"
#include "fleet/fleet_cli.h"
#include "fleet_logs.h"
#include "param_name.h"

namespace purgent::fleet {
namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, gone afterwards.
class FleetFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "purgent-fleet-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Put(const std::string& name, const std::string& text) {
        const fs::path path = dir_ / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    int Fleet(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const int status = RunFleet(args, out, err);
        out_ = out.str();
        err_ = err.str();
        return status;
    }

    // The CSV's log-file column, each path relative to the folder.
    std::vector<std::string> LogFilesInCsv(const std::string& csv) {
        std::ifstream in(csv, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const std::vector<testing::CsvRecord> records = testing::ReadCsv(text.str());
        std::vector<std::string> files;
        for (std::size_t row = 1; row < records.size(); ++row)
            files.push_back(fs::path(records[row].back()).lexically_relative(dir_).generic_string());
        return files;
    }

    fs::path dir_;
    std::string out_, err_;
};

const std::string& CleanLog() {
    static const std::string log = test::RunWithLog(test::BareImage(), "/sn").log;
    return log;
}
const std::string& DemoLog() {  // completed with a failed note
    static const std::string log = test::RunWithLog(test::DemoImage(), "/sn").log;
    return log;
}

struct StatusCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // name, text
    int status;
};
void PrintTo(const StatusCase& c, std::ostream* out) { *out << c.what; }

class FleetStatus : public FleetFolder, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(FleetStatus, OfAFolder) {
    for (const auto& [name, text] : GetParam().files) Put(name, text);
    EXPECT_EQ(Fleet({dir_.string()}), GetParam().status) << out_ << err_;
}

INSTANTIATE_TEST_SUITE_P(
    Fleets, FleetStatus,
    ::testing::Values(
        StatusCase{"every log completed without a failed note", {{"a.log", CleanLog()}, {"b/c.log", CleanLog()}},
                   kExitAllClean},
        StatusCase{"a failed note", {{"a.log", CleanLog()}, {"demo.log", DemoLog()}}, kExitAttention},
        StatusCase{"an interrupted run", {{"a.log", CleanLog()}, {"cut.log", test::WithoutExitLine(CleanLog())}},
                   kExitAttention},
        StatusCase{"a restart pending", {{"a.log", CleanLog() + "# restart-pending\tC:\\x.dll\n"}}, kExitAllClean},
        StatusCase{"a clean rerun after a failed run", {{"a.log", DemoLog() + CleanLog()}}, kExitAllClean},
        StatusCase{"a failed rerun after a clean run", {{"a.log", CleanLog() + DemoLog()}}, kExitAttention},
        StatusCase{"a file that is not a log beside clean logs", {{"a.log", CleanLog()}, {"setup.log", "started\n"}},
                   kExitAllClean},
        StatusCase{"an empty folder", {}, kExitNoLog},
        StatusCase{"only files that are not run logs", {{"setup.log", "started\n"}, {"empty.log", ""}}, kExitNoLog},
        StatusCase{"run logs under another name only", {{"a.txt", CleanLog()}, {"a.log.bak", CleanLog()}}, kExitNoLog}),
    testing::CaseName<StatusCase>);

TEST_F(FleetFolder, SubfoldersAreSearchedForLogsOfAnyCaseAndOtherFilesPassedOver) {
    Put("pc1.log", CleanLog());
    Put("site a/pc2.LOG", CleanLog());
    Put("site a/deep/er/pc3.Log", CleanLog());
    Put("site a/pc4.txt", CleanLog());
    Put("pc5.log.old", CleanLog());
    EXPECT_EQ(Fleet({"--csv", Path("out.csv"), dir_.string()}), kExitAllClean) << err_;
    std::vector<std::string> files = LogFilesInCsv(Path("out.csv"));
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"pc1.log", "site a/deep/er/pc3.Log", "site a/pc2.LOG"}));
}

TEST_F(FleetFolder, APathThatIsAFileIsReadWhateverItsNameAndSeveralPathsAddUp) {
    const std::string named = Put("pc1.txt", CleanLog());
    Put("share/pc2.log", CleanLog());
    EXPECT_EQ(Fleet({"--csv", Path("out.csv"), named, Path("share")}), kExitAllClean) << err_;
    std::vector<std::string> files = LogFilesInCsv(Path("out.csv"));
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"pc1.txt", "share/pc2.log"}));
}

TEST_F(FleetFolder, APathThatIsMissingIsNamedAndTheOthersRead) {
    Put("share/pc1.log", CleanLog());
    EXPECT_EQ(Fleet({Path("missing"), Path("share")}), kExitAllClean);
    EXPECT_NE(err_.find(Path("missing") + ": "), std::string::npos) << err_;
    EXPECT_EQ(Fleet({Path("missing")}), kExitNoLog);
    EXPECT_NE(err_.find("no readable run log"), std::string::npos) << err_;
}

TEST_F(FleetFolder, TheSummaryCountsOutcomesAndNamesTheMachinesThatNeedAttention) {
    Put("clean.log", CleanLog());
    Put("demo.log", DemoLog());
    Put("cut.log", test::WithoutExitLine(DemoLog()));
    Put("setup.log", "started\n");
    EXPECT_EQ(Fleet({dir_.string()}), kExitAttention);
    const std::vector<std::string> lines = {"3 run logs (3 runs), 1 other file", "  interrupted           1",
                                            "  completed             2", "  with failed notes     2",
                                            "Machines that need attention (2), most first:",
                                            "SIMULATED  completed, 1 failed note  [" + Path("demo.log") + "]",
                                            Path("setup.log") + ": not a run log"};
    for (const std::string& shown : lines)
        EXPECT_NE(out_.find(shown), std::string::npos) << shown << "\n" << out_;
    EXPECT_LT(out_.find("cut.log"), out_.find("demo.log")) << "interrupted before failed";
    EXPECT_EQ(out_.find("clean.log"), std::string::npos) << "a clean machine needs no line";
}

struct UsageCase {
    const char* what;
    std::vector<std::string> args;  // "DIR/" starts a path in the test's folder
    std::string message;
    bool showsUsage;  // a command line that is wrong, rather than a file
};
void PrintTo(const UsageCase& c, std::ostream* out) { *out << c.what; }

class FleetUsage : public FleetFolder, public ::testing::WithParamInterface<UsageCase> {};

// Each usage error is named, exits with 64, and neither reads nor writes.
TEST_P(FleetUsage, IsRefusedAndLosesNothing) {
    const std::string log = Put("pc1.log", DemoLog());
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args)
        args.push_back(arg.rfind("DIR/", 0) == 0 ? Path(arg.substr(4)) : arg);
    EXPECT_EQ(Fleet(args), kExitUsage);
    EXPECT_NE(err_.find(GetParam().message), std::string::npos) << err_;
    EXPECT_EQ(err_.find("usage: purgent-fleet") != std::string::npos, GetParam().showsUsage) << err_;
    EXPECT_EQ(out_, "");
    std::ifstream in(log, std::ios::binary);
    std::ostringstream kept;
    kept << in.rdbuf();
    EXPECT_EQ(kept.str(), DemoLog()) << "the log is untouched";
    EXPECT_FALSE(fs::exists(Path("r.csv")));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FleetUsage,
    ::testing::Values(
        UsageCase{"no path", {}, "no PATH given", true},
        UsageCase{"unknown option", {"--xml", "DIR/r.xml", "DIR/"}, "unknown option --xml", true},
        UsageCase{"option with its value joined", {"--csv=DIR/r.csv", "DIR/"}, "unknown option --csv=", true},
        UsageCase{"csv without a file", {"DIR/", "--csv"}, "--csv needs a FILE", true},
        UsageCase{"html with an empty file", {"--html", "", "DIR/"}, "--html needs a FILE", true},
        UsageCase{"csv twice", {"--csv", "DIR/r.csv", "--csv", "DIR/s.csv", "DIR/"}, "--csv is given twice", true},
        UsageCase{"one file for both", {"--csv", "DIR/r.csv", "--html", "DIR/r.csv", "DIR/"},
                  "--html and --csv name the same file", true},
        UsageCase{"the CSV over a run log", {"--csv", "DIR/pc1.log", "DIR/"}, "pc1.log is a run log", false},
        UsageCase{"the page in a missing folder", {"--html", "DIR/no/r.html", "DIR/"}, "cannot create", false}),
    testing::CaseName<UsageCase>);

TEST_F(FleetFolder, DoubleDashMakesTheRestPaths) {
    Put("--odd/pc1.log", CleanLog());
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    const int status = Fleet({"--", "--odd"});
    fs::current_path(cwd);
    EXPECT_EQ(status, kExitAllClean) << err_;
}

TEST(FleetHelp, TellsTheUsageAndExitStatuses) {
    std::ostringstream out, err;
    EXPECT_EQ(RunFleet({"--help"}, out, err), kExitAllClean);
    for (const char* shown : {"usage: purgent-fleet [--html FILE] [--csv FILE] PATH...", "64", "65"})
        EXPECT_NE(out.str().find(shown), std::string::npos) << shown;
}

}  // namespace
}  // namespace purgent::fleet
