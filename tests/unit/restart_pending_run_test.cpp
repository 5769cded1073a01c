// Whole runs where another program holds the client's files open: each is
// left for Windows to delete when it next starts, where MoveFileEx lists it,
// and so is a folder only such files keep; nothing the run would not have
// deleted now is ever listed.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/purgent_app.h"
#include "image/ansi_text.h"
#include "param_name.h"
#include "purgent_sim/run_purgent.h"
#include "purgent_sim/sim_form_view.h"
#include "purgent_sim/sim_status_view.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"

namespace purgent::testing {
namespace {

using Paths = std::vector<std::string>;

const std::string Program = R"(c:\novell\groupwise)";
const std::string SessionManager = R"(HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager)";
const std::string Log = R"(C:\run.log)";

struct RestartCase {
    const char* what;
    std::string registry;  // .reg text below the header
    Paths files;
    Paths held;
    Paths readOnly;
    std::vector<image::ReparsePoint> links;
    Paths scheduled;  // the pending list, in order
};

std::string GroupWiseAt(const std::string& folder) {
    return "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\GrpWise.exe]\n" +
           RegString("Path", folder);
}

const RestartCase kRestartCases[] = {
    {"a held file then its folder and the program folder", "",
     {Program + R"(\grpwise.exe)", Program + R"(\GWCheck\gwcheck.exe)"}, {Program + R"(\GWCheck\gwcheck.exe)"}, {}, {},
     {Program + R"(\GWCheck\gwcheck.exe)", Program + R"(\GWCheck)", Program}},
    {"a held read-only file a forced step deletes", "",
     {Program + R"(\grpwise.exe)"}, {Program + R"(\grpwise.exe)"}, {Program + R"(\grpwise.exe)"}, {},
     {Program + R"(\grpwise.exe)", Program}},
    {"a held file beside one the run does not delete", "",
     {Program + R"(\GWCheck\gwcheck.exe)", Program + R"(\GWCheck\Reports\week.txt)"},
     {Program + R"(\GWCheck\gwcheck.exe)"}, {}, {},
     {Program + R"(\GWCheck\gwcheck.exe)"}},
    {"a held read-only file a step that does not force leaves", "",
     {Program + R"(\GWCheck\gwcheck.exe)"}, {Program + R"(\GWCheck\gwcheck.exe)"}, {Program + R"(\GWCheck\gwcheck.exe)"},
     {}, {}},
    {"another program's held file in a subfolder the run does not empty", "",
     {Program + R"(\grpwise.exe)", Program + R"(\Docs\manual.pdf)"}, {Program + R"(\Docs\manual.pdf)"}, {}, {}, {}},
    {"a held file in a folder App Paths names that is not the client's", GroupWiseAt(R"(C:\Data\)"),
     {R"(C:\Data\report.doc)"}, {R"(C:\Data\report.doc)"}, {}, {}, {}},
    {"a held file where a link in the client's folder leads", "",
     {Program + R"(\grpwise.exe)", R"(C:\Documents and Settings\ann\My Documents\thesis.doc)"},
     {R"(C:\Documents and Settings\ann\My Documents\thesis.doc)"}, {},
     {{Program + R"(\GWCheck)", R"(C:\Documents and Settings\ann\My Documents)"}}, {}},
};

image::MachineImage ImageOfCase(const RestartCase& c) {
    image::MachineImage image = ImageOf(c.registry);
    for (const std::string& file : c.files) AddDriveItem(image, {file, false, {'x'}});
    image.machine.locked = c.held;
    for (const std::string& file : c.readOnly) image.machine.attributes.push_back({file, image::AttrReadOnly});
    image.machine.reparsePoints = c.links;
    return image;
}

// The paths of the machine's pending list, in order: each pair's first
// string without its "\??\", the second checked to be empty.
Paths PendingDeletions(const image::MachineImage& machine) {
    const image::RegistryKey* key = image::FindKey(machine.registry, SessionManager);
    const image::RegistryValue* value = key ? image::FindValue(*key, "PendingFileRenameOperations") : nullptr;
    if (!value) return {};
    EXPECT_EQ(value->type, RegMultiSz);
    std::vector<std::string> strings(1);
    for (std::uint8_t byte : value->data) byte ? strings.back() += static_cast<char>(byte) : strings.emplace_back();
    Paths paths;
    for (std::size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2) {
        EXPECT_EQ(strings[i].substr(0, 4), "\\??\\");
        EXPECT_EQ(strings[i + 1], "") << "a new name for " << strings[i];
        paths.push_back(strings[i].substr(4));
    }
    return paths;
}

Paths Folded(Paths paths) {
    for (std::string& path : paths) std::transform(path.begin(), path.end(), path.begin(), image::FoldCase);
    return paths;
}

// The log's notes of one kind ("# restart-pending"), their fields.
Paths Notes(const image::MachineImage& machine, const std::string& kind) {
    const image::DriveItem* log = image::FindDriveItem(machine.drive, Log);
    Paths notes;
    if (!log) return notes;
    for (const std::string& line : image::SplitLines(std::string(log->contents.begin(), log->contents.end())))
        if (line.rfind(kind + "\t", 0) == 0) notes.push_back(line.substr(kind.size() + 1));
    return notes;
}

const RestartCase& HeldFileAndFolders() { return kRestartCases[0]; }
const RestartCase& HeldFileBehindALink() { return kRestartCases[6]; }

class RestartPendingRun : public ::testing::TestWithParam<RestartCase> {};

TEST_P(RestartPendingRun, ListsOnlyWhatTheRunWouldHaveDeletedNow) {
    const RestartCase& c = GetParam();
    sim::SimMachine machine(ImageOfCase(c));
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn", "/log=" + Log}), 0);
    const image::MachineImage after = machine.SaveImage();
    EXPECT_EQ(Folded(PendingDeletions(after)), Folded(c.scheduled));
    EXPECT_EQ(Folded(Notes(after, "# restart-pending")), Folded(c.scheduled));
    for (const std::string& held : c.held) EXPECT_TRUE(image::FindDriveItem(after.drive, held)) << held;
    // A file that waits for the restart is no failure.
    for (const std::string& failed : Notes(after, "# failed"))
        for (const std::string& scheduled : c.scheduled)
            EXPECT_EQ(Folded({failed}).front().find(Folded({scheduled}).front() + "\t"), std::string::npos) << failed;
}

INSTANTIATE_TEST_SUITE_P(Cases, RestartPendingRun, ::testing::ValuesIn(kRestartCases), CaseName<RestartCase>);


// A run again before the restart (after a cut, or a deployment tool's
// retry) finds the files still held and listed: Windows' list stays as it
// was, and the second log says again what waits for the restart.
TEST(RestartPendingRun, ARunAgainBeforeTheRestartListsNothingTwice) {
    const RestartCase& c = HeldFileAndFolders();
    sim::SimMachine first(ImageOfCase(c));
    EXPECT_EQ(sim::RunPurgentOnSim(first, {"/sn", "/log=" + Log}), 0);
    sim::SimMachine again(first.SaveImage());
    EXPECT_EQ(sim::RunPurgentOnSim(again, {"/sn", "/log=" + Log}), 0);
    const image::MachineImage after = again.SaveImage();
    EXPECT_EQ(Folded(PendingDeletions(after)), Folded(c.scheduled));
    Paths twice = c.scheduled;
    twice.insert(twice.end(), c.scheduled.begin(), c.scheduled.end());
    EXPECT_EQ(Folded(Notes(after, "# restart-pending")), Folded(twice));
}

// Whatever step asks for it, a file the link guard keeps the run from is
// never listed: here one a link in the client's folder leads to.
TEST(RestartPendingRun, AHeldFileUnderARefusedFolderIsNeverListed) {
    RegistryTestMachine machine(ImageOfCase(HeldFileBehindALink()));
    EXPECT_FALSE(machine.files.DeleteFile(Program + R"(\GWCheck\thesis.doc)"));
    EXPECT_EQ(PendingDeletions(machine.machine.SaveImage()), Paths{});
    EXPECT_FALSE(machine.files.RestartNeeded());
}

// Where Windows will not take the list (no administrator's rights), the file
// stays with the failure it was.
TEST(RestartPendingRun, AListWindowsRefusesLeavesTheFailureNote) {
    image::MachineImage image = ImageOfCase(HeldFileAndFolders());
    image.machine.denied.push_back(SessionManager);
    sim::SimMachine machine(image);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn", "/log=" + Log}), 0);
    const image::MachineImage after = machine.SaveImage();
    EXPECT_EQ(PendingDeletions(after), Paths{});
    EXPECT_EQ(Notes(after, "# restart-pending"), Paths{});
    EXPECT_EQ(Notes(after, "# failed"), Paths{"file-delete\t" + Program + R"(\GWCheck\gwcheck.exe)" + "\t32"});
}

// A preview lists nothing and says what it would list.
TEST(RestartPendingRun, APreviewListsNothingAndSaysWhatItWould) {
    sim::SimMachine machine(ImageOfCase(HeldFileAndFolders()));
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn", "/whatif", "/log=" + Log}), 0);
    const image::MachineImage after = machine.SaveImage();
    EXPECT_FALSE(image::FindKey(after.registry, SessionManager));
    EXPECT_EQ(Notes(after, "# restart-pending"), Paths{});
    Paths previewed;
    for (const std::string& note : Notes(after, "# preview"))
        if (note.rfind("restart-pending\t", 0) == 0) previewed.push_back(note);
    Paths expected;
    for (const std::string& path : HeldFileAndFolders().scheduled)
        expected.push_back("restart-pending\t" + path + "\tnot scheduled");
    EXPECT_EQ(Folded(previewed), Folded(expected));
}

// What a run leaves for the restart is what the process remembers, so that
// its status can say a restart is needed; a preview needs none.
TEST(RestartPendingRun, TheProcessRemembersThatARestartIsNeeded) {
    const struct {
        const char* what;
        image::MachineImage image;
        std::string commandLine;
        bool needed;
    } cases[] = {
        {"a held file", ImageOfCase(HeldFileAndFolders()), "purgent.exe", true},
        {"nothing held", ImageOf(""), "purgent.exe", false},
        {"a preview", ImageOfCase(HeldFileAndFolders()), "purgent.exe /whatif", false},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine(c.image);
        machine.Environment().SetCommandLine(c.commandLine);
        sim::SimStatusView statusView(machine.Trace());
        sim::SimFormView formView;
        PurgentApp app(machine.GetPlatform(), statusView, formView);
        app.FormCreate();
        app.RunButtonClick();
        EXPECT_EQ(app.State().restartNeeded, c.needed) << c.what;
    }
}

}  // namespace
}  // namespace purgent::testing
