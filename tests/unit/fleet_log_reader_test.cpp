// purgent-fleet reading one run log: what each line counts as, which notes
// it keeps, where a run starts, and what is not a run log at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fleet/log_reader.h"
#include "param_name.h"

namespace purgent::fleet {
namespace {

constexpr const char* kHeader =
    "# Purgent 3.5.0.0 run log\n"
    "# local time: 2026-01-31 14:05:09\n"
    "# computer: PC42\n"
    "# user: SYSTEM\n"
    "# command line: purgent.exe /sn /log=C:\\Logs\\pc42.log\n";

using Counts = std::array<std::size_t, kKinds>;

struct CountCase {
    const char* what;
    std::string line;
    Counts counts;  // keys, values, files, folders, DLL registrations, hive loads
};
void PrintTo(const CountCase& c, std::ostream* out) { *out << c.what; }

class EachLineCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(EachLineCounts, AsItsKind) {
    const LogRecord log = ReadRunLog(kHeader + GetParam().line + "\nexit\t0\n", "pc42.log");
    ASSERT_EQ(log.runs.size(), 1u);
    EXPECT_EQ(log.runs[0].counts, GetParam().counts);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EachLineCounts,
    ::testing::Values(
        CountCase{"key deleted", "reg-delete-key\tHKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise", {1, 0, 0, 0, 0, 0}},
        CountCase{"value deleted", "reg-delete-value\tHKEY_CURRENT_USER\\Software\\x\tRequestMakeCall",
                  {0, 1, 0, 0, 0, 0}},
        CountCase{"value changed", "reg-set-value\tHKEY_LOCAL_MACHINE\\Software\\Clients\\News\t\t",
                  {0, 1, 0, 0, 0, 0}},
        CountCase{"file deleted", "file-delete\tC:\\Novell\\GroupWise\\grpwise.exe", {0, 0, 1, 0, 0, 0}},
        CountCase{"folder removed", "dir-remove\tC:\\Novell\\GroupWise", {0, 0, 0, 1, 0, 0}},
        CountCase{"regsvr32 launched", "launch\tC:\\WINDOWS\\system32\\regsvr32.exe\tregsvr32.exe /u /s C:\\a.dll",
                  {0, 0, 0, 0, 1, 0}},
        CountCase{"regsvr32 in capitals, another folder", "launch\tC:\\WINDOWS\\SysWOW64\\REGSVR32.EXE\tx",
                  {0, 0, 0, 0, 1, 0}},
        CountCase{"the follow-up program is no DLL registration", "launch\tC:\\Install\\setup.exe\tsetup.exe /q",
                  {0, 0, 0, 0, 0, 0}},
        CountCase{"a program named like regsvr32 is none", "launch\tC:\\Tools\\regsvr32.exe.bak\tx",
                  {0, 0, 0, 0, 0, 0}},
        CountCase{"hive loaded", "hive-load\tPurgent.UserHive\tC:\\Documents and Settings\\lee\\ntuser.dat",
                  {0, 0, 0, 0, 0, 1}},
        CountCase{"attributes cleared are no deletion", "file-attr\tC:\\Novell\\GroupWise\\readme.txt\t0",
                  {0, 0, 0, 0, 0, 0}},
        CountCase{"a refused deletion is a note, not a deletion",
                  "# failed\tfile-delete\tC:\\Novell\\Messenger\\readme.txt\t5", {0, 0, 0, 0, 0, 0}},
        CountCase{"an event name is whole", "reg-delete-keys\tHKEY_LOCAL_MACHINE\\x", {0, 0, 0, 0, 0, 0}},
        CountCase{"a later version's event is passed over", "reg-rename-key\tHKEY_LOCAL_MACHINE\\x\ty",
                  {0, 0, 0, 0, 0, 0}},
        CountCase{"CR LF line ends", "file-delete\tC:\\a.lnk\r\ndir-remove\tC:\\b\r", {0, 0, 1, 1, 0, 0}}),
    testing::CaseName<CountCase>);

struct NoteCase {
    const char* what;
    std::string line;
    std::vector<std::string> RunRecord::*notes;  // where the note lands
    std::string kept;                            // as kept there
};
void PrintTo(const NoteCase& c, std::ostream* out) { *out << c.what; }

class EachNote : public ::testing::TestWithParam<NoteCase> {};

TEST_P(EachNote, LandsInItsList) {
    const LogRecord log = ReadRunLog(kHeader + GetParam().line + "\nexit\t0\n", "pc42.log");
    ASSERT_EQ(log.runs.size(), 1u);
    const RunRecord& run = log.runs[0];
    EXPECT_EQ(run.*GetParam().notes, std::vector<std::string>{GetParam().kept});
    const std::size_t notes =
        run.failed.size() + run.kept.size() + run.restartPending.size() + run.busy.size() + run.otherNotes.size();
    EXPECT_EQ(notes, 1u) << "kept in one list only";
}

INSTANTIATE_TEST_SUITE_P(
    Notes, EachNote,
    ::testing::Values(
        NoteCase{"failed", "# failed\tfile-delete\tC:\\Novell\\Messenger\\readme.txt\t5", &RunRecord::failed,
                 "file-delete\tC:\\Novell\\Messenger\\readme.txt\t5"},
        NoteCase{"failed value change, its data holding a tab",
                 "# failed\treg-set-value\tHKEY_LOCAL_MACHINE\\k\tv\ta\tb\t5", &RunRecord::failed,
                 "reg-set-value\tHKEY_LOCAL_MACHINE\\k\tv\ta\tb\t5"},
        NoteCase{"kept", "# kept\tC:\\Program Files\\Common Files\\GWCheck\tnot the client's own folder",
                 &RunRecord::kept, "C:\\Program Files\\Common Files\\GWCheck\tnot the client's own folder"},
        NoteCase{"restart pending", "# restart-pending\tC:\\Novell\\GroupWise\\gwenv1.dll", &RunRecord::restartPending,
                 "C:\\Novell\\GroupWise\\gwenv1.dll"},
        NoteCase{"busy", "# busy\tanother Purgent run is in progress", &RunRecord::busy,
                 "another Purgent run is in progress"},
        NoteCase{"ignored argument", "# ignored\t/KR", &RunRecord::otherNotes, "# ignored\t/KR"},
        NoteCase{"unknown word", "# someday\tsomething: new", &RunRecord::otherNotes, "# someday\tsomething: new"},
        NoteCase{"a bare #", "#", &RunRecord::otherNotes, "#"},
        NoteCase{"a word alone", "# failed", &RunRecord::failed, ""}),
    testing::CaseName<NoteCase>);

TEST(FleetLogReader, HeaderFieldsAreReadByTheirLabelsWhateverComesNew) {
    const std::string body =
        "# windows: 10.0 build 19045, 64-bit\n"
        "# options: /sn /log=C:\\Logs\\pc42.log\n"
        "# preview\tnothing was changed: each event below is what the run would have done\n"
        "exit\t0\n";
    const LogRecord log = ReadRunLog(kHeader + body, "pc42.log");
    const RunRecord& run = log.runs.at(0);
    EXPECT_EQ(run.version, "3.5.0.0");
    EXPECT_EQ(run.Field("computer"), "PC42");
    EXPECT_EQ(run.Field("local time"), "2026-01-31 14:05:09");
    EXPECT_EQ(run.Field("command line"), "purgent.exe /sn /log=C:\\Logs\\pc42.log");
    EXPECT_EQ(run.Field("windows"), "10.0 build 19045, 64-bit");
    EXPECT_EQ(run.Field("options"), "/sn /log=C:\\Logs\\pc42.log");
    EXPECT_EQ(run.Field("time"), "");
    EXPECT_TRUE(run.preview);
    EXPECT_TRUE(run.otherNotes.empty());
}

TEST(FleetLogReader, EachHeaderStartsARunAndTheLastIsTheMachines) {
    const std::string second = "# Purgent 3.6.0.0 run log\n# computer: PC42-NEW\nkill\tgrpwise.exe\t0\n";
    const LogRecord log = ReadRunLog(std::string(kHeader) + "file-delete\tC:\\a.lnk\n# failed\tdir-remove\tC:\\b\t5\n"
                                                          "exit\t0\n" +
                                         second + "file-delete\tC:\\c.lnk\nfile-delete\tC:\\d.lnk\n",
                                     "pc42.log");
    ASSERT_EQ(log.runs.size(), 2u);
    EXPECT_EQ(log.runs[0].version, "3.5.0.0");
    EXPECT_EQ(log.runs[0].exitStatus, 0);
    EXPECT_EQ(log.runs[0].counts[static_cast<std::size_t>(Kind::Files)], 1u);
    EXPECT_EQ(log.runs[0].failed.size(), 1u);
    EXPECT_EQ(log.runs[1].version, "3.6.0.0");
    EXPECT_EQ(log.runs[1].Field("computer"), "PC42-NEW");
    EXPECT_EQ(log.runs[1].exitStatus, std::nullopt);
    EXPECT_EQ(log.runs[1].counts[static_cast<std::size_t>(Kind::Files)], 2u);
    EXPECT_TRUE(log.runs[1].failed.empty()) << "an earlier run's notes stay with it";
}

TEST(FleetLogReader, TheLastStatusTextsAreKeptPerRun) {
    const std::string first = "phase\tDeleting Registry Entries\nitem\tx\nerror\tInvalid data type for 'v'.\nexit\t2\n";
    const std::string second =
        "phase\tPurgent Halted\nitem\tSome processes cannot be stopped\n"
        "message\tInvalid Purgent Commandline\nexit\t1\n";
    const LogRecord log = ReadRunLog(kHeader + first + kHeader + second, "pc42.log");
    ASSERT_EQ(log.runs.size(), 2u);
    EXPECT_EQ(log.runs[0].lastPhase, "Deleting Registry Entries");
    EXPECT_EQ(log.runs[0].lastError, "Invalid data type for 'v'.");
    EXPECT_EQ(log.runs[1].lastPhase, "Purgent Halted");
    EXPECT_EQ(log.runs[1].lastItem, "Some processes cannot be stopped");
    EXPECT_EQ(log.runs[1].lastMessage, "Invalid Purgent Commandline");
    EXPECT_EQ(log.runs[1].lastError, "");
}

struct ExitCase {
    const char* what;
    std::string lines;
    std::optional<long long> status;
};
void PrintTo(const ExitCase& c, std::ostream* out) { *out << c.what; }

class EachExitLine : public ::testing::TestWithParam<ExitCase> {};

TEST_P(EachExitLine, GivesTheRunsStatus) {
    EXPECT_EQ(ReadRunLog(kHeader + GetParam().lines, "pc42.log").runs.at(0).exitStatus, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Lines, EachExitLine,
                         ::testing::Values(ExitCase{"completed", "exit\t0\n", 0},
                                           ExitCase{"restart needed", "exit\t3010\n", 3010},
                                           ExitCase{"no line end", "exit\t1603", 1603},
                                           ExitCase{"none: interrupted", "file-delete\tC:\\a\n", std::nullopt},
                                           ExitCase{"cut in the middle", "exit\t", std::nullopt},
                                           ExitCase{"garbled", "exit\t0x\n", std::nullopt},
                                           ExitCase{"a later garbled line keeps the status", "exit\t1\nexit\t?\n", 1}),
                         testing::CaseName<ExitCase>);

struct NotALogCase {
    const char* what;
    std::string text;
};
void PrintTo(const NotALogCase& c, std::ostream* out) { *out << c.what; }

class NotARunLog : public ::testing::TestWithParam<NotALogCase> {};

TEST_P(NotARunLog, IsListedAsSuchWithNoRun) {
    const LogRecord log = ReadRunLog(GetParam().text, "x.log");
    EXPECT_EQ(log.problem, "not a run log");
    EXPECT_TRUE(log.runs.empty());
    EXPECT_EQ(log.path, "x.log");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NotARunLog,
    ::testing::Values(NotALogCase{"empty", ""}, NotALogCase{"another program's log", "2026-01-31 setup started\n"},
                      NotALogCase{"the header below the first line", "\n# Purgent 3.5.0.0 run log\nexit\t0\n"},
                      NotALogCase{"a header without its end", "# Purgent 3.5.0.0 log\nexit\t0\n"},
                      NotALogCase{"a header without a version", "# Purgent run log\n"},
                      NotALogCase{"indented", " # Purgent 3.5.0.0 run log\n"},
                      NotALogCase{"UTF-16", std::string("\xFF\xFE#\0 \0P\0", 8)},
                      NotALogCase{"binary", std::string("\x7F" "ELF\0\0\x01", 7)}),
    testing::CaseName<NotALogCase>);

TEST(FleetLogReader, AByteOrderMarkAndCrLfAsAnEditorLeavesThemStillMakeARunLog) {
    const LogRecord log =
        ReadRunLog("\xEF\xBB\xBF# Purgent 3.5.0.0 run log\r\n# computer: PC42\r\nexit\t0\r\n", "pc42.log");
    EXPECT_EQ(log.problem, "");
    ASSERT_EQ(log.runs.size(), 1u);
    EXPECT_EQ(log.runs[0].version, "3.5.0.0");
    EXPECT_EQ(log.runs[0].Field("computer"), "PC42");
    EXPECT_EQ(log.runs[0].exitStatus, 0);
}

}  // namespace
}  // namespace purgent::fleet
