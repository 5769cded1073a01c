// The demo workstation, cleaned on the simulator: every bystander listed
// beside the image stays unchanged, and every client item that stays has its
// recorded reason; a lost bystander fails the verdict.
#include <gtest/gtest.h>

#include "demo_report.h"
#include "image/ansi_text.h"
#include "purgent_sim/run_purgent.h"

namespace purgent::demo {
namespace {

const std::string kImage = PURGENT_DEMO_IMAGE;

struct Lists {
    std::map<Item, std::string> reasons;
    std::vector<Item> bystanders = ReadItemList(kImage + "/bystanders.txt");
    Lists() { ReadItemList(kImage + "/kept-client-items.txt", &reasons); }
};

TEST(DemoWorkstation, ADefaultRunKeepsEveryBystander) {
    const image::MachineImage before = image::LoadMachineImage(kImage);
    sim::SimMachine machine(before);
    ASSERT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    const Lists lists;
    const Report report = Compare(before, machine.SaveImage(), lists.bystanders, lists.reasons);
    EXPECT_TRUE(report.lostBystanders.empty()) << ItemLine(report.lostBystanders.front());
    EXPECT_TRUE(Passed(report));
    for (Kind kind : {Kind::Key, Kind::Value, Kind::File, Kind::Folder, Kind::ComRegistration, Kind::HiveKey})
        EXPECT_TRUE(report.went.count(kind)) << "nothing of kind " << static_cast<int>(kind) << " went";
}

TEST(DemoWorkstation, ALostBystanderFailsTheVerdict) {
    image::MachineImage before = image::LoadMachineImage(kImage);
    image::MachineImage after = before;
    for (auto it = after.drive.begin(); it != after.drive.end(); ++it)
        if (image::EqualsIgnoreCase(it->path, R"(C:\Program Files\WinZip\winzip32.exe)")) {
            after.drive.erase(it);
            break;
        }
    const Lists lists;
    const Report report = Compare(before, after, lists.bystanders, lists.reasons);
    EXPECT_FALSE(Passed(report));
}

}  // namespace
}  // namespace purgent::demo
