#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

#include "platform/sim/sim_programs.h"
#include "purgent_sim/sim_cli.h"
#include "scratch_folder.h"

namespace purgent::sim {
namespace {

TEST(SimCli, OptionsAndPurgentArgumentsInAnyOrder) {
    const SimCliOptions options = ParseSimCli(
        {"--machine", "m", "/s", "--save=s", "--trace", "t", "--summary", "/la-x", "--", "--machine", "/kc"});
    EXPECT_EQ(options.machineDir, "m");
    EXPECT_EQ(options.saveDir, "s");
    EXPECT_EQ(options.traceFile, "t");
    EXPECT_TRUE(options.summary);
    EXPECT_FALSE(options.help);
    EXPECT_FALSE(options.commandLine);
    // Before "--" only what does not begin with "--" is Purgent's; after it, everything.
    EXPECT_EQ(options.purgentArguments, (std::vector<std::string>{"/s", "/la-x", "--machine", "/kc"}));
    EXPECT_EQ(ParseSimCli({"--machine=a=b"}).machineDir, "a=b");
}

TEST(SimCli, EveryValueOptionTakesItsValueEitherWay) {
    const struct {
        const char* name;
        std::optional<std::string> SimCliOptions::*slot;
    } options[] = {
        {"--machine", &SimCliOptions::machineDir},     {"--save", &SimCliOptions::saveDir},
        {"--trace", &SimCliOptions::traceFile},        {"--report", &SimCliOptions::reportFile},
        {"--command-line", &SimCliOptions::commandLine},
    };
    for (const auto& [name, slot] : options) {
        EXPECT_EQ(ParseSimCli({name, "a b"}).*slot, "a b") << name;
        EXPECT_EQ(ParseSimCli({std::string(name) + "=a b"}).*slot, "a b") << name;
        EXPECT_THROW(ParseSimCli({name}), SimCliError) << name;
    }
}

TEST(SimCli, DoubleDashEndsTheOptions) {
    const SimCliOptions options = ParseSimCli({"--", "--trace", "x"});
    EXPECT_FALSE(options.traceFile);
    EXPECT_EQ(options.purgentArguments, (std::vector<std::string>{"--trace", "x"}));
    EXPECT_TRUE(ParseSimCli({}).purgentArguments.empty());
}

TEST(SimCli, RawCommandLineIsKeptWhole) {
    const SimCliOptions options = ParseSimCli({"--command-line", "/s \"/la-a b\""});
    EXPECT_EQ(options.commandLine, "/s \"/la-a b\"");
    EXPECT_TRUE(options.purgentArguments.empty());
    EXPECT_EQ(ParseSimCli({"--command-line", ""}).commandLine, "");
}

TEST(SimCli, UsageErrors) {
    const std::vector<std::vector<std::string>> bad{
        {"--bogus"},
        {"/sn", "--mashine", "m"},
        {"--summary=yes"},
        {"--machine"},
        {"--machine=a", "--machine", "b"},
        {"--trace", "a", "--trace", "b"},
        {"--command-line", "/s", "/kc"},
        {"--command-line", "/s", "--", "/kc"},
        {"--cut-after", "0"},
        {"--cut-after=-1"},
        {"--cut-after", "2x"},
        {"--cut-after", ""},
    };
    for (const auto& args : bad) EXPECT_THROW(ParseSimCli(args), SimCliError) << args[0];
}

// A machine-image folder of its own, removed afterwards.
class SimCliRun : public ::testing::Test {
protected:
    void Write(const std::string& name, const std::string& text) {
        std::filesystem::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::string Read(const std::string& name) {
        std::ostringstream text;
        text << std::ifstream(dir_ / name, std::ios::binary).rdbuf();
        return text.str();
    }
    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--machine", (dir_ / "image").string()});
        return RunSimCli(args, out, err);
    }

