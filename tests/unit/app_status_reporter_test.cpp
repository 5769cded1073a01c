#include <gtest/gtest.h>

#include "run/status_reporter.h"

namespace purgent {
namespace {

class RecordingStatusView : public StatusView {
public:
    void SetPanelText(int panel, const std::string& text) override {
        events.push_back("panel" + std::to_string(panel) + " " + text);
    }
    void RepaintStatus() override { events.push_back("repaint"); }
    void SetProgress(int position, int maximum) override {
        events.push_back("progress " + std::to_string(position) + "/" + std::to_string(maximum));
    }
    std::vector<std::string> events;
};

class CountingCursor : public CursorService {
public:
    void SaveCursor() override { events.push_back("save"); }
    void ShowBusy() override { events.push_back("busy"); }
    void RestoreSaved() override { events.push_back("restore"); }
    std::vector<std::string> events;
};

class StatusReporterTest : public ::testing::Test {
protected:
    RecordingStatusView view;
    CountingCursor cursor;
    StatusReporter status{view, cursor};
};

TEST_F(StatusReporterTest, StartsReadyAtZeroOfHundred) {
    EXPECT_EQ(status.PanelText(0), "Ready");
    EXPECT_EQ(status.PanelText(1), "");
    EXPECT_EQ(status.Position(), 0);
    EXPECT_EQ(status.Maximum(), 100);
}

TEST_F(StatusReporterTest, ShowItemRepaintsAtOnceSetItemTextDoesNot) {
    status.ShowPhase("Deleting Files..");
    status.SetItemText("ODMA Files");
    status.ShowItem("C:\\x");
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"panel0 Deleting Files..", "panel1 ODMA Files", "panel1 C:\\x", "repaint"}));
}

TEST_F(StatusReporterTest, StepsStopAtTheMaximum) {
    status.SetProgressMaximum(3);
    status.StepProgress(2);
    status.StepProgress(10);
    EXPECT_EQ(status.Position(), 3);
    status.StepProgress(1);  // already full: nothing to show
    EXPECT_EQ(view.events, (std::vector<std::string>{"progress 0/3", "progress 2/3", "progress 3/3"}));
}

TEST_F(StatusReporterTest, ExtendingRaisesTheMaximumAndMakesRoom) {
    status.SetProgressMaximum(2);
    status.StepProgress(2);
    status.ExtendProgress(5);
    status.StepProgress(1);
    EXPECT_EQ(status.Maximum(), 7);
    EXPECT_EQ(status.Position(), 3);
}

TEST_F(StatusReporterTest, WrapOnlyWhenFull) {
    status.SetProgressMaximum(2);
    status.StepProgress(1);
    status.WrapProgress();
    EXPECT_EQ(status.Position(), 1);
    status.StepProgress(1);
    status.WrapProgress();
    EXPECT_EQ(status.Position(), 0);
}

TEST_F(StatusReporterTest, ZeroMaximumHoldsThePositionAtZero) {
    status.SetProgressMaximum(0);
    status.StepProgress(10);
    EXPECT_EQ(status.Position(), 0);
    status.WrapProgress();
    EXPECT_EQ(status.Position(), 0);
}

TEST_F(StatusReporterTest, CursorCallsPassThrough) {
    status.SaveCursor();
    status.BusyCursor();
    status.RestoreCursor();
    EXPECT_EQ(cursor.events, (std::vector<std::string>{"save", "busy", "restore"}));
}

}  // namespace
}  // namespace purgent
