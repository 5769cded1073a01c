#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app_fakes.h"

namespace purgent {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineSplit, SkipsTheProgramNamePlainOrQuoted) {
    EXPECT_EQ(SplitCommandLine("purgent.exe /s /kc"), (Args{"/s", "/kc"}));
    EXPECT_EQ(SplitCommandLine("  \t\"C:\\Program Files\\purgent.exe\" /s"), (Args{"/s"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\x\\purgent.exe\"/kc"), (Args{"/kc"}));
    EXPECT_EQ(SplitCommandLine("purgent.exe"), Args{});
    EXPECT_EQ(SplitCommandLine("\"C:\\never closed /s /kc"), Args{});
}

TEST(CommandLineSplit, QuotesGroupBlanksAndAreDropped) {
    EXPECT_EQ(SplitCommandLine("p \"a b\"\tc"), (Args{"a b", "c"}));
    EXPECT_EQ(SplitCommandLine("p a\"b c\"d e"), (Args{"ab cd", "e"}));
    EXPECT_EQ(SplitCommandLine("p \"a b c"), (Args{"a b c"}));
    EXPECT_EQ(SplitCommandLine("p   x   "), (Args{"x"}));
}

TEST(CommandLineSplit, EmptyQuotesGiveAnEmptyArgument) {
    EXPECT_EQ(SplitCommandLine("p \"\" /s"), (Args{"", "/s"}));
    EXPECT_EQ(SplitCommandLine("p \"\""), (Args{""}));
}

TEST(CommandLineSplit, BackslashQuoteIsALiteralQuoteThatNeverTogglesAStretch) {
    EXPECT_EQ(SplitCommandLine("p a\\\"b c"), (Args{"a\"b", "c"}));
    EXPECT_EQ(SplitCommandLine("p \"a\\\" b\" c"), (Args{"a\" b", "c"}));
    EXPECT_EQ(SplitCommandLine("p /la-\"\\\"C:\\a b\\x.exe\\\" \\\"arg 1\\\"\""),
              (Args{"/la-\"C:\\a b\\x.exe\" \"arg 1\""}));
}

TEST(CommandLineSplit, OtherBackslashesAndWildcardsStayAsTheyAre) {
    EXPECT_EQ(SplitCommandLine("p C:\\\\dir\\x\\ *.* ?"), (Args{"C:\\\\dir\\x\\", "*.*", "?"}));
}

TEST(CommandLineSplit, QuotedArgumentsSplitBackToTheSameArguments) {
    const Args samples[] = {
        {},
        {"/s", "/kc"},
        {"", "x", ""},
        {" ", "\t", "a b\\", "a\\", "\\", "\"", "a\\\"b", "\\\" \\"},
        {"/la-\"C:\\Program Files\\x.exe\" \"an arg\"", "*?"},
    };
    for (const Args& args : samples) {
        EXPECT_EQ(SplitCommandLine("purgent.exe " + QuoteArguments(args)), args) << QuoteArguments(args);
    }
}

class SwitchesTest : public ::testing::Test {
protected:
    bool Apply(const Args& args) { return ApplySwitches(args, f.form, f.state); }
    bool Checked(Option option) const { return f.form.Checked(option); }
    bool Enabled(Control control) const { return f.form.Enabled(control); }

