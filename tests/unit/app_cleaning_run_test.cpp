#include <gtest/gtest.h>

#include <algorithm>

#include "app/purgent_app.h"
#include "app_fakes.h"
#include "image/machine_image.h"
#include "purgent_sim/run_purgent.h"
#include "purgent_sim/sim_status_view.h"
#include "run_end_machines.h"

namespace purgent {
namespace {

using Lines = std::vector<std::string>;

const char* const MessengerStuck = "[window]\ntitle=Messenger\nclass=NMWin\ncloses=no\n";
const std::string GroupWiseHalt = "Some GroupWise or Outlook processes cannot be stopped";

std::unique_ptr<sim::SimMachine> Machine(const std::string& ini = "") { return test::MachineWithIni(ini); }
using test::MachineWithBadAppPath;
using test::MachineWithGroupWiseStuck;

std::unique_ptr<sim::SimMachine> MachineWithFiles(std::initializer_list<std::string> files) {
    image::MachineImage image;
    for (const std::string& path : files) {
        for (std::size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
            image.drive.push_back({path.substr(0, slash), true, {}});
        }
        image.drive.push_back({path, false, {}});
    }
    return std::make_unique<sim::SimMachine>(std::move(image));
}

Lines Events(sim::SimMachine& machine, const std::string& event) { return test::TraceOf(machine, event); }

// Where the first line starting with prefix stands in the trace; -1 if nowhere.
long IndexOf(sim::SimMachine& machine, const std::string& prefix) {
    const Lines& lines = machine.Trace().Lines();
    auto it = std::find_if(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.compare(0, prefix.size(), prefix) == 0; });
    return it == lines.end() ? -1 : static_cast<long>(it - lines.begin());
}

TEST(CleaningRun, DefaultRunShowsEachPhaseItWorksThroughInOrder) {
    auto machine = Machine();
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {}), 0);
    EXPECT_EQ(Events(*machine, "phase"),
              (Lines{"Purgent Started", "Deleting Registry Entries", "Deregistering  DLLs..", "Deleting Messenger Files..",
                     "Deregistering DLLs..", "Deleting Files..", "Done"}));
    Lines items = Events(*machine, "item");
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "Closing GroupWise processes");
    EXPECT_EQ(items.back(), "");
    Lines progress = Events(*machine, "progress");
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front().substr(progress.front().find('\t')), "\t1980");
    EXPECT_EQ(progress.back().substr(0, 2), "0\t");
    EXPECT_TRUE(Events(*machine, "message").empty());
}

TEST(CleaningRun, KeepingClientAndMessengerSkipsEveryCleaningPhase) {
    auto machine = Machine();
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/kc", "/km"}), 0);
    EXPECT_EQ(Events(*machine, "phase"), (Lines{"Purgent Started", "Done"}));
    EXPECT_EQ(Events(*machine, "progress"), (Lines{"0\t0"}));
    EXPECT_FALSE(Events(*machine, "kill").empty());  // processes are still stopped
}

TEST(CleaningRun, ProgressMaximumFollowsTheOptions) {
    const std::pair<Lines, std::string> cases[] = {
        {{"/kc"}, "\t380"},             // Messenger files 110 + registry 135 + 135
        {{"/km"}, "\t1600"},            // client registry 1500 + files 100
        {{"/kc", "/kr"}, "\t110"},      // Messenger files only
        {{"/km", "/kf"}, "\t1500"},     // client registry only
    };
    for (const auto& [args, maximum] : cases) {
        auto machine = Machine();
        sim::RunPurgentOnSim(*machine, args);
        Lines progress = Events(*machine, "progress");
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.front().substr(progress.front().find('\t')), maximum) << args.front();
    }
}

