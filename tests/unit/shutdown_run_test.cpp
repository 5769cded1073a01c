#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/purgent_app.h"
#include "purgent_sim/run_purgent.h"
#include "purgent_sim/sim_form_view.h"
#include "purgent_sim/sim_status_view.h"
#include "shutdown_sim_machine.h"

namespace purgent {
namespace {

using test::TraceOf;

// A workstation with GroupWise and Messenger running and something to delete.
std::unique_ptr<sim::SimMachine> RunningClient(const std::string& extraIni) {
    image::MachineImage image;
    image.machine = image::ParseMachineIni(
        "[process]\nimage=grpwise.exe\n[process]\nimage=nmcl32.exe\n"
        "[window]\ntitle=Novell GroupWise - Mailbox\nclass=GW\ncloses=no\nprocess=grpwise.exe\n"
        "[window]\ntitle=Messenger\nclass=NM\ncloses=no\nprocess=nmcl32.exe\n" + extraIni,
        "machine.ini");
    std::string reg = "Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\r\n\"Setup\"=\"1\"\r\n";
    image.registry = image::ParseRegText(image::Bytes(reg.begin(), reg.end()), "registry.reg");
    return std::make_unique<sim::SimMachine>(std::move(image));
}

bool Traced(sim::SimMachine& machine, const std::string& prefix) {
    for (const std::string& line : machine.Trace().Lines()) {
        if (line.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

TEST(RunStart, StopsTheTenProcessesInOrderAndGoesOn) {
    auto machine = RunningClient("");
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/sn"}), 0);
    EXPECT_EQ(TraceOf(*machine, "kill"),
              (std::vector<std::string>{"notify.exe\t603", "addrbook.exe\t603", "grpwise.exe\t0",
                                        "gwsync.exe\t603", "gwmailto.exe\t603", "gwtip.exe\t603",
                                        "gwreload.exe\t603", "nmcl32.exe\t0", "msinm.exe\t603",
                                        "outlook.exe\t603"}));
    EXPECT_EQ(TraceOf(*machine, "wait"), std::vector<std::string>{"2000"});
    EXPECT_TRUE(Traced(*machine, "reg-delete-key\t"));
}

void ExpectHalted(sim::SimMachine& machine, const std::string& reason) {
    std::vector<std::string> phases = TraceOf(machine, "phase");
    ASSERT_FALSE(phases.empty());
    EXPECT_EQ(phases.back(), "Purgent Halted");
    EXPECT_EQ(TraceOf(machine, "item").back(), reason);
    for (const char* change : {"reg-", "file-", "dir-", "launch\t", "message\t"}) {
        EXPECT_FALSE(Traced(machine, change)) << change;
    }
}

TEST(RunStart, HaltsWhenGroupWiseWindowsStay) {
    // Two windows of a program that is not on the list.
    auto machine = RunningClient("[window]\ntitle=GroupWise\ncloses=no\n"
                                 "[window]\ntitle=Address Book\ncloses=no\n");
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/sn", "/la-setup.exe"}), 1);
    ExpectHalted(*machine, "Some GroupWise or Outlook processes cannot be stopped");
    EXPECT_EQ(TraceOf(*machine, "wait").size(), 5u);
}

TEST(RunStart, HaltsWhenAMessengerWindowStays) {
    auto machine = RunningClient("[process]\nimage=chat.exe\n"
                                 "[window]\ntitle=Messenger\ncloses=no\nprocess=chat.exe\n");
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/sn"}), 1);
    ExpectHalted(*machine, "Some Messenger processes cannot be stopped");
    EXPECT_EQ(TraceOf(*machine, "close-window"), std::vector<std::string>{"Messenger"});
}

TEST(RunStart, HaltedWindowStaysWithTheHaltTexts) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/sp"}, std::vector<std::string>{}}) {
        auto machine = RunningClient("[window]\ntitle=Messenger\ncloses=no\n");
        // The simulator closes whatever window is left once the run returns.
        sim::RunPurgentOnSim(*machine, args);
        ExpectHalted(*machine, "Some Messenger processes cannot be stopped");
    }
}

TEST(RunStart, LeavesMessengerWindowsAloneWhenMessengerIsKept) {
    auto machine = RunningClient("[window]\ntitle=Messenger\ncloses=no\n");
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/sn", "/km"}), 0);
    EXPECT_TRUE(TraceOf(*machine, "close-window").empty());
    EXPECT_EQ(TraceOf(*machine, "kill")[7], "nmcl32.exe\t0");
}

// Fast user switching: each user's Messenger, its window refusing to close.
// Ending one of them would leave the other's window, and halt the run.
TEST(RunStart, EndsEveryUsersCopyOfAProgramAndGoesOn) {
    auto machine = RunningClient("[process]\nimage=nmcl32.exe\n"
                                 "[window]\ntitle=Messenger\nclass=NM\ncloses=no\nprocess=nmcl32.exe\n");
    EXPECT_EQ(sim::RunPurgentOnSim(*machine, {"/sn"}), 0);
    const std::vector<std::string> kills = TraceOf(*machine, "kill");
    EXPECT_EQ(std::count(kills.begin(), kills.end(), "nmcl32.exe\t0"), 2);
    EXPECT_TRUE(machine->SaveImage().machine.processes.empty());
    EXPECT_TRUE(Traced(*machine, "reg-delete-key\t"));
}

TEST(RunStart, ASecondCleanInTheSameProcessGetsOnlyTheReSurveysLeft) {
    auto machine = RunningClient("[window]\ntitle=GroupWise\ncloses=no\n"
                                 "[window]\ntitle=Address Book\ncloses=no\n");
    sim::SimStatusView statusView(machine->Trace());
    sim::SimFormView formView;
    PurgentApp app(machine->GetPlatform(), statusView, formView);
    app.FormCreate();
    app.RunButtonClick();
    EXPECT_EQ(TraceOf(*machine, "wait").size(), 5u);
    app.RunButtonClick();
    EXPECT_EQ(TraceOf(*machine, "wait").size(), 6u);
    ExpectHalted(*machine, "Some GroupWise or Outlook processes cannot be stopped");
}

}  // namespace
}  // namespace purgent
