// The real purgent.exe killed at chosen points of a run on the workstation
// with the client on D:, then run again: the machine read back is the one an
// uninterrupted run leaves. And a second purgent.exe started while the first
// waits for its follow-up program changes nothing and ends with status 4.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "image/ansi_text.h"
#include "image_runs.h"
#include "ui_support.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeoutSeconds = 300;
const std::string kImage = std::string(PURGENT_TEST_DATA) + "/moved-client";

std::vector<std::string> LinesOf(const std::string& hostFile) {
    std::ifstream in(hostFile, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return image::SplitLines(text.str());
}

bool HasLineBeginning(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

// A Wine machine seeded with the image, drive D: included.
class SeededMachine {
public:
    SeededMachine() {
        fs::create_directories(prefix_.Dir() + "/drive_d");
        fs::create_directory_symlink("../drive_d", prefix_.Dir() + "/dosdevices/d:");
        EXPECT_EQ(prefix_.Run({Win64Exe("seed.exe"), WindowsPath(kImage)}, kTimeoutSeconds), 0) << prefix_.Output();
    }

    WineProcess Start(const std::string& log) {
        return prefix_.Start({Win64Exe("purgent.exe"), "/sn", "/log=" + WindowsPath(log)});
    }
    image::MachineImage ReadBack(const std::string& outDir) {
        EXPECT_EQ(prefix_.Run({Win64Exe("snapshot.exe"), WindowsPath(kImage), WindowsPath(outDir)}, kTimeoutSeconds), 0)
            << prefix_.Output();
        return image::LoadMachineImage(outDir);
    }
    WinePrefix& Prefix() { return prefix_; }

private:
    WinePrefix prefix_;
};

// The machine after one uninterrupted default run, read back once.
const image::MachineImage& Uninterrupted(const std::string& work) {
    static const image::MachineImage machine = [&] {
        SeededMachine seeded;
        EXPECT_EQ(seeded.Start(work + "/uninterrupted.log").Wait(kTimeoutSeconds), 0) << seeded.Prefix().Output();
        return seeded.ReadBack(work + "/uninterrupted");
    }();
    return machine;
}

// Kills the run as soon as its log shows a line beginning with start; false
// when the run ended or the time ran out first.
bool KillWhenLogShows(WineProcess& run, const std::string& hostLog, const std::string& start) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kTimeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline && run.Running()) {
        if (HasLineBeginning(LinesOf(hostLog), start)) {
            run.KillProgram();
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

std::string Folded(std::string text) {
    for (char& c : text) c = image::FoldCase(c);
    return text;
}

// Everything read back, one line each, names in any case.
std::set<std::string> Lines(const image::MachineImage& machine) {
    std::set<std::string> lines;
    for (const image::RegistryKey& key : image::NetRegistry(machine.registry)) {
        lines.insert(Folded(key.path));
        for (const image::RegistryValue& value : key.values)
            lines.insert(Folded(key.path + "\t" + value.name) + "\t" +
                         std::string(value.data.begin(), value.data.end()));
    }
    for (const image::DriveItem& item : machine.drive)
        lines.insert(Folded(item.path) + "\t" + std::string(item.contents.begin(), item.contents.end()));
    for (const image::FileAttributes& attributes : machine.machine.attributes)
        lines.insert(Folded(attributes.path) + "\t" + std::to_string(attributes.attributes));
    return lines;
}

struct KillPoint {
    const char* what;
    std::string logLine;  // the run is killed once its log shows a line beginning so
};

const KillPoint kKillPoints[] = {
    {"after the first user hive is loaded", "hive-load\t"},
    {"between the registry phase and the file phases", "phase\tDeregistering  DLLs.."},
    {"inside the program folder's purge", "file-delete\tD:\\Apps\\GroupWise\\"},
};

class ResumeE2e : public ::testing::TestWithParam<KillPoint> {};

TEST_P(ResumeE2e, KilledThereTheNextRunLeavesWhatOneRunLeaves) {
    const std::string work = ArtifactDir() + "/resume";
    fs::create_directories(work);
    const image::MachineImage& expected = Uninterrupted(work);
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string run = work + "/" + name.substr(name.rfind('/') + 1);

    SeededMachine seeded;
    // Keeps the Wine machine running between the two runs, as Windows keeps
    // a hive the killed run left loaded until it is unloaded.
    WineProcess keepAlive = seeded.Prefix().Start({Win64Exe("marker.exe"), "C:\\keepalive.txt", "600000"});
    WineProcess first = seeded.Start(run + ".first.log");
    ASSERT_TRUE(KillWhenLogShows(first, run + ".first.log", GetParam().logLine))
        << "the run ended before its log showed " << GetParam().logLine << "\n"
        << seeded.Prefix().Output();
    EXPECT_FALSE(HasLineBeginning(LinesOf(run + ".first.log"), "exit\t"));

    EXPECT_EQ(seeded.Start(run + ".second.log").Wait(kTimeoutSeconds), 0) << seeded.Prefix().Output();
    EXPECT_TRUE(HasLineBeginning(LinesOf(run + ".second.log"), "# resumed\tafter an interrupted run"));
    const std::set<std::string> after = Lines(seeded.ReadBack(run));
    const std::set<std::string> once = Lines(expected);
    std::vector<std::string> differences;
    std::set_symmetric_difference(after.begin(), after.end(), once.begin(), once.end(),
                                  std::back_inserter(differences));
    EXPECT_TRUE(differences.empty()) << (once.count(differences.front()) ? "missing: " : "left: ")
                                     << differences.front() << " and " << differences.size() - 1 << " more";
}

INSTANTIATE_TEST_SUITE_P(KillPoints, ResumeE2e, ::testing::ValuesIn(kKillPoints),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// ------------------------------------------------------------ two at once

constexpr const char* kShortcut = "C:\\users\\Public\\Desktop\\GroupWise 5.lnk";

TEST(AnotherRunE2e, ASecondRunWhileTheFirstWaitsChangesNothingAndEndsWithFour) {
    PurgentDesk desk;
    WineProcess first = desk.StartPurgent(
        {"/sn", "/log=C:\\first.log", PurgentDesk::LaunchMarker("C:\\first-done.txt", kWhileCheckedMs)});
    // The first run has cleaned and now waits for its follow-up program.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kTimeoutSeconds);
    while (!HasLineBeginning(LinesOf(desk.UnixPath("C:\\first.log")), "phase\tDone") &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_FALSE(desk.FileExists("C:\\first-done.txt")) << "the follow-up program ended too soon";
    std::ofstream(desk.UnixPath(kShortcut), std::ios::binary) << "shortcut";

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"/sn", "/log=C:\\second.log"},
             {"/s", "/log=C:\\second.log"},   // no box: a box would keep it waiting
             {"/sn", "/log=C:\\first.log"}})  // the first run's own log: still 4
    {
        SCOPED_TRACE(args[0] + " " + args[1]);
        EXPECT_EQ(desk.StartPurgent(args).Wait(120), 4) << desk.Output();
        EXPECT_TRUE(desk.FileExists(kShortcut)) << "the second run deleted a client shortcut";
    }
    const std::vector<std::string> second = LinesOf(desk.UnixPath("C:\\second.log"));
    EXPECT_TRUE(HasLineBeginning(second, "# busy\tAnother Purgent run is in progress."));
    EXPECT_EQ(second.back(), "exit\t4");

    EXPECT_EQ(first.Wait(kPurgentTimeoutSeconds), 0) << desk.Output();
    EXPECT_TRUE(desk.FileExists("C:\\first-done.txt"));
    EXPECT_EQ(LinesOf(desk.UnixPath("C:\\first.log")).back(), "exit\t0") << "the second run wrote into the first's log";
}

}  // namespace
}  // namespace purgent::e2e
