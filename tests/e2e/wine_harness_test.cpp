// The harness itself: statuses come back, hung programs are cut off, Windows
// paths map onto the prefix the way Windows would resolve them, and what a
// program writes stays in its prefix.
#include "wine_harness.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;

// The whole virtual screen blank is a PNG of about 250 bytes.
constexpr std::uintmax_t kBlankScreenBytes = 1000;

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

// Wine links a new prefix's user folders to the home folder of whoever made
// it; a test's shortcuts would land there, beside other tests' and the
// machine's own files.
const char* const kUserFolders[] = {
    "Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos",
    "AppData\\Roaming\\Microsoft\\Windows\\Templates",
};

TEST(WineHarness, WhatAProgramWritesToTheUsersFoldersStaysInThePrefix) {
    WinePrefix prefix;
    const fs::path inside = fs::canonical(prefix.Dir());
    for (const std::string folder : kUserFolders) {
        const std::string probe = "C:\\users\\root\\" + folder + "\\Probe.txt";
        ASSERT_EQ(prefix.Run({"cmd", "/c", "echo probe> " + probe}, 60), 0) << probe << "\n" << prefix.Output();
        const fs::path written = fs::canonical(prefix.UnixPath(probe));
        EXPECT_EQ(written.string().rfind(inside.string() + "/", 0), 0u)
            << probe << " is " << written << ", outside the prefix: run scripts/setup.sh";
        fs::remove(written);  // not left behind in a home folder
    }
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
    // Shown is not yet painted: a busy machine may take seconds to paint it.
    const std::string picture = ArtifactDir() + "/harness-notepad.png";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        SaveScreenshot("harness-notepad");
    } while (fs::file_size(picture) <= kBlankScreenBytes && std::chrono::steady_clock::now() < deadline);
    notepad.Kill();
    EXPECT_FALSE(notepad.Running());
    EXPECT_GT(fs::file_size(picture), kBlankScreenBytes);
}

// Wine links a profile's Desktop, Music... to the host's home when the home
// has such folders: in a throwaway prefix each is an empty folder of its own,
// and what a program writes there stays in the prefix.
TEST(WineHarness, AProfileFolderLinkedIntoTheHostsHomeBecomesAFolderOfThePrefix) {
    namespace fs = std::filesystem;
    const fs::path cache = fs::temp_directory_path() / ("purgent-home-cache-" + std::to_string(::getpid()));
    const fs::path home = cache / "home-music";
    fs::remove_all(cache);
    fs::create_directories(home);
    std::ofstream(home / "song.txt") << "the host's";
    const char* real = std::getenv("PURGENT_CACHE");
    const std::string source = std::string(real && *real ? real : PURGENT_DEFAULT_CACHE) + "/wineprefix";
    // Hard links: the copy's folders are its own, its files the template's, untouched here.
    ASSERT_EQ(std::system(("cp -al '" + source + "' '" + (cache / "wineprefix").string() + "'").c_str()), 0);
    fs::path music;
    for (const auto& user : fs::directory_iterator(cache / "wineprefix" / "drive_c" / "users"))
        if (user.path().filename() != "Public") music = user.path() / "Music";
    ASSERT_FALSE(music.empty());
    fs::remove_all(music);
    fs::create_directory_symlink(home, music);

    ::setenv("PURGENT_CACHE", cache.c_str(), 1);
    WinePrefix prefix;
    if (real) ::setenv("PURGENT_CACHE", real, 1);
    else ::unsetenv("PURGENT_CACHE");
    const fs::path copied = fs::path(prefix.Dir()) / music.lexically_relative(cache / "wineprefix");
    EXPECT_FALSE(fs::is_symlink(copied));
    EXPECT_TRUE(fs::is_directory(copied) && fs::is_empty(copied));
    const std::string probe = "C:\\users\\" + music.parent_path().filename().string() + "\\Music\\probe.txt";
    EXPECT_EQ(prefix.Run({"cmd", "/c", "echo probe> " + probe}, 60), 0) << prefix.Output();
    EXPECT_TRUE(fs::exists(copied / "probe.txt"));
    EXPECT_FALSE(fs::exists(home / "probe.txt"));
    fs::remove_all(cache);
}

}  // namespace
}  // namespace purgent::e2e