TEST(CleaningRun, ClosingMessageAndExitFollowTheMode) {
    const std::tuple<const char*, Lines, bool> cases[] = {
        {"/s", {"Purgent - Completed"}, false},
        {"/sn", {}, false},
        {"/sp", {}, true},
    };
    for (const auto& [mode, messages, showsStart] : cases) {
        auto machine = Machine();
        EXPECT_EQ(sim::RunPurgentOnSim(*machine, {mode}), 0) << mode;
        EXPECT_EQ(Events(*machine, "message"), messages) << mode;
        Lines phases = Events(*machine, "phase");
        EXPECT_EQ(phases.front() == "Purgent Started", showsStart) << mode;
        EXPECT_EQ(phases.back(), "Done") << mode;
    }
}

TEST(CleaningRun, NoFilesNoRegistryStillRunsUnattendedAndLaunches) {
    auto machine = MachineWithFiles({"C:\\tools\\setup.exe"});
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/kf", "/kr", "/s", "/la-C:\\tools\\setup.exe"}), 0);
    EXPECT_EQ(Events(*machine, "phase"), (Lines{"Done"}));
    EXPECT_EQ(Events(*machine, "launch").size(), 1u);
    EXPECT_EQ(Events(*machine, "message"), (Lines{"Purgent - Completed"}));
}

TEST(CleaningRunLaunch, QuotedPathAndArgumentsRunBeforeTheClosingMessage) {
    auto machine = MachineWithFiles({"C:\\New Client\\setup.exe"});
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/s", "/la-\"C:\\New Client\\setup.exe\" \"/a b\" \"c\""}), 0);
    EXPECT_EQ(Events(*machine, "launch"),
              (Lines{"C:\\New Client\\setup.exe\t\"C:\\New Client\\setup.exe\" \"/a b\" \"c\"        "}));
    EXPECT_LT(IndexOf(*machine, "phase\tDone"), IndexOf(*machine, "launch\t"));
    EXPECT_LT(IndexOf(*machine, "launch\t"), IndexOf(*machine, "message\tPurgent - Completed"));
}

TEST(CleaningRunLaunch, BareNameIsFoundAlongPathAndBatchFilesRunThroughComspec) {
    auto machine = MachineWithFiles({"C:\\WINDOWS\\notepad.exe", "C:\\WINDOWS\\system32\\go.cmd"});
    sim::RunPurgentOnSim(*machine, {"/sn", "/la-notepad x"});
    EXPECT_EQ(Events(*machine, "launch"), (Lines{"C:\\WINDOWS\\notepad.EXE\tnotepad x         "}));

    auto second = MachineWithFiles({"C:\\WINDOWS\\system32\\go.cmd"});
    sim::RunPurgentOnSim(*second, {"/sn", "/la-go"});
    EXPECT_EQ(Events(*second, "launch"),
              (Lines{"C:\\WINDOWS\\system32\\cmd.exe\tC:\\WINDOWS\\system32\\cmd.exe /c \"\"go\"          \""}));
}

TEST(CleaningRunLaunch, MissingOrEmptyProgramStartsNothingAndTheEndGoesOn) {
    for (const char* launch : {"/la-C:\\absent\\setup.exe", "/la-", "/la-\"C:\\never closed"}) {
        auto machine = Machine();
        EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/s", launch}), 0) << launch;
        EXPECT_TRUE(Events(*machine, "launch").empty()) << launch;
        EXPECT_EQ(Events(*machine, "message"), (Lines{"Purgent - Completed"})) << launch;
    }
}

TEST(CleaningRunHalt, RemainingGroupWiseWindowsHaltBeforeAnythingIsDeleted) {
    auto machine = MachineWithGroupWiseStuck();
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/la-C:\\WINDOWS\\system32\\cmd.exe"}), 0);
    EXPECT_EQ(Events(*machine, "phase"), (Lines{"Purgent Started", "Purgent Halted"}));
    EXPECT_EQ(Events(*machine, "item").back(), GroupWiseHalt);
    EXPECT_TRUE(Events(*machine, "launch").empty());
    EXPECT_TRUE(Events(*machine, "message").empty());
    EXPECT_TRUE(Events(*machine, "progress").empty());
}

