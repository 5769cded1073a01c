#include <gtest/gtest.h>

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

}  // namespace
}  // namespace purgent::sim
