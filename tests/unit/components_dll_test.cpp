// The COM deregistration: command lines, exclusions, progress, the window
// pass after each tool run, and the folder rule.
#include <gtest/gtest.h>

#include <algorithm>

#include "components/component_phases.h"
#include "components/dll_deregistration.h"
#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

using Lines = std::vector<std::string>;

const std::string Tool = R"(C:\WINDOWS\system32\regsvr32.exe)";
const std::string Client = R"(C:\Program Files\Novell\GroupWise\)";

TEST(DllDeregistration, CommandLineQuotesOnlyAPathWithABlank) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"C:\\WINDOWS\\system32\\regsvr32.exe", "c:\\novell\\groupwise\\gwenv1.dll",
         "C:\\WINDOWS\\system32\\regsvr32.exe /u /s c:\\novell\\groupwise\\gwenv1.dll"},
        {"C:\\PROGRA~1\\WIN\\regsvr32.exe", "C:\\Program Files\\gw.dll",
         "C:\\PROGRA~1\\WIN\\regsvr32.exe /u /s \"C:\\Program Files\\gw.dll\""},
    };
    for (const auto& [tool, dll, line] : cases) EXPECT_EQ(RegSvrCommandLine(tool, dll), line);
}

TEST(DllDeregistration, ExclusionsCompareInAsciiUpperCase) {
    const std::pair<const char*, bool> cases[] = {
        {"gwabdlg.dll", true}, {"GwMsB1.Dll", true}, {"GWMSB1.DLL", true},
        {"gwabdlg2.dll", false}, {"gwabdlg.dl", false}, {"gwabdlg.dll ", false},
    };
    for (const auto& [name, excluded] : cases) EXPECT_EQ(IsExcludedDll(name, DllCatalogue().exclusions), excluded) << name;
}

void AddFile(image::MachineImage& image, const std::string& path) {
    for (auto slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
        if (!image::FindDriveItem(image.drive, path.substr(0, slash))) image.drive.push_back({path.substr(0, slash), true, {}});
    image.drive.push_back({path, false, {}});
}

// Client DLLs in a folder whose name holds a blank (two excluded, one
// hidden) and which Messenger's program shows to be Messenger's too, in
// system32 and in system; a Novell App window that closes.
image::MachineImage DllImage(const std::string& groupWise) {
    image::MachineImage image;
    for (const char* name :
         {"gwenv1.dll", "gwabdlg.dll", "GwMsB1.Dll", "gwabdlg2.dll", "hidden.dll", "notes.txt", "nmcl32.exe"})
        AddFile(image, groupWise + name);
    image.machine.attributes.push_back({groupWise + "hidden.dll", image::AttrHidden});
    for (const char* path : {R"(C:\WINDOWS\system32\gwxyz.dll)", R"(C:\WINDOWS\system32\other.dll)",
                             R"(C:\WINDOWS\system\GWOLD.DLL)"})
        AddFile(image, path);
    image.machine.windows.push_back({"Novell Application Launcher", "NalWin", true, "", {}});
    return image;
}

// The run's locations set by hand; the bar at 9 of 10.
struct DllMachine : RegistryTestMachine {
    explicit DllMachine(const std::string& groupWise = Client) : RegistryTestMachine(DllImage(groupWise)) {
        ctx.locations.WindowsDir = R"(C:\WINDOWS)";
        ctx.locations.WindowsDrive = "C";
        ctx.locations.GroupWiseDir = groupWise;
        ctx.locations.MessengerDir = groupWise;
        ctx.profiles = {""};
        status.SetProgressMaximum(10);
        status.SetProgressPosition(9);
        view.positions.clear();
    }
    Lines Launched() {
        Lines lines;
        for (const std::string& launch : TraceEvents("launch")) lines.push_back(launch.substr(launch.find('\t') + 1));
        return lines;
    }
    long IndexOf(const std::string& line) {
        const Lines& lines = machine.Trace().Lines();
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    }
};

TEST(DllDeregistration, ClientPassesRunTheToolOnEachDllSaveTheExcludedAndHidden) {
    DllMachine m;
    DeregisterClientDlls(m.ctx);
    const Lines dlls = {Client + "gwabdlg2.dll", Client + "gwenv1.dll", R"(C:\WINDOWS\system32\gwxyz.dll)",
                        R"(C:\WINDOWS\system\GWOLD.DLL)"};
    EXPECT_EQ(m.Launched(), (Lines{Tool + " /u /s \"" + dlls[0] + "\"", Tool + " /u /s \"" + dlls[1] + "\"",
                                   Tool + " /u /s " + dlls[2], Tool + " /u /s " + dlls[3]}));
    EXPECT_EQ(m.view.items, dlls);
    // Once at the start and once for each of the six listed files.
    EXPECT_EQ(m.view.applicationFieldUpdates, 7);
    // The window is asked to close after the first tool run, and is gone then.
    const long closed = m.IndexOf("close-window\tNovell Application Launcher");
    EXPECT_LT(m.IndexOf("launch\t" + Tool + "\t" + m.Launched()[0]), closed);
    EXPECT_GT(m.IndexOf("launch\t" + Tool + "\t" + m.Launched()[1]), closed);
    EXPECT_EQ(m.TraceEvents("close-window").size(), 1u);
}

TEST(DllDeregistration, OnlyTheFirstPassIsCountedAndTheBarIsHeldAtItsMaximum) {
    DllMachine m;
    DeregisterClientDlls(m.ctx);
    // Four plain DLLs counted; a step for each, the excluded ones too; the
    // system folders step the full bar in vain.
    EXPECT_EQ(m.status.Maximum(), 14);
    EXPECT_EQ(m.view.positions, (std::vector<int>{9, 10, 11, 12, 13, 14}));
}

TEST(DllDeregistration, MessengerPassIsCountedHasNoExclusionsAndLeavesTheLaunchField) {
    DllMachine m;
    DeregisterMessengerDlls(m.ctx);
    EXPECT_EQ(m.Launched().size(), 4u);
    EXPECT_EQ(m.status.Maximum(), 14);
    EXPECT_EQ(m.view.applicationFieldUpdates, 0);
}

TEST(DllDeregistration, AClientFolderThatIsNotAFolderOfItsOwnIsNotListed) {
    DllMachine m(R"(C:\WINDOWS\system32\)");
    DeregisterClientDlls(m.ctx);
    EXPECT_EQ(m.status.Maximum(), 10);
    // Only the "gw*.dll" pass of system32 runs, the excluded names included.
    EXPECT_EQ(m.Launched().size(), 6u);
    EXPECT_EQ(m.Launched().front(), Tool + R"( /u /s C:\WINDOWS\system32\gwabdlg.dll)");
}

}  // namespace
}  // namespace purgent::testing