// The process's status once the run has halted or failed and whatever
// window is left has been closed: every unattended mode reports it.
TEST(CleaningRunEnd, UnattendedModesEndWithTheHaltsOrTheErrorsStatus) {
    const struct {
        const char* mode;
        int halted;
        int failed;
    } cases[] = {{"/s", 1, 2}, {"/sn", 1, 2}, {"/sp", 1, 2}, {"", 0, 0}};
    for (const auto& c : cases) {
        const std::vector<std::string> args = *c.mode ? std::vector<std::string>{c.mode} : std::vector<std::string>{};
        auto halted = MachineWithGroupWiseStuck();
        EXPECT_EQ(sim::RunPurgentOnSim(*halted, args), c.halted) << c.mode;
        EXPECT_TRUE(Events(*halted, "message").empty()) << c.mode;
        EXPECT_EQ(Events(*halted, "phase").back(), "Purgent Halted") << c.mode;
        auto failed = MachineWithBadAppPath();
        EXPECT_EQ(sim::RunPurgentOnSim(*failed, args), c.failed) << c.mode;
        EXPECT_EQ(Events(*failed, "error").size(), 1u) << c.mode;
    }
}

TEST(CleaningRunHalt, MessengerWindowHaltsOnlyWhenMessengerIsRemoved) {
    auto machine = Machine(MessengerStuck);
    sim::RunPurgentOnSim(*machine, {"/sp"});
    EXPECT_EQ(Events(*machine, "item").back(), "Some Messenger processes cannot be stopped");

    auto kept = Machine(MessengerStuck);
    sim::RunPurgentOnSim(*kept, {"/sp", "/km"});
    EXPECT_EQ(Events(*kept, "phase").back(), "Done");
}

TEST(CleaningRunError, ErrorIsShownWithAFullStopAndNothingFollows) {
    auto machine = MachineWithBadAppPath();
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/sp", "/la-C:\\WINDOWS\\system32\\cmd.exe"}), 2);
    EXPECT_EQ(Events(*machine, "error"), (Lines{"Invalid data type for 'Path'."}));
    EXPECT_TRUE(Events(*machine, "launch").empty());
    EXPECT_TRUE(Events(*machine, "message").empty());
    EXPECT_NE(Events(*machine, "phase").back(), "Done");
}

TEST(CleaningRunError, HiddenModesShowOnlyTheErrorBox) {
    for (const char* mode : {"/s", "/sn"}) {
        auto machine = MachineWithBadAppPath();
        sim::RunPurgentOnSim(*machine, {mode});
        EXPECT_TRUE(Events(*machine, "message").empty()) << mode;
    }
}

// An environment that runs out of memory when asked for a variable (and, if
// told, for the command line).
class ExhaustedEnvironment : public EnvironmentService {
public:
    explicit ExhaustedEnvironment(EnvironmentService& real) : real_(real) {}
    std::optional<std::string> Variable(const std::string&) override { throw std::bad_alloc(); }
    std::string CommandLine() override {
        if (commandLineFails) throw std::bad_alloc();
        return real_.CommandLine();
    }
    bool PlatformId(std::uint32_t& id) override { return real_.PlatformId(id); }
    std::string WindowsDirectory() override { return real_.WindowsDirectory(); }

    bool commandLineFails = false;

private:
    EnvironmentService& real_;
};

// FormCreate on the machine with an exhausted environment: the exit status.
int FormCreateExhausted(sim::SimMachine& machine, bool commandLineFails, test::RecordingFormView& view) {
    Platform real = machine.GetPlatform();
    ExhaustedEnvironment environment(real.environment);
    environment.commandLineFails = commandLineFails;
    Platform platform{environment,   real.registry, real.messages, real.cursor, real.programs,
                      real.processes, real.windows,  real.text,     real.files};
    sim::SimStatusView statusView{machine.Trace()};
    PurgentApp app{platform, statusView, view};
    try {
        app.FormCreate();
    } catch (const sim::SimProcessExit& exit) {
        return exit.status;
    }
    return -1;
}