    purgent::testing::ScratchFolder scratch_{"purgent-sim-cli"};
    const std::filesystem::path dir_ = scratch_.Path();
    std::ostringstream out;
    std::ostringstream err;
};

// "-h" is the help only when nothing else is given; otherwise it is
// Purgent's argument like any other not beginning with "--".
TEST(SimCli, ShortHelpOnlyAlone) {
    const struct {
        std::vector<std::string> args;
        bool help;
        std::vector<std::string> purgentArguments;
    } cases[] = {
        {{"-h"}, true, {}},
        {{"-h", "/sn"}, false, {"-h", "/sn"}},
        {{"/sn", "-h"}, false, {"/sn", "-h"}},
        {{"--", "-h"}, false, {"-h"}},
        {{"--help"}, true, {}},
        {{"-H"}, false, {"-H"}},
    };
    for (const auto& [args, help, purgentArguments] : cases) {
        const SimCliOptions options = ParseSimCli(args);
        EXPECT_EQ(options.help, help) << args[0];
        EXPECT_EQ(options.purgentArguments, purgentArguments) << args[0];
    }
}

// Each option the help lists (a line "  --name ...") is one the parser takes,
// and none is missing from it.
TEST_F(SimCliRun, HelpListsEveryOptionTheExitStatusesAndExamples) {
    EXPECT_EQ(RunSimCli({"/sn", "--help"}, out, err), 0);
    const std::string help = out.str();
    EXPECT_EQ(help.rfind(SimCliUsage, 0), 0u) << help;
    EXPECT_EQ(err.str(), "");
    std::vector<std::string> listed;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  --", 0) == 0 && line.size() > 4 && line[4] != ' ')
            listed.push_back(line.substr(2, line.find_first_of(" ,", 2) - 2));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"--machine", "--save", "--trace", "--summary", "--report",
                                                "--cut-after", "--command-line", "--help", "--version"}));
    for (const std::string& option : listed) EXPECT_NO_THROW(ParseSimCli({option, "1"})) << option;
    for (const int status : {ExitUsage, ExitBadImage, ExitInternal, ExitCannotWrite, ExitKilled})
        EXPECT_NE(help.find("\n  " + std::to_string(status) + " "), std::string::npos) << status;
    EXPECT_NE(help.find("0 completed, 1 halted, 2 error, 3 invalid command line,\n          4 another run"),
              std::string::npos);
    EXPECT_NE(help.find("Examples:\n  purgent-sim "), std::string::npos);

    out.str("");
    EXPECT_EQ(RunSimCli({"-h"}, out, err), 0);
    EXPECT_EQ(out.str(), help);
}

