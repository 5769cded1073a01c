// The run log ("/log="): which switch names it, what it holds (the trace's
// events below a header) and what a log that cannot be written does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/purgent_app.h"
#include "app_fakes.h"
#include "platform/record/recorded_platform.h"
#include "purgent_sim/run_purgent.h"
#include "purgent_sim/sim_cli.h"
#include "purgent_sim/sim_status_view.h"
#include "scratch_folder.h"

namespace purgent::sim {
namespace {

using Lines = std::vector<std::string>;

std::string LogText(SimMachine& machine, const std::string& path) {
    const image::DriveItem* log = machine.Drive().Find(path);
    return log ? std::string(log->contents.begin(), log->contents.end()) : "";
}

// A workstation with one folder, C:\Logs. The runs keep the client and
// Messenger: they only start and end.
TEST(RunLog, TheSwitchCountsAmongTheEightArgumentsAndTheLaterOfTwoWins) {
    struct Case {
        std::string commandLine;
        std::string writtenLog;  // "": none
        int status;
        bool runs;
    };
    const Case cases[] = {
        {"/sn /kc /km \"/log=C:\\Logs\\run.log\"", "C:\\Logs\\run.log", 0, true},
        {"/sn /kc /km /log=\"C:\\Logs\\a b.log\"", "C:\\Logs\\a b.log", 0, true},
        {"/sn /kc /km /log=C:\\Logs\\first.log /log=C:\\Logs\\second.log", "C:\\Logs\\second.log", 0, true},
        // Two identical ones are a repeated switch: the command line is invalid.
        {"/s /kc /km /log=C:\\Logs\\run.log /log=C:\\Logs\\run.log", "", 3, false},
        // Exact and case-sensitive, like every switch: ignored after "/sn" only.
        {"/sn /kc /km /LOG=C:\\Logs\\run.log", "", 0, true},
        {"/s /kc /km /LOG=C:\\Logs\\run.log", "", 3, false},
        // The ninth argument is never looked at.
        {"/kc /km /kwt /kf /nw /rws \"\" /sn /log=C:\\Logs\\run.log", "", 0, true},
        // A log that cannot be created: a missing folder, a name Windows
        // refuses, no name, a folder.
        {"/sn /kc /km /log=C:\\Missing\\run.log", "", 2, false},
        {"/sn /kc /km /log=C:\\Logs\\run|1.log", "", 2, false},
        {"/sn /kc /km /log=", "", 2, false},
        {"/sn /kc /km /log=C:\\Logs", "", 2, false},
    };
    for (const Case& c : cases) {
        image::MachineImage image;
        image.drive.push_back({"C:\\Logs", true, {}});
        SimMachine machine{image};
        EXPECT_EQ(RunPurgentOnSimCommandLine(machine, c.commandLine), c.status) << c.commandLine;
        for (const char* log : {"C:\\Logs\\run.log", "C:\\Logs\\a b.log", "C:\\Logs\\first.log", "C:\\Logs\\second.log"})
            EXPECT_EQ(machine.Drive().FileExists(log), log == c.writtenLog) << c.commandLine << ": " << log;
        EXPECT_EQ(!machine.Trace().Events("kill").empty(), c.runs) << c.commandLine;
    }
}

// A log or a capture folder that cannot be made stops the program before
// the run, in every mode with status 2. Under /s and /sn nobody is there to
// press OK: the status alone tells.
TEST(RunLog, WhatCannotBeWrittenIsAnErrorBeforeTheRunInEveryModeWithABoxInTheWindowModes) {
    image::MachineImage image;
    image.drive = {{"C:\\Full", true, {}}, {"C:\\Full\\kept.txt", false, {'k'}}};
    const struct {
        const char* what;
        std::string arguments;
        std::string box;
    } refusals[] = {
        {"a log in a missing folder", "/log=C:\\Missing\\run.log", "Cannot create the log file 'C:\\Missing\\run.log'."},
        {"a capture folder not empty", "/capture=C:\\Full", "The capture folder 'C:\\Full' is not empty."},
    };
    for (const auto& refusal : refusals)
        for (const char* mode : {"/sn", "/s", "/sp", ""}) {
            const bool window = std::string(mode) == "/sp" || std::string(mode).empty();
            const Lines trace = window ? Lines{"error\t" + refusal.box, "exit\t2"} : Lines{"exit\t2"};
            SimMachine machine{image};
            EXPECT_EQ(RunPurgentOnSimCommandLine(machine, std::string(mode) + " " + refusal.arguments), 2)
                << refusal.what << " " << mode;
            EXPECT_EQ(machine.Trace().Lines(), trace) << refusal.what << " " << mode;
        }
}

// The whole trace of a run on the demo workstation, message boxes, regsvr32's
// own deletions and the exit status included, is the saved log's body.
TEST(RunLog, TheSavedLogHoldsTheTraceBelowItsHeader) {
    const purgent::testing::ScratchFolder scratch("purgent-run-log");
    const std::filesystem::path& dir = scratch.Path();
    std::ostringstream out, err;
    const std::string trace = (dir / "trace.txt").string();
    EXPECT_EQ(RunSimCli({"--machine", PURGENT_DEMO_IMAGE, "--save", (dir / "saved").string(), "--trace", trace,
                         "--", "/s", "/log=C:\\purgent.log"},
                        out, err),
              0)
        << err.str();
    std::ostringstream log, traced;
    log << std::ifstream(dir / "saved/drive/C/purgent.log", std::ios::binary).rdbuf();
    traced << std::ifstream(trace, std::ios::binary).rdbuf();

    const std::string header =
        "# Purgent " PURGENT_VERSION " run log\n"
        "# local time: 2000-01-01 00:00:00\n"
        "# computer: SIMULATED\n"
        "# user: Administrator\n"
        "# windows: 5.1 build 2600, 32-bit\n"
        "# command line: purgent.exe /s /log=C:\\purgent.log\n"
        "# options: /s; Remove GroupWise Client, Remove Writing Tools, Remove Messenger, Remove Files, "
        "Remove Registry Entries\n";
    ASSERT_EQ(log.str().substr(0, header.size()), header);
    // Below the header: the trace's events, and a note where a change was refused.
    std::istringstream body(log.str().substr(header.size()));
    std::string events, notes;
    for (std::string line; std::getline(body, line);) (line.rfind("#", 0) == 0 ? notes : events) += line + "\n";
    EXPECT_EQ(events, traced.str());
    EXPECT_EQ(notes, "# failed\tfile-delete\tC:\\Novell\\Messenger\\readme.txt\t5\n");
    for (const char* event : {"message\tPurgent - Completed\n", "launch\t", "reg-delete-key\t", "exit\t0\n"})
        EXPECT_NE(traced.str().find(event), std::string::npos) << event;
}

TEST(RunLog, TheLogIsUtf8) {
    SimMachine machine{image::MachineImage{}};
    RunPurgentOnSimCommandLine(machine, "/sn /kc /km /la-C:\\Install\\\xE9t\xE9.exe /log=C:\\run.log");
    EXPECT_NE(LogText(machine, "C:\\run.log").find("C:\\Install\\\xC3\xA9t\xC3\xA9.exe"), std::string::npos);
}

// An argument passed over is named below the command line, so a deployment
// that mistyped a switch after "/sn" sees it in the log.
TEST(RunLog, TheHeaderNamesEachIgnoredArgument) {
    SimMachine machine{image::MachineImage{}};
    RunPurgentOnSimCommandLine(machine, "/sn /KR \"/log=C:\\run.log\" x /kc /km /kf /nw /kwt /rws");
    const std::string log = LogText(machine, "C:\\run.log");
    const std::string named = "# command line: purgent.exe /sn /KR \"/log=C:\\run.log\" x /kc /km /kf /nw /kwt /rws\n"
                              "# options: /sn; Remove Writing Tools, Network Install (don't remove distribution "
                              "files), Remove Registry Entries\n"
                              "# ignored\t/KR\n# ignored\tx\n# ignored\t/kwt\n# ignored\t/rws\n";
    EXPECT_NE(log.find(named), std::string::npos) << log.substr(0, 400);
}

// Files whose writes fail from the second on, as on a full disk.
class DiskFillsUp : public FileService {
public:
    explicit DiskFillsUp(FileService& inner) : inner_(inner) {}
    FindHandle FindFirst(const std::string& mask, FoundFile& entry) override { return inner_.FindFirst(mask, entry); }
    bool FindNext(FindHandle find, FoundFile& entry) override { return inner_.FindNext(find, entry); }
    void FindClose(FindHandle find) override { inner_.FindClose(find); }
    std::uint32_t GetAttributes(const std::string& path) override { return inner_.GetAttributes(path); }
    long SetAttributes(const std::string& path, std::uint32_t attributes) override {
        return inner_.SetAttributes(path, attributes);
    }
    bool RemoveFile(const std::string& path) override { return inner_.RemoveFile(path); }
    bool RemoveFolder(const std::string& path) override { return inner_.RemoveFolder(path); }
    long RemoveError() override { return inner_.RemoveError(); }
    long DeleteAccess(const std::string& path) override { return inner_.DeleteAccess(path); }
    long DeleteAtRestart(const std::string& path) override { return inner_.DeleteAtRestart(path); }
    long CreateFolder(const std::string& path) override { return inner_.CreateFolder(path); }
    bool OnNetworkDrive(const std::string& path) override { return inner_.OnNetworkDrive(path); }
    bool OpenToUsers(const std::string& folder) override { return inner_.OpenToUsers(folder); }
    WriteHandle CreateForWriting(const std::string& path, WriteStart start, WriteRefusal& refusal) override {
        return inner_.CreateForWriting(path, start, refusal);
    }
    bool Write(WriteHandle file, const std::string& bytes) override { return writes_++ == 0 && inner_.Write(file, bytes); }
    void CloseWritten(WriteHandle file) override { inner_.CloseWritten(file); }
    std::string FullPathName(const std::string& path) override { return inner_.FullPathName(path); }
    std::string LongPathName(const std::string& path) override { return inner_.LongPathName(path); }
    std::string FinalPathName(const std::string& path) override { return inner_.FinalPathName(path); }

private:
    FileService& inner_;
    int writes_ = 0;
};

TEST(RunLog, AFailedWriteLetsTheRunEndThenTheStatusIsTwo) {
    SimMachine machine{image::MachineImage{}};
    machine.Environment().SetCommandLine("purgent.exe /sn /kc /km /log=C:\\run.log");
    Platform simulated = machine.GetPlatform();
    DiskFillsUp files(simulated.files);
    Platform inner{simulated.environment, simulated.registry, simulated.messages,
                   simulated.cursor,      simulated.programs, simulated.processes,
                   simulated.windows,     simulated.text,     files};
    EventRecorder recorder;
    RecordedPlatform recorded(inner, recorder);
    SimStatusView status(recorder);
    test::RecordingFormView view;
    PurgentApp app(recorded.Get(), status, view);
    int exit = -1;
    try {
        app.FormCreate();
    } catch (const SimProcessExit& ended) {
        exit = ended.status;
    }
    EXPECT_EQ(exit, 2);
    EXPECT_EQ(recorder.Lines().back(), "exit\t2");
    EXPECT_EQ(recorder.Events("phase").back(), "Done");
    // What was written before the disk filled up stays.
    EXPECT_EQ(LogText(machine, "C:\\run.log").rfind("# Purgent ", 0), 0u);
}

}  // namespace
}  // namespace purgent::sim
