#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/sim/sim_cli.h"

namespace purgent::sim {
namespace {

TEST(SimCli, OptionsThenPurgentArguments) {
    const SimCliOptions options =
        ParseSimCli({"--machine", "m", "--save", "s", "--trace", "t", "/s", "--machine", "/la-x"});
    EXPECT_EQ(options.machineDir, "m");
    EXPECT_EQ(options.saveDir, "s");
    EXPECT_EQ(options.traceFile, "t");
    EXPECT_FALSE(options.commandLine);
    // Everything from the first non-option on is Purgent's.
    EXPECT_EQ(options.purgentArguments, (std::vector<std::string>{"/s", "--machine", "/la-x"}));
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
        {"--machine"},
        {"--trace", "a", "--trace", "b"},
        {"--command-line", "/s", "/kc"},
        {"--command-line", "/s", "--", "/kc"},
    };
    for (const auto& args : bad) EXPECT_THROW(ParseSimCli(args), SimCliError) << args[0];
}

// A machine-image folder of its own, removed afterwards.
class SimCliRun : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/purgent-sim-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

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

    std::filesystem::path dir_;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(SimCliRun, UsageErrorsAndUnreadableImagesEndAbove63WithAMessage) {
    EXPECT_EQ(RunSimCli({"--save"}, out, err), ExitUsage);
    EXPECT_NE(err.str().find("usage: purgent-sim"), std::string::npos);

    err.str("");
    Write("image/registry.reg", "not a registry file\n");
    EXPECT_EQ(Run({"/s"}), ExitBadImage);
    EXPECT_NE(err.str().find("registry.reg"), std::string::npos);
    EXPECT_EQ(out.str(), "");
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