TEST_F(SimCliRun, VersionPrintsTheProgramsVersion) {
    EXPECT_EQ(RunSimCli({"--version"}, out, err), 0);
    EXPECT_EQ(out.str(), "purgent-sim 3.5.0.0\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(RunSimCli({"--version", "--version"}, out, err), ExitUsage);
}

TEST_F(SimCliRun, HelpNeitherLoadsTheImageNorRunsPurgent) {
    EXPECT_EQ(Run({"--help", "/sn"}), 0);
    EXPECT_EQ(out.str().find("exit\t"), std::string::npos);
}

// Nothing runs when the options or the image are wrong: the status says
// which, stderr names the cause.
TEST_F(SimCliRun, UsageErrorsAndUnreadableImagesEndAbove63WithAMessage) {
    const std::string hive = "image/drive/C/Documents and Settings/ann/ntuser.dat";
    const struct {
        std::vector<std::pair<std::string, std::string>> files;  // a name ending in "/" is a folder
        std::vector<std::string> args;                           // "@" stands for the image folder
        int status;
        std::string message;
    } cases[] = {
        {{}, {"--save"}, ExitUsage, "option --save needs a value"},
        {{}, {"/sn", "--machine", "@", "--sumary"}, ExitUsage, "unknown option --sumary"},
        {{}, {"--machine", "@", "--save", "@/../image/", "/sn"}, ExitUsage, "is, lies inside or holds the image"},
        {{}, {"--machine", "@", "--save", "@/drive", "/sn"}, ExitUsage, "is, lies inside or holds the image"},
        {{}, {"--machine", "@", "--save", "@/..", "/sn"}, ExitUsage, "is, lies inside or holds the image"},
        {{}, {"--machine", "@", "--trace", "@/registry.reg"}, ExitUsage, "lies inside the image folder"},
        {{}, {"--machine", "@", "--report=@/report.html"}, ExitUsage, "/report.html lies inside the image folder"},
        {{}, {"--summary", "/sn", "--summary"}, ExitUsage, "option --summary given twice"},
        {{{"image/machine.ini", "[attributes]\nC:\\gone.dll=r\n"}},
         {"--machine", "@"},
         ExitBadImage,
         "machine.ini:2: \"C:\\gone.dll\" names nothing in drive/"},
        {{{"image/machine.ini", "[locked]\nC:\\gone.dll\n"}}, {"--machine", "@"}, ExitBadImage, "machine.ini:2:"},
        {{{"image/machine.ini", "[dll]\npath=C:\\gone.dll\n"}}, {"--machine", "@"}, ExitBadImage, "machine.ini:2:"},
        {{{"image/registry.reg", std::string("\xFF\xFEW\0i", 5)}},
         {"--machine", "@"},
         ExitBadImage,
         "registry.reg: UTF-16 text ends in half a character"},
        {{{"image/registry.reg", "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Snow\xE2\x98\x83]\n"}},
         {"--machine", "@"},
         ExitBadImage,
         "registry.reg:3: a key name holds a character that Windows-1252 lacks"},
        {{{"image/drive/C/snow\xE2\x98\x83.txt", ""}},
         {"--machine", "@"},
         ExitBadImage,
         "snow\xE2\x98\x83.txt: the name holds a character that Windows-1252 lacks"},
        {{}, {"--machine=@/absent", "/sn"}, ExitBadImage, "/image/absent: no such folder"},
        {{{"image/registry.reg", "not a registry file\n"}}, {"--machine", "@"}, ExitBadImage, "registry.reg:1"},
        {{{"image/registry.reg/", ""}}, {"--machine", "@"}, ExitBadImage, "registry.reg: a folder, not a file"},
        {{{"image/machine.ini", "[machine]\nplatfrom=nt\n"}},
         {"--machine", "@"},
         ExitBadImage,
         "machine.ini:2: unknown key \"platfrom\" in [machine]"},
        {{{"image/machine.ini", "[proces]\nimage=grpwise.exe\n"}},
         {"--machine", "@"},
         ExitBadImage,
         "machine.ini:1: unknown section [proces]"},
        // A single backslash in a string, as written by hand.
        {{{hive, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"Path\"=\"C:\\Novell\"\n"}},
         {"--machine", "@"},
         ExitBadImage,
         "ann/ntuser.dat:4: invalid escape"},
    };
    for (const auto& [files, args, status, message] : cases) {
        std::filesystem::remove_all(dir_ / "image");
        std::filesystem::create_directories(dir_ / "image");
        for (const auto& [name, text] : files) {
            if (name.back() == '/') std::filesystem::create_directories(dir_ / name);
            else Write(name, text);
        }
        std::vector<std::string> expanded;
        for (const std::string& arg : args) {
            const auto at = arg.find('@');
            expanded.push_back(at == std::string::npos
                                   ? arg
                                   : arg.substr(0, at) + (dir_ / "image").string() + arg.substr(at + 1));
        }
        out.str("");
        err.str("");
        EXPECT_EQ(RunSimCli(expanded, out, err), status) << message;
        EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "") << message;
    }
}

// An image is read, never followed out of, and never written.
TEST_F(SimCliRun, AnImageThatLeadsOutOfItselfIsAnErrorNamingThePath) {
    namespace fs = std::filesystem;
    const fs::path drive = dir_ / "image" / "drive" / "C";
    const std::function<void()> makers[] = {
        [&] { fs::create_directory_symlink("/", drive / "outside"); },
        [&] { fs::create_symlink(dir_ / "secret.txt", drive / "secret.txt"); },
        [&] { fs::create_symlink(drive / "loop", drive / "loop"); },
        [&] { fs::create_directory_symlink(drive, drive / "back"); },
        [&] { ASSERT_EQ(mkfifo((dir_ / "image" / "registry.reg").c_str(), 0600), 0); },
        [&] { ASSERT_EQ(mkfifo((drive / "pipe").c_str(), 0600), 0); },
    };
    const char* const named[] = {"drive/C/outside", "drive/C/secret.txt", "drive/C/loop",
                                 "drive/C/back",    "image/registry.reg", "drive/C/pipe"};
    Write("secret.txt", "kept outside");
    for (std::size_t i = 0; i < std::size(makers); ++i) {
        fs::remove_all(dir_ / "image");
        fs::create_directories(drive);
        makers[i]();
        err.str("");
        EXPECT_EQ(Run({"/sn"}), ExitBadImage) << named[i];
        EXPECT_NE(err.str().find(named[i]), std::string::npos) << err.str();
    }
}

