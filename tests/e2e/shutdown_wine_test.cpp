// The process shutdown of the real purgent.exe: stand-in programs with one
// window each (fakeproc.exe, copied under the client's image names) are ended,
// or, when a window stays, the run halts with nothing deleted.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "wine_harness.h"

namespace purgent::e2e {
namespace {

constexpr int kTimeoutSeconds = 300;
constexpr int kClosedByRequest = 10;  // fakeproc's status when its window closed
// A key of the current user's that the client's registry cleaning deletes.
const char* const kWitnessKey =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs\\GroupWise";

class ShutdownDesk {
public:
    explicit ShutdownDesk(const E2eTarget& target = kWin64Target) : target_(target), prefix_(target.arch) {
        std::filesystem::create_directories(prefix_.UnixPath("C:\\") + "/fake");
    }

    // fakeproc.exe copied as C:\fake\<image>, showing a window titled title.
    WineProcess StartFake(const std::string& image, const std::string& title, bool refuseClose) {
        return StartFakeOf(target_.build, image, title, refuseClose);
    }
    // One more process of a C:\fake\<image> started before, its window refusing to close.
    WineProcess StartAnother(const std::string& image, const std::string& title) {
        WineProcess fake = prefix_.Start({"C:\\fake\\" + image, title, "refuse-close"});
        EXPECT_TRUE(WaitForWindow(title, 120)) << title << "\n" << prefix_.Output();
        return fake;
    }
    // The same with the fakeproc.exe of the given build (64-bit beside 32-bit).
    WineProcess StartFakeOf(Build build, const std::string& image, const std::string& title, bool refuseClose) {
        std::filesystem::copy_file(BuiltExe(build, "fakeproc.exe"), prefix_.UnixPath("C:\\fake") + "/" + image,
                                   std::filesystem::copy_options::overwrite_existing);
        std::vector<std::string> command{"C:\\fake\\" + image, title};
        if (refuseClose) command.push_back("refuse-close");
        WineProcess fake = prefix_.Start(command);
        EXPECT_TRUE(WaitForWindow(title, 120)) << title << "\n" << prefix_.Output();
        return fake;
    }

    std::string HostPath(const std::string& windowsPath) const { return prefix_.UnixPath(windowsPath); }

    int Run(const std::string& program, const std::vector<std::string>& args) {
        return Start(program, args).Wait(kTimeoutSeconds);
    }
    WineProcess Start(const std::string& program, const std::vector<std::string>& args) {
        std::vector<std::string> command{target_.Exe(program)};
        command.insert(command.end(), args.begin(), args.end());
        return prefix_.Start(command);
    }

    // The value the probe printed last for key ("key=value").
    std::string Probed(const std::string& key) {
        std::string output = prefix_.Output();
        std::string::size_type at = output.rfind(key + "=");
        if (at == std::string::npos) return "";
        at += key.size() + 1;
        return output.substr(at, output.find_first_of("\r\n", at) - at);
    }

    void AddWitnessKey() {
        ASSERT_EQ(prefix_.Run({"reg", "add", kWitnessKey, "/f"}, 120), 0) << prefix_.Output();
    }
    bool WitnessKeyExists() { return prefix_.Run({"reg", "query", kWitnessKey}, 120) == 0; }

