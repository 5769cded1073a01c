// The real purgent.exe's run log: a log it cannot create ends the program
// with the error box (in the modes with a window) and status 2 before
// anything is cleaned.
#include <gtest/gtest.h>

#include <fstream>

#include "ui_support.h"

namespace purgent::e2e {
namespace {

constexpr const char* kMarker = "C:\\marker.txt";
// A shortcut a default run deletes.
constexpr const char* kClientShortcut = "C:\\users\\Public\\Desktop\\GroupWise 5.lnk";

TEST(RunLogE2e, ALogThatCannotBeCreatedShowsTheErrorBoxAndEndsWithTwoBeforeCleaning) {
    PurgentDesk desk;
    std::ofstream(desk.UnixPath(kClientShortcut), std::ios::binary) << "shortcut";
    ASSERT_TRUE(desk.FileExists(kClientShortcut));
    const std::string log = "C:\\no such folder\\purgent.log";
    WineProcess purgent = desk.StartPurgent({"/sp", "/log=" + log, PurgentDesk::LaunchMarker(kMarker, 0)});
    EXPECT_EQ(desk.Ui({"box", "Cannot create the log file '" + log + "'.", "120"}), kUiOk) << desk.Output();
    EXPECT_EQ(purgent.Wait(60), 2) << desk.Output();
    EXPECT_TRUE(desk.FileExists(kClientShortcut));
    EXPECT_FALSE(desk.FileExists(kMarker));
}

}  // namespace
}  // namespace purgent::e2e
