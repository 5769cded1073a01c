// The harness itself: statuses come back, hung programs are cut off, and
// Windows paths map onto the prefix the way Windows would resolve them.
#include "wine_harness.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace purgent::e2e {
namespace {

TEST(WineHarness, RunReturnsTheProgramsExitStatus) {
    WinePrefix prefix;
    EXPECT_EQ(prefix.Run({"cmd", "/c", "exit 3"}, 60), 3) << prefix.Output();
}

TEST(WineHarness, FilesWrittenByWindowsAreFoundThroughAnyCaseOfTheirPath) {
    WinePrefix prefix;
    ASSERT_EQ(prefix.Run({"cmd", "/c", "echo probe> C:\\users\\Public\\Probe.txt"}, 60), 0)
        << prefix.Output();
    std::ifstream file(prefix.UnixPath("c:\\USERS\\public\\PROBE.TXT"));
    std::stringstream content;
    content << file.rdbuf();
    EXPECT_EQ(content.str(), "probe\r\n");
}

TEST(WineHarness, AProgramThatNeverEndsIsKilledAtItsTimeout) {
    WinePrefix prefix;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(prefix.Run({"cmd", "/c", "for /l %i in (1,0,2) do rem"}, 5), kTimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(WineHarness, ScreenshotsShowTheVirtualScreenWithARunningWindow) {
    WinePrefix prefix;
    WineProcess notepad = prefix.Start({"notepad"});
    ASSERT_TRUE(WaitForWindow("Notepad", 60)) << prefix.Output();
    ASSERT_TRUE(notepad.Running()) << prefix.Output();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let it paint
    SaveScreenshot("harness-notepad");
    notepad.Kill();
    EXPECT_FALSE(notepad.Running());
    EXPECT_GT(std::filesystem::file_size(ArtifactDir() + "/harness-notepad.png"), 1000u);
}

}  // namespace
}  // namespace purgent::e2e
