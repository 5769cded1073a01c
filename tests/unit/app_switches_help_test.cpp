#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "app/command_line.h"
#include "app/purgent_app.h"
#include "app/switches_help.h"
#include "app_fakes.h"
#include "purgent_sim/run_purgent.h"
#include "purgent_sim/sim_status_view.h"

namespace purgent {
namespace {

using Args = std::vector<std::string>;

TEST(SwitchesHelp, AskedForOnlyByTheWholeCommandLine) {
    const struct {
        Args arguments;
        bool asks;
    } cases[] = {
        {{"/?"}, true},      {{}, false},           {{"/?", "/s"}, false}, {{"/sn", "/?"}, false},
        {{"", "/?"}, false}, {{"/? "}, false},      {{"-?"}, false},       {{"/h"}, false},
    };
    for (const auto& [arguments, asks] : cases)
        EXPECT_EQ(AsksForSwitchesHelp(arguments), asks) << QuoteArguments(arguments);
}

// A switch as the help writes it, with a sample for its text.
std::string Sample(const std::string& switchText) {
    return switchText.substr(0, switchText.find('<')) + (switchText.find('<') == std::string::npos ? "" : "x");
}

// The box names exactly the switches the command line takes: each alone is a
// valid command line, and its text is on the box.
TEST(SwitchesHelp, EverySwitchListedIsAcceptedAndShown) {
    const std::string text = SwitchesHelpText();
    for (const SwitchHelp& line : SwitchesHelp()) {
        test::FormFixture f;
        EXPECT_TRUE(ApplySwitches({Sample(line.switchText)}, f.form, f.state)) << line.switchText;
        EXPECT_NE(text.find(std::string("\n") + line.switchText + "  - " + line.effect + "\n"), std::string::npos)
            << line.switchText;
    }
    for (const ExitStatusRow& row : ExitStatuses())
        EXPECT_NE((text + "\n").find("\n" + ExitStatusHelpLine(row) + "\n"), std::string::npos) << row.installerStatus;
    EXPECT_EQ(text.find('\t'), std::string::npos);
}

// A text as a trace field holds it: line breaks as the two characters \n.
std::string TraceField(const std::string& text) {
    std::string field;
    for (char c : text) field += c == '\n' ? std::string("\\n") : std::string(1, c);
    return field;
}

// "/?" shows the box and ends with 0 before anything runs; beside other
// arguments it is an unknown argument, as before.
TEST(SwitchesHelp, TheBoxOnTheSimulatedMachine) {
    const struct {
        std::string commandLine;
        int status;
        Args messages;
    } cases[] = {
        {"/?", 0, {TraceField(SwitchesHelpText())}},
        {"\"/?\"", 0, {TraceField(SwitchesHelpText())}},
        {"/? /sn", 3, {"Invalid Purgent Commandline"}},
        {"/s /?", 3, {"Invalid Purgent Commandline"}},
    };
    for (const auto& [commandLine, status, messages] : cases) {
        sim::SimMachine machine{image::MachineImage{}};
        EXPECT_EQ(sim::RunPurgentOnSimCommandLine(machine, commandLine), status) << commandLine;
        EXPECT_EQ(machine.Trace().Events("message"), messages) << commandLine;
        EXPECT_TRUE(machine.Trace().Events("kill").empty()) << commandLine;
    }
    sim::SimMachine silenced{image::MachineImage{}};
    EXPECT_EQ(sim::RunPurgentOnSimCommandLine(silenced, "/sn /kc /km /?"), 0);
    EXPECT_TRUE(silenced.Trace().Events("message").empty());
}

// The simulated machine's boxes, and a console that takes the text when
// there is one.
class ConsoleMessages : public MessageBoxService {
public:
    ConsoleMessages(MessageBoxService& boxes, bool console) : boxes_(boxes), console_(console) {}
    void ShowMessage(const std::string& text) override { boxes_.ShowMessage(text); }
    void ShowError(const std::string& text) override { boxes_.ShowError(text); }
    bool ShowOnConsole(const std::string& text) override {
        if (console_) printed += text;
        return console_;
    }
    std::string printed;

private:
    MessageBoxService& boxes_;
    bool console_;
};

TEST(SwitchesHelp, PrintedOnTheConsoleItWasStartedFromElseShownInTheBox) {
    for (bool console : {true, false}) {
        sim::SimMachine machine{image::MachineImage{}};
        machine.Environment().SetCommandLine("purgent.exe /?");
        Platform simulated = machine.GetPlatform();
        ConsoleMessages messages(simulated.messages, console);
        Platform platform{simulated.environment, simulated.registry,  messages,
                          simulated.cursor,      simulated.programs,  simulated.processes,
                          simulated.windows,     simulated.text,      simulated.files};
        sim::SimStatusView status(machine.Trace());
        test::RecordingFormView view;
        PurgentApp app(platform, status, view);
        int exit = -1;
        try {
            app.FormCreate();
        } catch (const sim::SimProcessExit& ended) {
            exit = ended.status;
        }
        EXPECT_EQ(exit, 0) << console;
        EXPECT_EQ(messages.printed, console ? SwitchesHelpText() : "") << console;
        EXPECT_EQ(machine.Trace().Events("message").size(), console ? 0u : 1u) << console;
        EXPECT_TRUE(view.shown.empty()) << console;
    }
}

std::string ReadSource(const std::string& name) {
    std::ifstream file(std::string(PURGENT_SOURCE_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The first cells of the list right under heading, up to the next heading:
// a Markdown table's rows whose first cell is in backticks, or a guide's
// lines indented by two blanks that begin with a switch or a digit. With
// two, the first two cells joined by a blank: "| `0` | `3010` |", "  0  3010".
std::set<std::string> FirstCells(const std::string& text, const std::string& heading, int count = 1) {
    std::set<std::string> cells;
    std::istringstream lines(text.substr(text.find(heading) + heading.size()));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("#", 0) == 0 || line.rfind("---", 0) == 0) break;
        std::istringstream words;
        if (line.rfind("| `", 0) == 0) {
            std::string row;
            for (char c : line) row += c == '`' || c == '|' ? ' ' : c;
            words.str(row);
        } else if (line.size() > 2 && line.rfind("  ", 0) == 0 && (line[2] == '/' || std::isdigit(static_cast<unsigned char>(line[2])))) {
            words.str(line);
        } else {
            continue;
        }
        std::string first, second;
        words >> first >> second;
        cells.insert(count == 1 ? first : first + " " + second);
    }
    return cells;
}

// The switch and exit-status tables of the documentation and of the
// administrator's guide name what the program takes and gives, no more: each
// status beside its "/msiexit" twin.
TEST(SwitchesHelp, TheDocumentsTablesStayInStepWithTheProgram) {
    std::set<std::string> switches, statuses;
    for (const SwitchHelp& line : SwitchesHelp()) switches.insert(line.switchText);
    for (const ExitStatusRow& row : ExitStatuses())
        statuses.insert(std::to_string(row.status) + " " + std::to_string(row.installerStatus));
    const struct {
        const char* file;
        const char* switchesHeading;
        const char* statusesHeading;
    } documents[] = {
        {"docs/command-line.md", "## Switches\n", "## Exit status\n"},
        {"packaging/AdminGuide.txt", "3. Switches\r\n-----------\r\n", "4. Exit status\r\n--------------\r\n"},
    };
    for (const auto& [file, switchesHeading, statusesHeading] : documents) {
        const std::string text = ReadSource(file);
        ASSERT_NE(text.find(switchesHeading), std::string::npos) << file;
        ASSERT_NE(text.find(statusesHeading), std::string::npos) << file;
        EXPECT_EQ(FirstCells(text, switchesHeading), switches) << file;
        EXPECT_EQ(FirstCells(text, statusesHeading, 2), statuses) << file;
    }
}

}  // namespace
}  // namespace purgent
