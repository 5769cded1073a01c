#include <gtest/gtest.h>

#include <sstream>

#include "purgent_sim/sim_status_view.h"
#include "platform/record/event_recorder.h"

namespace purgent::sim {
namespace {

TEST(EventRecorder, FieldsAreTabSeparatedAndOnlyLineBreaksAreEscaped) {
    std::ostringstream out;
    EventRecorder trace;
    trace.AttachOutput(&out);
    trace.Event("message", {"Purgent could not remove Excel ODMA Integrations\n\nRerun Purgent"});
    trace.Event("reg-set-value", {"HKEY_CURRENT_USER\\Software\\new", "", "a\tb \\n\r"});
    trace.Event("exit", {"0"});

    const std::vector<std::string> expected{
        "message\tPurgent could not remove Excel ODMA Integrations\\n\\nRerun Purgent",
        "reg-set-value\tHKEY_CURRENT_USER\\Software\\new\t\ta\tb \\n\r",
        "exit\t0"};
    EXPECT_EQ(trace.Lines(), expected);
    EXPECT_EQ(out.str(), expected[0] + "\n" + expected[1] + "\n" + expected[2] + "\n");
    EXPECT_EQ(trace.Events("reg-set-value"),
              std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\new\t\ta\tb \\n\r"});
    EXPECT_TRUE(trace.Events("exi").empty());
}

TEST(EventRecorder, KeepsLinesWithoutAnOutput) {
    EventRecorder trace;
    trace.Event("wait", {"2000"});
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"wait\t2000"});
}

TEST(SimStatusView, PanelsAndProgressBecomeEvents) {
    EventRecorder trace;
    SimStatusView view(trace);
    view.SetPanelText(0, "Deleting Files..");
    view.SetPanelText(1, "");
    view.RepaintStatus();
    view.SetProgress(3, 1980);
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"phase\tDeleting Files..", "item\t", "progress\t3\t1980"}));
}

}  // namespace
}  // namespace purgent::sim
