// purgent-fleet's CSV, read back field by field as RFC 4180 has it: one
// header line, a row per machine in the report's order, quotes, commas and
// line breaks from the logs kept whole inside their fields.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "csv_records.h"
#include "fleet/fleet_csv.h"
#include "fleet/log_reader.h"
#include "fleet_logs.h"

namespace purgent::fleet {
namespace {

using testing::CsvRecord;
using testing::ReadCsv;

const CsvRecord kHeader = {"computer", "local time",   "version",         "command line", "outcome",
                           "keys",     "values",       "files",           "folders",      "DLL registrations",
                           "hive loads", "failed notes", "kept notes",    "restart pending", "exit status",
                           "remark",   "runs",         "log file"};

std::string Csv(const std::vector<LogRecord>& logs) {
    std::ostringstream out;
    WriteCsv(out, logs);
    return out.str();
}

// A computer and a command line as an administrator may name them, with a
// comma, quotes and a second run in the same log.
const std::string kAwkwardLog =
    "# Purgent 3.4.0.0 run log\n# computer: OLD\nexit\t1\n"
    "# Purgent 3.5.0.0 run log\n"
    "# local time: 2026-01-31 14:05:09\n"
    "# computer: LAB \"A\", PC 7\n"
    "# command line: purgent.exe /sn \"/log=\\\\server\\logs\\lab, a.log\"\n"
    "reg-delete-key\tHKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\n"
    "reg-set-value\tHKEY_LOCAL_MACHINE\\Software\\Clients\\News\t\t\n"
    "file-delete\tC:\\a.lnk\nfile-delete\tC:\\b.lnk\n"
    "launch\tC:\\WINDOWS\\system32\\regsvr32.exe\tregsvr32 /u /s C:\\x.dll\n"
    "# failed\tfile-delete\tC:\\Novell\\Messenger\\readme.txt\t5\n"
    "# failed\tdir-remove\tC:\\Novell\\\"Messenger\", old\t32\n"
    "# kept\tC:\\Program Files\\Common Files\\GWCheck\tnot the client's own folder\n"
    "# kept\tC:\\Novell\\GroupWise\\PPForms\tnot the client's own folder\n"
    "# restart-pending\tC:\\Novell\\GroupWise\\gwenv1.dll\n"
    "exit\t3010\n";

TEST(FleetCsv, EveryFieldComesBackWholeWithItsQuotesCommasAndLineBreaks) {
    const std::string csv = Csv({ReadRunLog(kAwkwardLog, "logs/lab, \"a\".log")});
    const std::vector<CsvRecord> records = ReadCsv(csv);
    ASSERT_EQ(records.size(), 2u) << csv;
    EXPECT_EQ(records[0], kHeader);
    const CsvRecord row = {"LAB \"A\", PC 7",
                           "2026-01-31 14:05:09",
                           "3.5.0.0",
                           "purgent.exe /sn \"/log=\\\\server\\logs\\lab, a.log\"",
                           "completed",
                           "1",
                           "1",
                           "2",
                           "0",
                           "1",
                           "0",
                           "file-delete\tC:\\Novell\\Messenger\\readme.txt\t5\n"
                           "dir-remove\tC:\\Novell\\\"Messenger\", old\t32",
                           // a line break alone makes a field quoted
                           "C:\\Program Files\\Common Files\\GWCheck\tnot the client's own folder\n"
                           "C:\\Novell\\GroupWise\\PPForms\tnot the client's own folder",
                           "yes",
                           "3010",
                           "",
                           "2",
                           "logs/lab, \"a\".log"};
    EXPECT_EQ(records[1], row);
    // Quotes doubled inside a quoted field, as the RFC writes them.
    EXPECT_NE(csv.find("\r\n\"LAB \"\"A\"\", PC 7\",2026-01-31 14:05:09,3.5.0.0,"), std::string::npos) << csv;
}

TEST(FleetCsv, RowsFollowTheReportsOrderAndFilesThatAreNotLogsComeLast) {
    const std::vector<LogRecord> logs = {
        ReadRunLog("# Purgent 3.5.0.0 run log\n# computer: CLEAN\nexit\t0\n", "a.log"),
        ReadRunLog("not a log\n", "notes.log"),
        ReadRunLog("# Purgent 3.5.0.0 run log\n# computer: HALTED\nexit\t1\n", "b.log"),
        ReadRunLog("# Purgent 3.5.0.0 run log\nfile-delete\tC:\\a\n", "logs/pc9.log"),
    };
    const std::vector<CsvRecord> records = ReadCsv(Csv(logs));
    ASSERT_EQ(records.size(), 5u);
    std::vector<std::string> computers, outcomes;
    for (std::size_t i = 1; i < records.size(); ++i) {
        ASSERT_EQ(records[i].size(), kHeader.size());
        computers.push_back(records[i][0]);
        outcomes.push_back(records[i][4]);
    }
    // A log without a computer line is named by its file.
    EXPECT_EQ(computers, (std::vector<std::string>{"pc9", "HALTED", "CLEAN", "notes"}));
    EXPECT_EQ(outcomes, (std::vector<std::string>{"interrupted", "halted", "completed", "not a run log"}));
    EXPECT_EQ(records[4].back(), "notes.log");
}

// The counts of a real run, each in its column.
TEST(FleetCsv, TheCountsOfARealRunStandInTheirColumns) {
    const test::LoggedRun run = test::RunWithLog(test::DemoImage(), "/sn");
    const std::vector<CsvRecord> records = ReadCsv(Csv({ReadRunLog(run.log, "pc.log")}));
    ASSERT_EQ(records.size(), 2u);
    for (std::size_t kind = 0; kind < kKinds; ++kind)
        EXPECT_EQ(records[1][5 + kind], std::to_string(run.traced[kind])) << records[0][5 + kind];
}

TEST(FleetCsv, NoLogGivesTheHeaderAlone) {
    EXPECT_EQ(ReadCsv(Csv({})), std::vector<CsvRecord>{kHeader});
}

}  // namespace
}  // namespace purgent::fleet
