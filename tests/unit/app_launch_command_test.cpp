#include <gtest/gtest.h>

#include "app/launch_command.h"

namespace purgent {
namespace {

using Slots = std::array<std::string, LaunchArgSlots>;

Slots First(std::initializer_list<std::string> arguments) {
    Slots slots;
    std::copy(arguments.begin(), arguments.end(), slots.begin());
    return slots;
}

TEST(LaunchCommandParse, QuotedPathWithQuotedArguments) {
    ParsedLaunch launch = ParseLaunchCommand("  \"C:\\New Client\\setup.exe\" \"/a b\" \"c\"");
    EXPECT_EQ(launch.LaunchProgram, "C:\\New Client\\setup.exe");
    EXPECT_EQ(launch.LaunchArgs, First({"\"/a b\"", "\"c\""}));
}

TEST(LaunchCommandParse, UnquotedPathTakesTenWordsAndDropsTheRest) {
    ParsedLaunch launch = ParseLaunchCommand("C:\\setup.exe 1 2 3  4 5 6 7 8 9 10 11");
    EXPECT_EQ(launch.LaunchProgram, "C:\\setup.exe");
    EXPECT_EQ(launch.LaunchArgs, First({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
}

TEST(LaunchCommandParse, TextGluedToAQuotedPathIsNotPassedOn) {
    ParsedLaunch launch = ParseLaunchCommand("\"C:\\a b\\x.exe\"-q");
    EXPECT_EQ(launch.LaunchProgram, "C:\\a b\\x.exe");
    EXPECT_EQ(launch.LaunchArgs, Slots{});
}

TEST(LaunchCommandParse, UnterminatedQuotedPathLeavesTheProgramEmpty) {
    ParsedLaunch launch = ParseLaunchCommand("\"C:\\a b");
    EXPECT_EQ(launch.LaunchProgram, "");
    EXPECT_EQ(launch.LaunchArgs, First({"C:\\a", "b"}));
}

TEST(LaunchCommandParse, UnterminatedQuotedArgumentIsALoneQuoteThenWords) {
    ParsedLaunch launch = ParseLaunchCommand("x.exe a \"b c");
    EXPECT_EQ(launch.LaunchArgs, First({"a", "\"", "b", "c"}));
}

TEST(LaunchCommandParse, OnlyBlanksSeparate) {
    ParsedLaunch launch = ParseLaunchCommand("x.exe\t-a -b\t-c");
    EXPECT_EQ(launch.LaunchProgram, "x.exe\t-a");
    EXPECT_EQ(launch.LaunchArgs, First({"-b\t-c"}));
}

TEST(LaunchCommandParse, StrayQuoteEndingAnUnquotedProgramIsDropped) {
    EXPECT_EQ(ParseLaunchCommand("setup.exe\"").LaunchProgram, "setup.exe");
    EXPECT_EQ(ParseLaunchCommand("").LaunchProgram, "");
    EXPECT_EQ(ParseLaunchCommand("   ").LaunchProgram, "");
}

TEST(LaunchCommandLine, EveryslotFollowsOneBlankEmptyOnesToo) {
    ParsedLaunch launch = ParseLaunchCommand("\"C:\\s.exe\" \"a b\"");
    EXPECT_EQ(LaunchCommandLine(launch), "C:\\s.exe \"a b\"         ");
    EXPECT_EQ(LaunchCommandLine(ParsedLaunch{}), std::string(10, ' '));
}

}  // namespace
}  // namespace purgent
