#include <gtest/gtest.h>

#include "app_fakes.h"

namespace purgent {
namespace {

class MainFormTest : public ::testing::Test {
protected:
    void Set(Option option, bool checked) { f.form.SetChecked(option, checked); }
    bool Checked(Option option) const { return f.form.Checked(option); }
    bool Enabled(Control control) const { return f.form.Enabled(control); }

    test::FormFixture f;
};

TEST_F(MainFormTest, StartsWithTheWindowsInitialStates) {
    for (Option option : {Option::Client, Option::WritingTools, Option::Messenger, Option::DeleteFiles,
                          Option::DeleteRegistry}) {
        EXPECT_TRUE(Checked(option));
    }
    for (Option option : {Option::WebServices, Option::Networked, Option::LaunchApp}) EXPECT_FALSE(Checked(option));
    EXPECT_FALSE(Enabled(Control::Application));
    EXPECT_FALSE(Enabled(Control::SelectApp));
    EXPECT_TRUE(Enabled(Control::RunButton));
    EXPECT_TRUE(Enabled(Control::WebServices));
    EXPECT_EQ(f.form.LaunchCommand(), "");
}

TEST_F(MainFormTest, NeitherFilesNorRegistryDisablesCleaningUntilOneReturns) {
    Set(Option::DeleteFiles, false);
    EXPECT_TRUE(Enabled(Control::RunButton));
    Set(Option::DeleteRegistry, false);
    for (Control control : {Control::RunButton, Control::Client, Control::Messenger, Control::WritingTools,
                            Control::WebServices}) {
        EXPECT_FALSE(Enabled(control));
    }
    Set(Option::DeleteRegistry, true);
    for (Control control : {Control::RunButton, Control::Client, Control::Messenger, Control::WritingTools,
                            Control::WebServices}) {
        EXPECT_TRUE(Enabled(control));
    }
}

TEST_F(MainFormTest, ReturningFilesLeavesClientOptionsDisabledWhenClientIsKept) {
    Set(Option::Client, false);
    Set(Option::DeleteFiles, false);
    Set(Option::DeleteRegistry, false);
    Set(Option::DeleteFiles, true);
    EXPECT_TRUE(Enabled(Control::RunButton));
    EXPECT_TRUE(Enabled(Control::Client));
    EXPECT_FALSE(Enabled(Control::WritingTools));
    EXPECT_FALSE(Enabled(Control::WebServices));
}

TEST_F(MainFormTest, KeepingClientAndMessengerDisablesTheRemovalBoxesButKeepsThemChecked) {
    Set(Option::Client, false);
    EXPECT_FALSE(Enabled(Control::WritingTools));
    EXPECT_FALSE(Enabled(Control::WebServices));
    EXPECT_TRUE(Enabled(Control::DeleteFiles));
    Set(Option::Messenger, false);
    EXPECT_FALSE(Enabled(Control::DeleteFiles));
    EXPECT_FALSE(Enabled(Control::DeleteRegistry));
    EXPECT_TRUE(Checked(Option::DeleteFiles));
    EXPECT_TRUE(Enabled(Control::RunButton));

    Set(Option::Messenger, true);
    EXPECT_TRUE(Enabled(Control::DeleteFiles));
    EXPECT_TRUE(Enabled(Control::DeleteRegistry));
    EXPECT_FALSE(Enabled(Control::WritingTools));
    Set(Option::Client, true);
    EXPECT_TRUE(Enabled(Control::WritingTools));
    EXPECT_TRUE(Enabled(Control::WebServices));
}

TEST_F(MainFormTest, WebServicesWarnsOnEveryCheckAndTracksTheFlag) {
    const std::string warning =
        "Only select this if you are reinstalling the GroupWise 6.5 or higher Client\n\n"
        "This can affect Windows web services";
    Set(Option::WebServices, true);
    Set(Option::WebServices, true);  // no change, no handler
    EXPECT_TRUE(f.state.webServices);
    Set(Option::WebServices, false);
    EXPECT_FALSE(f.state.webServices);
    Set(Option::WebServices, true);
    EXPECT_EQ(f.messages.messages, (std::vector<std::string>{warning, warning}));
    EXPECT_TRUE(Checked(Option::WebServices));
}

TEST_F(MainFormTest, WebServicesStaysQuietWhenHidden) {
    for (SilentMode mode : {SilentMode::Silent, SilentMode::SilentNoMessage}) {
        test::FormFixture fixture;
        fixture.state.silentMode = mode;
        fixture.form.SetChecked(Option::WebServices, true);
        EXPECT_TRUE(fixture.messages.messages.empty());
        EXPECT_TRUE(fixture.state.webServices);
    }
}

TEST_F(MainFormTest, LaunchAppEnablesTheCommandAndKeepsItsText) {
    f.form.SetLaunchCommand("setup.exe /q");
    Set(Option::LaunchApp, true);
    EXPECT_TRUE(Enabled(Control::Application));
    EXPECT_TRUE(Enabled(Control::SelectApp));
    Set(Option::LaunchApp, false);
    EXPECT_FALSE(Enabled(Control::Application));
    EXPECT_FALSE(Enabled(Control::SelectApp));
    Set(Option::LaunchApp, true);
    EXPECT_EQ(f.form.LaunchCommand(), "setup.exe /q");
}

TEST_F(MainFormTest, SelectAppReplacesTheCommandWithTheQuotedPath) {
    f.form.SetLaunchCommand("old.exe -x");
    f.view.chosenFile = std::nullopt;
    f.form.SelectAppClick();
    EXPECT_EQ(f.form.LaunchCommand(), "old.exe -x");
    f.view.chosenFile = "C:\\Program Files\\New Client\\setup.exe";
    f.form.SelectAppClick();
    EXPECT_EQ(f.form.LaunchCommand(), "\"C:\\Program Files\\New Client\\setup.exe\"");
}

TEST_F(MainFormTest, ViewHearsOfChangesOnly) {
    Set(Option::Client, true);
    f.form.SetLaunchCommand("");
    EXPECT_EQ(f.view.optionsChanged, 0);
    Set(Option::Networked, true);
    f.form.SetLaunchCommand("x");
    EXPECT_EQ(f.view.optionsChanged, 2);
}

}  // namespace
}  // namespace purgent