TEST_F(SimCliRun, NeitherTheTraceNorTheSaveTouchesTheImage) {
    const std::string text =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n";
    Write("image/registry.reg", text);
    EXPECT_EQ(Run({"--trace", (dir_ / "image" / "registry.reg").string(), "/sn"}), ExitUsage);
    EXPECT_EQ(Run({"--save", dir_.string(), "/sn"}), ExitUsage);
    EXPECT_EQ(Read("image/registry.reg"), text);
}

TEST_F(SimCliRun, TraceGoesToTheFileAndTheChangedMachineIsSaved) {
    Write("image/registry.reg",
          "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n");
    const std::string trace = (dir_ / "trace.txt").string();
    EXPECT_EQ(Run({"--save", (dir_ / "saved").string(), "--trace", trace, "/sn", "/km"}), 0);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(Read("trace.txt").find("reg-delete-key\tHKEY_CURRENT_USER\\Software\\Novell\\GroupWise\n"),
              std::string::npos);
    EXPECT_EQ(Read("saved/registry.reg").find("GroupWise"), std::string::npos);
    EXPECT_NE(Read("saved/registry.reg").find("[HKEY_CURRENT_USER\\Software\\Novell]"), std::string::npos);
}

// The trace reaches stdout only when nothing else is asked for there: a
// report's reader wants the page, not a thousand lines on the terminal.
TEST_F(SimCliRun, TraceGoesToStdoutOnlyWithoutSummaryAndReport) {
    Write("image/registry.reg",
          "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n");
    enum class Shown { Nothing, Trace, Summary };
    const std::string trace = (dir_ / "trace.txt").string();
    const std::string page = (dir_ / "page.html").string();
    const struct {
        std::vector<std::string> args;
        Shown stdout;
        bool traceFile;
        bool pageFile;
    } cases[] = {
        {{}, Shown::Trace, false, false},
        {{"--summary"}, Shown::Summary, false, false},
        {{"--trace", trace}, Shown::Nothing, true, false},
        {{"--report", page}, Shown::Nothing, false, true},
        {{"--report=" + page, "--summary"}, Shown::Summary, false, true},
        {{"--report", page, "--trace", trace}, Shown::Nothing, true, true},
        {{"--summary", "--report", page, "--trace", trace}, Shown::Summary, true, true},
    };
    const std::string deleted = "reg-delete-key\tHKEY_CURRENT_USER\\Software\\Novell\\GroupWise\n";
    for (const auto& c : cases) {
        std::filesystem::remove(trace);
        std::filesystem::remove(page);
        out.str("");
        std::vector<std::string> args = c.args;
        args.push_back("/sn");
        EXPECT_EQ(Run(args), 0) << args[0];
        EXPECT_EQ(out.str().find(deleted) != std::string::npos, c.stdout == Shown::Trace) << args[0] << out.str();
        EXPECT_EQ(out.str().rfind("Changes", 0) == 0 || out.str().find("\nChanges") != std::string::npos,
                  c.stdout == Shown::Summary)
            << args[0] << out.str();
        EXPECT_EQ(out.str().empty(), c.stdout == Shown::Nothing) << args[0];
        EXPECT_EQ(Read("trace.txt").find(deleted) != std::string::npos, c.traceFile) << args[0];
        EXPECT_EQ(Read("page.html").rfind("<!DOCTYPE html>", 0) == 0, c.pageFile) << args[0];
    }
    EXPECT_EQ(Run({"--report", (dir_ / "none" / "c.html").string(), "/sn"}), ExitCannotWrite);
    EXPECT_NE(err.str().find("cannot write"), std::string::npos) << err.str();
}

