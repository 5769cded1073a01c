// The unattended modes of the real purgent.exe: the launched program is waited
// for, the closing box comes after it, and no main window shows where none may.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui_support.h"

namespace purgent::e2e {
namespace {

constexpr const char* kMarker = "C:\\marker.txt";

TEST(UiUnattended, SilentNoMessageWaitsForTheLaunchedProgramThenExitsZero) {
    PurgentDesk desk;
    WineProcess purgent = desk.StartPurgent({"/sn", PurgentDesk::LaunchMarker(kMarker, 2000)});
    EXPECT_EQ(purgent.Wait(kPurgentTimeoutSeconds), 0) << desk.Output();
    // marker.exe writes its file only after its sleep: purgent waited for it.
    EXPECT_TRUE(desk.FileExists(kMarker));
    EXPECT_EQ(desk.Ui({"no-box", "1"}), kUiOk);
}

TEST(UiUnattended, AnInvalidCommandLineShowsItsBoxWithoutTheWindowThenExitsThree) {
    PurgentDesk desk;
    WineProcess purgent = desk.StartPurgent({"/s", "/S"});
    ASSERT_EQ(desk.Ui({"wait-box", "60"}), kUiOk) << desk.Output();
    EXPECT_EQ(desk.Ui({"main-visible"}), kUiWrong);
    EXPECT_EQ(desk.Ui({"box", "Invalid Purgent Commandline"}), kUiOk);
    EXPECT_EQ(purgent.Wait(60), 3) << desk.Output();
    EXPECT_FALSE(desk.FileExists(kMarker));
}

TEST(UiUnattended, SilentShowsCompletedOnlyAfterTheLaunchedProgramHasEnded) {
    PurgentDesk desk;
    WineProcess purgent = desk.StartPurgent({"/s", PurgentDesk::LaunchMarker(kMarker, 3000)});
    ASSERT_EQ(desk.Ui({"wait-process", "marker.exe", "120"}), kUiOk) << desk.Output();
    EXPECT_EQ(desk.Ui({"main-visible"}), kUiWrong);
    EXPECT_EQ(desk.Ui({"box-after-file", kMarker, "Purgent - Completed", "120"}), kUiOk);
    EXPECT_EQ(purgent.Wait(60), 0) << desk.Output();
}

using UiUnattendedOnEachBuild = ::testing::TestWithParam<E2eTarget>;

TEST_P(UiUnattendedOnEachBuild, ProgressOnlyShowsTheShrunkWindowUntilTheLaunchedProgramEnds) {
    PurgentDesk desk(GetParam());
    WineProcess purgent = desk.StartPurgent({"/sp", PurgentDesk::LaunchMarker(kMarker, kWhileCheckedMs)});
    ASSERT_EQ(desk.Ui({"wait-process", "marker.exe", "120"}), kUiOk) << desk.Output();
    EXPECT_EQ(desk.Ui({"main-visible"}), kUiOk);
    SaveScreenshot(std::string("ui-progress-only-") + GetParam().name);
    EXPECT_EQ(purgent.Wait(60), 0) << desk.Output();
    EXPECT_TRUE(desk.FileExists(kMarker));
    EXPECT_EQ(desk.Ui({"no-box", "1"}), kUiOk);
}

// argsfile.exe as C:\<folder>\args.exe beside a go.bat that passes its
// arguments on; purgent.exe run with the launch switch: what args.exe wrote.
std::string ArgumentsGiven(const std::string& folder, const std::string& launch,
                           const E2eTarget& target = kWin64Target) {
    PurgentDesk desk(target);
    const std::string host = desk.UnixPath("C:\\") + "/" + folder;
    std::filesystem::create_directories(host);
    std::filesystem::copy_file(desk.Exe("argsfile.exe"), host + "/args.exe");
    std::ofstream(host + "/go.bat", std::ios::binary) << "@\"C:\\" << folder << "\\args.exe\" %*\r\n";
    WineProcess purgent = desk.StartPurgent({"/sn", "/kf", "/kr", launch});
    EXPECT_EQ(purgent.Wait(kPurgentTimeoutSeconds), 0) << desk.Output();
    std::ostringstream given;
    given << std::ifstream(desk.UnixPath("C:\\args.txt"), std::ios::binary).rdbuf();
    return given.str();
}

// Named without its extension the program has no short path, so the blank of
// its folder stays; the batch file runs through the interpreter.
TEST_P(UiUnattendedOnEachBuild, AProgramInAFolderWithABlankGetsExactlyItsArguments) {
    for (const char* program : {"args", "go"}) {
        const std::string launch = std::string("/la-\"C:\\My Tools\\") + program + "\" C:\\args.txt \"x y\" z";
        EXPECT_EQ(ArgumentsGiven("My Tools", launch, GetParam()), "C:\\args.txt\nx y\nz\n") << program;
    }
}

PURGENT_E2E_ON_WIN64_AND_WIN32(UiUnattendedOnEachBuild);
// Unquoted, the interpreter would cut the path at "&" and "^".
TEST(UiUnattended, ABatchFileRunsWhateverItsPathHolds) {
    for (const std::string folder : {"R&D", "a^b"})
        EXPECT_EQ(ArgumentsGiven(folder, "/la-C:\\" + folder + "\\go.bat C:\\args.txt z"), "C:\\args.txt\nz\n")
            << folder;
}

}  // namespace
}  // namespace purgent::e2e
