// The shipped 32-bit purgent.exe on a 32-bit Windows (emulated 32-bit Wine)
// cleans the demo workstation exactly as the win64 build does under wine64:
// the same items go, and no bystander goes with them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "demo_report.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

const std::string kDemo = PURGENT_DEMO_IMAGE;

std::vector<std::string> Lines(const std::vector<demo::Item>& items) {
    std::vector<std::string> lines;
    for (const demo::Item& item : items) lines.push_back(demo::ItemLine(item));
    return lines;
}

TEST(Win32Demo, TheShippedProgramRemovesWhatTheWin64BuildRemovesAndNoBystander) {
    const std::string work = ArtifactDir() + "/win32-demo";
    std::filesystem::remove_all(work);
    const image::MachineImage seeded = image::LoadMachineImage(kDemo);
    const std::vector<demo::Item> bystanders = demo::ReadItemList(kDemo + "/bystanders.txt");
    std::map<demo::Item, std::string> reasons;
    demo::ReadItemList(kDemo + "/kept-client-items.txt", &reasons);
    const auto reportOn = [&](const E2eTarget& target) {
        const image::MachineImage after = CleanOnWine(kDemo, {"/sn"}, work + "/" + target.name, target);
        return demo::Compare(seeded, after, bystanders, reasons);
    };
    const demo::Report win64 = reportOn(kWin64Target);
    const demo::Report win32 = reportOn(kWin32Target);
    EXPECT_FALSE(win64.wentItems.empty());
    EXPECT_EQ(Lines(win32.wentItems), Lines(win64.wentItems));
    EXPECT_EQ(Lines(win32.lostBystanders), std::vector<std::string>{});
}

}  // namespace
}  // namespace purgent::e2e
