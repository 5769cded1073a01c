// The interactive window of the real purgent.exe: Clean runs to "Done" and the
// window stays; the command-line switches show in the check boxes.
#include <gtest/gtest.h>

#include "ui_support.h"

namespace purgent::e2e {
namespace {

TEST(UiInteractive, CleanRunsToDoneAndTheWindowStaysOpenUntilClosed) {
    PurgentDesk desk;
    WineProcess purgent = desk.StartPurgent({});
    ASSERT_EQ(desk.Ui({"wait-main-visible", "60"}), kUiOk) << desk.Output();
    EXPECT_EQ(desk.Ui({"wait-status", "0", "Ready", "30"}), kUiOk);
    SaveScreenshot("ui-interactive");

    ASSERT_EQ(desk.Ui({"click-clean"}), kUiOk);
    EXPECT_EQ(desk.Ui({"wait-status", "0", "Done", "180"}), kUiOk) << desk.Output();
    EXPECT_EQ(desk.Ui({"wait-status", "1", "", "10"}), kUiOk);
    EXPECT_EQ(desk.Ui({"main-visible"}), kUiOk);
    EXPECT_TRUE(purgent.Running());

    ASSERT_EQ(desk.Ui({"close-main"}), kUiOk);
    EXPECT_EQ(purgent.Wait(60), 0) << desk.Output();
}

TEST(UiInteractive, SwitchesShowInTheBoxesTheirStatesAndEnabling) {
    PurgentDesk desk;
    WineProcess purgent =
        desk.StartPurgent({"/kc", "/km", PurgentDesk::LaunchMarker("C:\\marker.txt", 0)});
    ASSERT_EQ(desk.Ui({"wait-main-visible", "60"}), kUiOk) << desk.Output();
    EXPECT_EQ(desk.Ui({"check-control", "Remove GroupWise Client", "0", "1"}), kUiOk);
    EXPECT_EQ(desk.Ui({"check-control", "Remove Writing Tools", "1", "0"}), kUiOk);
    EXPECT_EQ(desk.Ui({"check-control", "Remove Web Services Components", "0", "0"}), kUiOk);
    EXPECT_EQ(desk.Ui({"check-control", "Remove Messenger", "0", "1"}), kUiOk);
    EXPECT_EQ(desk.Ui({"check-control", "Remove Files", "1", "0"}), kUiOk);
    EXPECT_EQ(desk.Ui({"check-control", "Remove Registry Entries", "1", "0"}), kUiOk);
    EXPECT_EQ(desk.Ui({"check-control", "Launch Application", "1", "1"}), kUiOk);
    SaveScreenshot("ui-keep-client-messenger-launch");

    ASSERT_EQ(desk.Ui({"close-main"}), kUiOk);
    EXPECT_EQ(purgent.Wait(60), 0) << desk.Output();
}

// The tool-window frame of Interactive gets no taskbar button, and an owned
// window of any frame gets none either: the entry is the owner's.
TEST(UiInteractive, WhileTheWindowShowsTheProcessHasATaskbarEntryPurgent) {
    const struct {
        const char* mode;
        std::vector<std::string> args;
    } cases[] = {{"interactive", {}},
                 {"progress only",
                  {"/sp", "/kf", "/kr", PurgentDesk::LaunchMarker("C:\\marker.txt", kWhileCheckedMs)}}};
    for (const auto& c : cases) {
        PurgentDesk desk;
        WineProcess purgent = desk.StartPurgent(c.args);
        ASSERT_EQ(desk.Ui({"wait-main-visible", "60"}), kUiOk) << desk.Output();
        EXPECT_EQ(desk.Ui({"taskbar-entry"}), kUiOk) << c.mode;
        if (c.args.empty()) {
            EXPECT_EQ(desk.Ui({"close-main"}), kUiOk);
        }
        EXPECT_EQ(purgent.Wait(60), 0) << desk.Output();
    }
}

}  // namespace
}  // namespace purgent::e2e