    test::FormFixture f;
};

TEST_F(SwitchesTest, NoArgumentsKeepTheDefaults) {
    EXPECT_TRUE(Apply({}));
    EXPECT_EQ(f.state.silentMode, SilentMode::Interactive);
    EXPECT_TRUE(Checked(Option::Client));
    EXPECT_FALSE(Checked(Option::WebServices));
    EXPECT_FALSE(Checked(Option::LaunchApp));
    EXPECT_TRUE(f.messages.messages.empty());
}

TEST_F(SwitchesTest, ModeSwitchesSetTheMode) {
    const std::pair<const char*, SilentMode> modes[] = {
        {"/s", SilentMode::Silent}, {"/sn", SilentMode::SilentNoMessage}, {"/sp", SilentMode::ProgressOnly}};
    for (const auto& [text, mode] : modes) {
        test::FormFixture fixture;
        EXPECT_TRUE(ApplySwitches({"/kc", text}, fixture.form, fixture.state));
        EXPECT_EQ(fixture.state.silentMode, mode) << text;
    }
}

TEST_F(SwitchesTest, KeepSwitchesUncheckTheirBoxesAsClicks) {
    EXPECT_TRUE(Apply({"/kwt", "/kc", "/km"}));
    EXPECT_FALSE(Checked(Option::WritingTools));
    EXPECT_FALSE(Checked(Option::Client));
    EXPECT_FALSE(Checked(Option::Messenger));
    // ClientClick and MessengerClick ran.
    EXPECT_FALSE(Enabled(Control::WebServices));
    EXPECT_FALSE(Enabled(Control::DeleteFiles));
    EXPECT_FALSE(Enabled(Control::DeleteRegistry));
    EXPECT_TRUE(Checked(Option::DeleteFiles));
}

TEST_F(SwitchesTest, KeepFilesAndRegistryDisableTheCleanButton) {
    EXPECT_TRUE(Apply({"/kf", "/kr", "/s"}));
    EXPECT_FALSE(Checked(Option::DeleteFiles));
    EXPECT_FALSE(Checked(Option::DeleteRegistry));
    EXPECT_FALSE(Enabled(Control::RunButton));
    EXPECT_FALSE(Enabled(Control::Client));
    EXPECT_EQ(f.state.silentMode, SilentMode::Silent);
}

TEST_F(SwitchesTest, RepeatedTextIsInvalid) {
    for (const Args& args : {Args{"/s", "/s"}, Args{"/kc", "/km", "/kc"}, Args{"/la-x y", "/la-x y"}}) {
        test::FormFixture fixture;
        EXPECT_FALSE(ApplySwitches(args, fixture.form, fixture.state)) << args[0];
    }
}

// A preview is asked for by /whatif or by a capture, which never changes the
// machine either; a capture without a folder is invalid, "/sn" or not.
TEST(PreviewSwitches, WhatIfAndCaptureAskForAPreview) {
    const struct {
        Args args;
        bool valid, preview;
        const char* captureFolder;
    } cases[] = {
        {{"/sn"}, true, false, ""},
        {{"/sn", "/whatif"}, true, true, ""},
        {{"/capture=C:\\cap"}, true, true, "C:\\cap"},
        {{"/capture=C:\\a", "/capture=D:\\b"}, true, true, "D:\\b"},
        {{"/whatif", "/whatif"}, false, true, ""},
        {{"/capture=C:\\a", "/capture=C:\\a"}, false, true, "C:\\a"},
        {{"/capture="}, false, false, ""},
        {{"/sn", "/capture="}, false, false, ""},
        {{"/WhatIf"}, false, false, ""},
    };
    for (const auto& c : cases) {
        test::FormFixture fixture;
        EXPECT_EQ(ApplySwitches(c.args, fixture.form, fixture.state), c.valid) << c.args.back();
        if (!c.valid) continue;
        EXPECT_EQ(fixture.state.preview, c.preview) << c.args.back();
        EXPECT_EQ(fixture.state.captureFolder, c.captureFolder) << c.args.back();
    }
}

TEST_F(SwitchesTest, TwoDifferentLaunchSwitchesTakeTheLaterCommand) {
    EXPECT_TRUE(Apply({"/la-first.exe", "/la-second.exe a"}));
    EXPECT_EQ(f.form.LaunchCommand(), "second.exe a");
}

TEST_F(SwitchesTest, TwoDifferentModesAreInvalidWhereverTheyStand) {
    for (const Args& args : {Args{"/s", "/sp"}, Args{"/sn", "/kc", "/s"}, Args{"/kc", "/km", "/kf", "/sp", "/nw", "/sn"}}) {
        test::FormFixture fixture;
        EXPECT_FALSE(ApplySwitches(args, fixture.form, fixture.state)) << args.back();
    }
}

TEST_F(SwitchesTest, UnknownArgumentIsInvalidUnlessAfterSilentNoMessage) {
    EXPECT_TRUE(Apply({"/sn", "/bogus", "/KC"}));
    EXPECT_EQ(f.state.silentMode, SilentMode::SilentNoMessage);
    EXPECT_TRUE(Checked(Option::Client));

    test::FormFixture before;
    EXPECT_FALSE(ApplySwitches({"/bogus", "/sn"}, before.form, before.state));
}

TEST_F(SwitchesTest, SwitchesAreCaseSensitive) {
    for (const char* text : {"/S", "/Kc", "/LA-setup.exe", "/La-"}) {
        test::FormFixture fixture;
        EXPECT_FALSE(ApplySwitches({text}, fixture.form, fixture.state)) << text;
    }
}

TEST_F(SwitchesTest, ArgumentsFromTheNinthOnAreIgnored) {
    EXPECT_TRUE(Apply({"", "", "", "", "", "", "", "/s", "/sp", "/s", "/bogus"}));
    EXPECT_EQ(f.state.silentMode, SilentMode::Silent);
}

// What is passed over is kept for the run log, in the order given.
TEST(IgnoredArguments, AreTheUnknownOnesAfterSilentNoMessageAndAllFromTheNinthOn) {
    const struct {
        Args args;
        Args ignored;
    } cases[] = {
        {{"/sn", "/KR", "/kc", "/bogus"}, {"/KR", "/bogus"}},
        {{"/sn", "/kc"}, {}},
        {{"/bogus", "/sn"}, {}},  // invalid: nothing is run
        {{"", "", "", "", "", "", "/s", "/kc", "/km", "/x"}, {"/km", "/x"}},
    };
    for (const auto& c : cases) {
        test::FormFixture fixture;
        ApplySwitches(c.args, fixture.form, fixture.state);
        EXPECT_EQ(fixture.state.ignoredArguments, c.ignored) << QuoteArguments(c.args);
    }
}

TEST_F(SwitchesTest, EmptyArgumentsAreSkipped) {
    EXPECT_TRUE(Apply({"", "/kc", ""}));
    EXPECT_FALSE(Checked(Option::Client));
}

TEST_F(SwitchesTest, LaunchSwitchTakesTheRestOfTheArgumentVerbatim) {
    EXPECT_TRUE(Apply({"/la-\"C:\\a b\\x.exe\"  \"-q\"\t"}));
    EXPECT_TRUE(Checked(Option::LaunchApp));
    EXPECT_TRUE(Enabled(Control::Application));
    EXPECT_TRUE(Enabled(Control::SelectApp));
    EXPECT_EQ(f.form.LaunchCommand(), "\"C:\\a b\\x.exe\"  \"-q\"\t");

    test::FormFixture alone;
    EXPECT_TRUE(ApplySwitches({"/la-"}, alone.form, alone.state));
    EXPECT_TRUE(alone.form.Checked(Option::LaunchApp));
    EXPECT_EQ(alone.form.LaunchCommand(), "");
    EXPECT_FALSE(ApplySwitches({"/la"}, alone.form, alone.state));
}

TEST_F(SwitchesTest, NetworkAndWebServicesAreCheckedAfterAllArguments) {
    EXPECT_TRUE(Apply({"/rws", "/nw", "/sp"}));
    EXPECT_TRUE(Checked(Option::Networked));
    EXPECT_TRUE(Checked(Option::WebServices));
    EXPECT_TRUE(f.state.webServices);
    EXPECT_EQ(f.messages.messages.size(), 1u);  // the warning, since ProgressOnly shows boxes
}

TEST_F(SwitchesTest, WebServicesWarningIsSilencedInTheHiddenModesOnly) {
    EXPECT_TRUE(Apply({"/rws", "/s"}));
    EXPECT_TRUE(Checked(Option::WebServices));
    EXPECT_TRUE(f.messages.messages.empty());

    test::FormFixture quiet;
    EXPECT_TRUE(ApplySwitches({"/rws", "/sn"}, quiet.form, quiet.state));
    EXPECT_TRUE(quiet.messages.messages.empty());
}

TEST_F(SwitchesTest, InvalidLineShowsNoWebServicesWarning) {
    EXPECT_FALSE(Apply({"/rws", "/bogus"}));
    EXPECT_TRUE(f.messages.messages.empty());
    EXPECT_FALSE(Checked(Option::WebServices));
}

}  // namespace
}  // namespace purgent