// The page names the machine (here the image folder), when it was made,
// Purgent's version and the whole command line.
TEST_F(SimCliRun, ReportPageNamesItsMachineDateVersionAndOptions) {
    std::filesystem::create_directories(dir_ / "image");
    const std::string page = (dir_ / "page.html").string();
    EXPECT_EQ(Run({"--report", page, "--", "/sn", "/km"}), 0);
    const std::string html = Read("page.html");
    for (const std::string& expected : std::vector<std::string>{
             "<li>Machine: image</li>",
             "<li>Purgent version: 3.5.0.0</li>",
             "<li>Command line: purgent-sim --machine " + (dir_ / "image").string() + " --report " + page +
                 " -- /sn /km</li>",
             "Verdict: completed, exit status 0",
         })
        EXPECT_NE(html.find(expected), std::string::npos) << expected << "\nin\n" << html;
    std::smatch made;
    ASSERT_TRUE(std::regex_search(html, made, std::regex("<li>Made: (\\d{4})-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d</li>")))
        << html;
    EXPECT_GE(std::stoi(made[1]), 2024);
}

// Runs of blanks as one: the summary's columns without their padding.
std::string Squeezed(const std::string& text) {
    std::string squeezed;
    for (char c : text)
        if (c != ' ' || squeezed.empty() || squeezed.back() != ' ') squeezed += c;
    return squeezed;
}

// The users image: the current user, ann's and bob's hives and the default
// user's lose the client's keys; no process runs. The trace still goes to
// its file.
TEST_F(SimCliRun, SummaryCountsWhatTheTraceHolds) {
    const std::string trace = (dir_ / "trace.txt").string();
    const std::string image = std::string(PURGENT_TEST_DATA) + "/users";
    EXPECT_EQ(RunSimCli({"--summary", "--trace", trace, "--machine", image, "/sn"}, out, err), 0);
    const std::string summary = Squeezed(out.str());
    for (const std::string expected : {
             "Changes deleted changed\n"
             " registry keys 71 -\n registry values 15 6\n files 0 0\n folders 0 -\n DLL registrations 0 -\n",
             " HKEY_CURRENT_USER 23 5 2\n",
             " C:\\Documents and Settings\\ann\\ntuser.dat (loaded as HKEY_USERS\\Purgent.UserHive) 23 5 2\n",
             " C:\\Documents and Settings\\bob\\ntuser.dat (loaded as HKEY_USERS\\Purgent.UserHive) 23 4 2\n",
             " HKEY_USERS\\.DEFAULT 2 1 0\n",
             " 1 (the current user)\n 2 ann\n 3 bob\n 4 jo\n",
             " grpwise.exe not running (603)\n",
             "Exit status: 0\n",
             " DLL registrations 0 -\nThese are the run's changes as the trace records them: ",
             "the report page (--report)\ncounts every key and value the image names that went",
         })
        EXPECT_NE(summary.find(expected), std::string::npos) << expected << "\nin\n" << summary;
    EXPECT_NE(Read("trace.txt").find("reg-delete-key\tHKEY_USERS\\Purgent.UserHive\\Software\\Novell\\GroupWise\n"),
              std::string::npos);
}

TEST_F(SimCliRun, ExitStatusIsPurgentsOwn) {
    // Two GroupWise windows that never close: the run halts, and a silent
    // Purgent ends with its halt status.
    Write("image/machine.ini", "[window]\ntitle=GroupWise\ncloses=no\n[window]\ntitle=GroupWise\ncloses=no\n");
    const int status = Run({"--command-line", "/s"});
    EXPECT_NE(status, 0);
    EXPECT_LT(status, ExitUsage);
    const std::string trace = out.str();
    EXPECT_NE(trace.find("phase\tPurgent Halted\n"), std::string::npos);
    EXPECT_NE(trace.find("exit\t" + std::to_string(status) + "\n"), std::string::npos);
}

}  // namespace
}  // namespace purgent::sim
