// The real purgent.exe on a Wine machine whose client folders and files are
// symbolic links (Wine's stand-in for junctions and links): every target
// keeps every byte, the client's own files go, the run ends with its exit
// line, and it keeps and notes what purgent-sim keeps and notes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/ansi_text.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

const std::string kImage = std::string(PURGENT_TEST_DATA) + "/folder-links";

const char* const kTargets[] = {
    "C:\\Important2\\hr.doc",
    "C:\\Important2\\payroll.xls",
    "C:\\Other\\other.dll",
    "C:\\Documents and Settings\\kim\\My Documents\\thesis.docx",
    "C:\\Documents and Settings\\kim\\My Documents\\taxes.xls",
    "C:\\WINDOWS\\win.ini",
};
const char* const kClientFiles[] = {
    "C:\\Novell\\GroupWise\\grpwise.exe",
    "C:\\Novell\\GroupWise\\gwenv1.dll",
    "C:\\Novell\\GroupWise\\readme.txt",
    "C:\\Documents and Settings\\kim\\Local Settings\\Application Data\\Novell\\GroupWise Messenger\\history\\old.txt",
};

std::vector<std::string> LogLines(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The "# kept" notes, the path and the reason's first words (Wine spells the
// Windows folder "C:\windows"), in upper case and in order of path.
std::vector<std::string> KeptNotes(const std::string& log) {
    std::vector<std::string> notes;
    for (const std::string& line : LogLines(log)) {
        if (line.rfind("# kept\t", 0) != 0) continue;
        std::string note = line.substr(0, line.find(" to "));
        std::transform(note.begin(), note.end(), note.begin(), [](unsigned char c) { return std::toupper(c); });
        notes.push_back(note);
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

void ExpectTargetsKept(const image::MachineImage& seeded, const image::MachineImage& after, const std::string& who) {
    for (const char* path : kTargets) {
        const image::DriveItem* before = image::FindDriveItem(seeded.drive, path);
        const image::DriveItem* now = image::FindDriveItem(after.drive, path);
        ASSERT_TRUE(before) << path;
        ASSERT_TRUE(now) << who << ": " << path << " went";
        EXPECT_EQ(now->contents, before->contents) << who << ": " << path << " changed";
    }
    for (const char* path : kClientFiles) EXPECT_FALSE(image::FindDriveItem(after.drive, path)) << who << ": " << path;
    EXPECT_EQ(after.machine.reparsePoints.size(), seeded.machine.reparsePoints.size()) << who << ": a link went";
}

TEST(FolderLinksE2e, EveryTargetKeepsEveryByteAndTheRunEndsAndSaysWhatItKept) {
    const std::string work = ArtifactDir() + "/folder-links";
    std::filesystem::remove_all(work);
    const image::MachineImage seeded = image::LoadMachineImage(kImage);
    const image::MachineImage real = CleanOnWine(kImage, {"/sn"}, work + "/wine");
    const image::MachineImage simulated = CleanOnSim(kImage, {"/sn", "/log=C:\\purgent-sim.log"}, work + "/sim");
    ExpectTargetsKept(seeded, real, "wine");
    ExpectTargetsKept(seeded, simulated, "sim");

    const std::vector<std::string> log = LogLines(work + "/wine.log");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "exit\t0");
    const std::vector<std::string> kept = KeptNotes(work + "/wine.log");
    EXPECT_EQ(kept.size(), 4u) << "GWCheck, shared.dll, kim's history and Messenger's folder";
    EXPECT_EQ(kept, KeptNotes(work + "/sim/drive/C/purgent-sim.log"));
    ExpectSameEvents(kImage, work + "/wine", work + "/sim");
}

}  // namespace
}  // namespace purgent::e2e