    std::string Output() const { return prefix_.Output(); }

private:
    E2eTarget target_;
    WinePrefix prefix_;
};

using ShutdownOnEachBuild = ::testing::TestWithParam<E2eTarget>;

TEST_P(ShutdownOnEachBuild, SilentRunEndsTheClientProgramsAndGoesOn) {
    ShutdownDesk desk(GetParam());
    desk.AddWitnessKey();
    WineProcess client = desk.StartFake("grpwise.exe", "Novell GroupWise - Mailbox", true);
    WineProcess messenger = desk.StartFake("nmcl32.exe", "Novell Messenger", true);
    EXPECT_EQ(desk.Run("purgent.exe", {"/sn"}), 0) << desk.Output();
    // Terminated with status 0; their windows refused every close request.
    EXPECT_EQ(client.Wait(30), 0);
    EXPECT_EQ(messenger.Wait(30), 0);
    EXPECT_FALSE(desk.WitnessKeyExists());
}

PURGENT_E2E_ON_WIN64_AND_WIN32(ShutdownOnEachBuild);

// The 32-bit program cannot read a 64-bit process's modules: the image path
// names it.
TEST(Wow64Shutdown, A64BitProcessNamedLikeTheClientIsEnded) {
    ShutdownDesk desk(kWow64Target);
    WineProcess client = desk.StartFakeOf(Build::Win64, "grpwise.exe", "Novell GroupWise - Mailbox", true);
    EXPECT_EQ(desk.Run("purgent.exe", {"/sn", "/kr", "/kf"}), 0) << desk.Output();
    EXPECT_EQ(client.Wait(30), 0) << desk.Output();
}

TEST(ShutdownWine, AMessengerWindowThatStaysHaltsTheRunWithNothingDeleted) {
    ShutdownDesk desk;
    desk.AddWitnessKey();
    WineProcess chat = desk.StartFake("chat.exe", "Messenger", true);
    EXPECT_EQ(desk.Run("purgent.exe", {"/sn"}), 1) << desk.Output();
    EXPECT_TRUE(chat.Running());
    EXPECT_TRUE(desk.WitnessKeyExists());
}

// The shrunk window stays with the halt's texts; closed, it ends the process
// with the halt's status, so a deployment waiting on /sp sees the failure.
TEST(ShutdownWine, AHaltedProgressOnlyRunEndsWithStatusOneWhenItsWindowCloses) {
    ShutdownDesk desk;
    WineProcess chat = desk.StartFake("chat.exe", "Messenger", true);
    WineProcess purgent = desk.Start("purgent.exe", {"/sp"});
    EXPECT_EQ(desk.Run("uihelper.exe", {"wait-status", "0", "Purgent Halted", "120"}), 0) << desk.Output();
    EXPECT_EQ(desk.Run("uihelper.exe", {"close-main", "30"}), 0) << desk.Output();
    EXPECT_EQ(purgent.Wait(kTimeoutSeconds), 1) << desk.Output();
}

// Two users' Outlook on one terminal server: the run ends both, or the
// second keeps the client's files in use.
TEST(ShutdownWine, EveryProcessOfANameIsEndedAndTheLogHasOneKillLineEach) {
    ShutdownDesk desk;
    WineProcess first = desk.StartFake("outlook.exe", "Outlook of ann", true);
    WineProcess second = desk.StartAnother("outlook.exe", "Outlook of bob");
    EXPECT_EQ(desk.Run("purgent.exe", {"/sn", "/kf", "/kr", "/log=C:\\purgent.log"}), 0) << desk.Output();
    EXPECT_EQ(first.Wait(30), 0);
    EXPECT_EQ(second.Wait(30), 0);
    std::ifstream log(desk.HostPath("C:\\purgent.log"));
    std::vector<std::string> kills;
    for (std::string line; std::getline(log, line);)
        if (line.rfind("kill\toutlook.exe", 0) == 0) kills.push_back(line);
    EXPECT_EQ(kills, (std::vector<std::string>{"kill\toutlook.exe\t0", "kill\toutlook.exe\t0"}));
}

TEST(ShutdownWine, KillsEveryProcessOfTheNameWhateverItsCase) {
    ShutdownDesk desk;
    WineProcess first = desk.StartFake("GrpWise.EXE", "GroupWise one", true);
    WineProcess second = desk.StartAnother("GrpWise.EXE", "GroupWise two");
    EXPECT_EQ(desk.Run("fakeproc_probe.exe", {"kill", "grpwise.exe"}), 0);
    EXPECT_EQ(desk.Probed("kill-result"), "0,0") << desk.Output();
    EXPECT_EQ(first.Wait(30), 0);
    EXPECT_EQ(second.Wait(30), 0);
    EXPECT_EQ(desk.Run("fakeproc_probe.exe", {"kill", "grpwise.exe"}), 0);
    EXPECT_EQ(desk.Probed("kill-result"), "603") << desk.Output();
    EXPECT_EQ(desk.Run("fakeproc_probe.exe", {"kill", std::string(261, 'a')}), 0);
    EXPECT_EQ(desk.Probed("kill-result"), "632") << desk.Output();
}

TEST(ShutdownWine, NovellAppWindowsAreAskedToClose) {
    ShutdownDesk desk;
    WineProcess launcher = desk.StartFake("nal.exe", "Novell Application Launcher", false);
    WineProcess stubborn = desk.StartFake("nalstay.exe", "Novell App Stays", true);
    WineProcess other = desk.StartFake("other.exe", "novell app lower case", false);
    EXPECT_EQ(desk.Run("fakeproc_probe.exe", {"close-novell-app"}), 0);
    EXPECT_EQ(desk.Probed("survey-counter"), "2") << desk.Output();
    EXPECT_EQ(launcher.Wait(30), kClosedByRequest);
    EXPECT_TRUE(stubborn.Running());
    EXPECT_TRUE(other.Running());
}

}  // namespace
}  // namespace purgent::e2e