TEST(CleaningRunError, AnUnexpectedFailureTakesTheSameWayAsAKnownError) {
    auto machine = Machine();
    machine->Environment().SetCommandLine("purgent.exe /s");
    test::RecordingFormView view;
    EXPECT_EQ(FormCreateExhausted(*machine, false, view), 2);
    EXPECT_EQ(Events(*machine, "error"), (Lines{"std::bad_alloc."}));
}

// Before the command line is read no window shows in any mode: the process
// ends after the box instead of living on unseen.
TEST(CleaningRunError, AFailureBeforeTheRunShowsTheBoxThenEndsWithStatusTwo) {
    auto machine = Machine();
    test::RecordingFormView view;
    EXPECT_EQ(FormCreateExhausted(*machine, true, view), 2);
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(machine->Trace().Lines(), (Lines{"error\tstd::bad_alloc.", "exit\t2"}));
}

// FormCreate with a view that records how the window is shown.
class FormCreateTest : public ::testing::Test {
protected:
    int Start(const std::string& commandLine) {
        machine->Environment().SetCommandLine("purgent.exe " + commandLine);
        try {
            app.FormCreate();
        } catch (const sim::SimProcessExit& exit) {
            return exit.status;
        }
        return -1;
    }

    std::unique_ptr<sim::SimMachine> machine = Machine();
    sim::SimStatusView statusView{machine->Trace()};
    test::RecordingFormView view;
    PurgentApp app{machine->GetPlatform(), statusView, view};
};

TEST_F(FormCreateTest, InteractiveShowsTheWindowAndWaits) {
    EXPECT_EQ(Start(""), -1);
    EXPECT_EQ(view.shown, (Lines{"interactive"}));
    EXPECT_TRUE(machine->Trace().Lines().empty());
    EXPECT_EQ(app.Form().ApplicationHint(), "Parameters that contain spaces must be enclosed in quotes");
}

TEST_F(FormCreateTest, HiddenModesStayHiddenAndRunAtOnce) {
    EXPECT_EQ(Start("/sn"), 0);
    EXPECT_EQ(view.shown, (Lines{"hidden"}));
    EXPECT_EQ(Events(*machine, "phase").back(), "Done");
}

TEST_F(FormCreateTest, ProgressOnlyWarnsAboutWebServicesBeforeShowingAndRunning) {
    EXPECT_EQ(Start("/rws /sp"), 0);
    EXPECT_EQ(view.shown, (Lines{"progress-only"}));
    EXPECT_EQ(IndexOf(*machine, "message\tOnly select this"), 0);
    EXPECT_GT(IndexOf(*machine, "phase\tPurgent Started"), 0);
}

// In every mode the box shows, then the process ends with a status of its
// own: a deployment tool must not record a run that did nothing as a success.
TEST(FormCreateInvalid, EveryModeShowsTheBoxThenEndsWithStatusThree) {
    for (const char* commandLine : {"/s \"\" /sp", "/sn /kc /kc", "/s /S", "/sp /sp", "/kc /kc", "/unknown /sn",
                                    "/sn /s", "/la-a /la-a"}) {
        auto machine = Machine();
        machine->Environment().SetCommandLine(std::string("purgent.exe ") + commandLine);
        sim::SimStatusView statusView{machine->Trace()};
        test::RecordingFormView view;
        PurgentApp app{machine->GetPlatform(), statusView, view};
        int status = -1;
        try {
            app.FormCreate();
        } catch (const sim::SimProcessExit& exit) {
            status = exit.status;
        }
        EXPECT_EQ(status, 3) << commandLine;
        EXPECT_TRUE(view.shown.empty()) << commandLine;
        EXPECT_EQ(machine->Trace().Lines(), (Lines{"message\tInvalid Purgent Commandline", "exit\t3"}))
            << commandLine;
    }
}

TEST_F(FormCreateTest, SilentNoMessageSilencesLaterUnknownArguments) {
    EXPECT_EQ(Start("/sn /unknown"), 0);
    EXPECT_TRUE(Events(*machine, "message").empty());
    EXPECT_EQ(Events(*machine, "phase").back(), "Done");
}

}  // namespace
}  // namespace purgent
