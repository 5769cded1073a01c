// A capture (/capture=) keeps the links a preview met where the machine has
// them, so that the simulator, replaying it, reaches the same places.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "image/ansi_text.h"
#include "param_name.h"
#include "purgent_sim/run_purgent.h"
#include "run_image_builder.h"

namespace purgent::sim {
namespace {

namespace fs = std::filesystem;

using Links = std::vector<image::ReparsePoint>;

struct CaptureCase {
    const char* what;
    Links reparsePoints;  // the machine's, each one met by the run
    Links junctions;
};

const CaptureCase kCaptureCases[] = {
    {"a client folder that is a link to another folder", {{"C:\\Novell\\GroupWise\\GWCheck", "C:\\Important2"}}, {}},
    {"a client folder that is a link to another drive", {{"C:\\Novell\\GroupWise\\PPForms", "D:\\Data"}}, {}},
    {"a file link in the program folder", {{"C:\\Novell\\GroupWise\\notes.txt", "C:\\Important2\\hr.doc"}}, {}},
    {"a folder link the program folder's listing passes over", {{"C:\\Novell\\GroupWise\\Shared", "C:\\Important2"}}, {}},
    {"a link on the way to the program folder", {{"C:\\Novell", "C:\\Programs"}}, {}},
    // Nothing below a link the run does not pass through is met.
    {"two links in the program folder",
     {{"C:\\Novell\\GroupWise\\GWCheck", "C:\\Important2"}, {"C:\\Novell\\GroupWise\\PPForms", "D:\\Data"}},
     {}},
    {"a folder that cannot be listed", {}, {{"C:\\Novell\\GroupWise\\GWCheck", "C:\\Important2"}}},
};

// Each link in a machine of the client's folders and a bystander's, with
// files at every target.
image::MachineImage LinkedMachine(const CaptureCase& c) {
    image::MachineImage machine;
    for (const char* file : {"C:\\Novell\\GroupWise\\grpwise.exe", "C:\\Programs\\GroupWise\\grpwise.exe",
                             "C:\\Important2\\hr.doc", "D:\\Data\\taxes.xls"})
        testing::AddDriveItem(machine, {file, false, {'x'}});
    machine.machine.reparsePoints = c.reparsePoints;
    machine.machine.junctions = c.junctions;
    return machine;
}

std::string Lines(const Links& links) {
    std::string text;
    for (const image::ReparsePoint& link : links) text += link.link + "=" + link.target + "\n";
    return text;
}

class CaptureLinks : public ::testing::TestWithParam<CaptureCase> {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("purgent-capture-links-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

TEST_P(CaptureLinks, AreKeptAsTheMachineHasThemAndTheReplayMeetsThem) {
    const CaptureCase& c = GetParam();
    SimMachine previewed(LinkedMachine(c));
    RunPurgentOnSim(previewed, {"/sn", "/whatif", "/capture=C:\\cap", "/log=C:\\whatif.log"});
    image::SaveMachineImage(previewed.SaveImage(), dir_.string());
    const image::MachineImage captured = image::LoadMachineImage((dir_ / "drive" / "C" / "cap").string());
    EXPECT_EQ(Lines(captured.machine.reparsePoints), Lines(c.reparsePoints));
    EXPECT_EQ(Lines(captured.machine.junctions), Lines(c.junctions));

    SimMachine cleaned(LinkedMachine(c)), replayed(captured);
    RunPurgentOnSim(cleaned, {"/sn"});
    RunPurgentOnSim(replayed, {"/sn"});
    EXPECT_EQ(replayed.Trace().Lines(), cleaned.Trace().Lines());
    EXPECT_EQ(Lines(replayed.SaveImage().machine.reparsePoints), Lines(cleaned.SaveImage().machine.reparsePoints));
}

INSTANTIATE_TEST_SUITE_P(Machines, CaptureLinks, ::testing::ValuesIn(kCaptureCases),
                         testing::CaseName<CaptureCase>);

}  // namespace
}  // namespace purgent::sim
