// Whole runs on workstations where a path the run is given leads elsewhere:
// a folder of the client that is a link, App Paths naming a folder that is
// not the program's. Every target keeps every file, nothing there is
// unregistered, and the run log names what was kept; the client's own
// folders are still cleaned.
#include <gtest/gtest.h>

#include <algorithm>

#include "param_name.h"
#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"

namespace purgent::testing {
namespace {

using Paths = std::vector<std::string>;

const std::string ProfileList = R"(HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\ProfileList\)";
const std::string KimData = R"(C:\Documents and Settings\kim\Local Settings\Application Data)";
const std::string AnnData = R"(C:\Users\ann\AppData\Local)";

struct LinkCase {
    const char* what;
    std::string registry;  // .reg text below the header
    Paths files;
    std::vector<image::ReparsePoint> links;
    Paths stay;
    Paths gone;
    std::string keptNote;  // a "# kept" note begins with it; "" for none
    std::string networkDrives = "";
    std::vector<image::Junction> junctions = {};
};

std::string Profile(const std::string& sid, const std::string& folder) {
    return KeyText(ProfileList + sid, RegString("ProfileImagePath", folder));
}

const LinkCase kLinkCases[] = {
    // App Paths naming a folder that is not the program's.
    {"App Paths at a link to the Windows folder",
     GroupWiseAt(R"(C:\Novell\GWLINK\)"),
     {R"(C:\WINDOWS\explorer.exe)", R"(C:\WINDOWS\win.ini)", R"(C:\WINDOWS\twain_32.dll)"},
     {{R"(C:\Novell\GWLINK)", R"(C:\WINDOWS)"}},
     {R"(C:\WINDOWS\explorer.exe)", R"(C:\WINDOWS\win.ini)", R"(C:\WINDOWS\twain_32.dll)"},
     {},
     "# kept\tC:\\Novell\\GWLINK\ta link to C:\\WINDOWS"},
    {"App Paths at a user's documents",
     GroupWiseAt(R"(C:\Documents and Settings\kim\My Documents\)"),
     {R"(C:\Documents and Settings\kim\My Documents\thesis.doc)",
      R"(C:\Documents and Settings\kim\My Documents\helper.dll)"},
     {},
     {R"(C:\Documents and Settings\kim\My Documents\thesis.doc)",
      R"(C:\Documents and Settings\kim\My Documents\helper.dll)"},
     {},
     "# kept\tC:\\Documents and Settings\\kim\\My Documents\ta folder of the system"},
    {"App Paths at a copy of the client among everybody's files",
     GroupWiseAt(R"(C:\Users\Public\GroupWise\)"),
     {R"(C:\Users\Public\GroupWise\grpwise.exe)", R"(C:\Users\Public\GroupWise\notes.doc)"},
     {},
     {R"(C:\Users\Public\GroupWise\grpwise.exe)", R"(C:\Users\Public\GroupWise\notes.doc)"},
     {},
     "# kept\tC:\\Users\\Public\\GroupWise\ta folder of the system"},
    {"App Paths at a user's desktop",
     GroupWiseAt(R"(C:\Documents and Settings\lee\Desktop\)"),
     {R"(C:\Documents and Settings\lee\Desktop\notes.txt)"},
     {},
     {R"(C:\Documents and Settings\lee\Desktop\notes.txt)"},
     {},
     "# kept\tC:\\Documents and Settings\\lee\\Desktop\t"},
    {"App Paths at the Public documents",
     GroupWiseAt(R"(C:\Users\Public\Documents\)"),
     {R"(C:\Users\Public\Documents\report.doc)"},
     {},
     {R"(C:\Users\Public\Documents\report.doc)"},
     {},
     "# kept\tC:\\Users\\Public\\Documents\t"},
    {"App Paths at Office's folder",
     GroupWiseAt(R"(C:\Program Files\Microsoft Office\OFFICE11\)"),
     {R"(C:\Program Files\Microsoft Office\OFFICE11\EXCEL.EXE)",
      R"(C:\Program Files\Microsoft Office\OFFICE11\WINWORD.EXE)",
      R"(C:\Program Files\Microsoft Office\OFFICE11\mso.dll)"},
     {},
     {R"(C:\Program Files\Microsoft Office\OFFICE11\EXCEL.EXE)",
      R"(C:\Program Files\Microsoft Office\OFFICE11\WINWORD.EXE)",
      R"(C:\Program Files\Microsoft Office\OFFICE11\mso.dll)"},
     {},
     "# kept\tC:\\Program Files\\Microsoft Office\\OFFICE11\tnone of the program's own files in it"},
    {"App Paths at another drive's data folder",
     GroupWiseAt(R"(D:\Data\)") + MessengerAt(R"(D:\Data\)"),
     {R"(D:\Data\budget.xls)", R"(D:\Data\tool.dll)", R"(D:\Data\LogFiles\import.log)"},
     {},
     {R"(D:\Data\budget.xls)", R"(D:\Data\tool.dll)", R"(D:\Data\LogFiles\import.log)"},
     {},
     "# kept\tD:\\Data\tnone of the program's own files in it"},
    {"App Paths at a network drive",
     GroupWiseAt(R"(N:\GroupWise\)"),
     {R"(N:\GroupWise\grpwise.exe)", R"(N:\GroupWise\gwenv1.dll)"},
     {},
     {R"(N:\GroupWise\grpwise.exe)", R"(N:\GroupWise\gwenv1.dll)"},
     {},
     "# kept\tN:\\GroupWise\t",
     "N"},
    // The client's own folders, wherever they are, still go.
    {"a partly uninstalled client on another drive",
     GroupWiseAt(R"(D:\Apps\GroupWise)"),
     {R"(D:\Apps\GroupWise\gwenv1.dll)", R"(D:\Apps\GroupWise\notify.exe)", R"(D:\Apps\GroupWise\readme.txt)"},
     {},
     {},
     {R"(D:\Apps\GroupWise\gwenv1.dll)", R"(D:\Apps\GroupWise\notify.exe)", R"(D:\Apps\GroupWise)"},
     ""},
    {"the default folder without the program's files",
     "",
     {R"(C:\Novell\GroupWise\readme.txt)", R"(C:\Novell\GroupWise\GWCheck\gwcheck.ini)"},
     {},
     {},
     {R"(C:\Novell\GroupWise\readme.txt)", R"(C:\Novell\GroupWise)"},
     ""},
    // A link where the client's folder or file was.
    {"GWCheck a link to someone's folder",
     "",
     {R"(C:\Novell\GroupWise\grpwise.exe)", R"(C:\Important2\hr.doc)", R"(C:\Important2\payroll.xls)"},
     {{R"(C:\Novell\GroupWise\GWCheck)", R"(C:\Important2)"}},
     {R"(C:\Important2\hr.doc)", R"(C:\Important2\payroll.xls)", R"(C:\Novell\GroupWise)"},
     {R"(C:\Novell\GroupWise\grpwise.exe)"},
     "# kept\tc:\\novell\\groupwise\\GWCheck\ta link to C:\\Important2"},
    {"a file link in the program folder to another program's library",
     "",
     {R"(C:\Novell\GroupWise\grpwise.exe)", R"(C:\Other\other.dll)"},
     {{R"(C:\Novell\GroupWise\shared.dll)", R"(C:\Other\other.dll)"}},
     {R"(C:\Other\other.dll)", R"(C:\Novell\GroupWise)"},
     {R"(C:\Novell\GroupWise\grpwise.exe)"},
     "# kept\tc:\\novell\\groupwise\\shared.dll\ta link to C:\\Other\\other.dll"},
    {"a user's Messenger history a link to the documents",
     "",
     {KimData + R"(\Novell\GroupWise Messenger\history\old.txt)",
      R"(C:\Documents and Settings\kim\My Documents\thesis.docx)",
      R"(C:\Documents and Settings\kim\My Documents\taxes.xls)"},
     {{KimData + R"(\Novell\GroupWise Messenger\history\admin)", R"(C:\Documents and Settings\kim\My Documents)"}},
     {R"(C:\Documents and Settings\kim\My Documents\thesis.docx)",
      R"(C:\Documents and Settings\kim\My Documents\taxes.xls)"},
     {KimData + R"(\Novell\GroupWise Messenger\history\old.txt)"},
     "# kept\tC:\\Documents and Settings\\kim" + std::string(R"(\Local Settings\Application Data)") +
         "\\Novell\\GroupWise Messenger\\history\\admin\ta link to C:\\Documents and Settings\\kim\\My Documents"},
    {"a user's GroupWise data a link to the documents",
     Profile("S-1-5-21-1-2-3-1001", R"(C:\Documents and Settings\kim)"),
     {R"(C:\Documents and Settings\kim\My Documents\thesis.docx)"},
     {{KimData + R"(\GroupWise)", R"(C:\Documents and Settings\kim\My Documents)"}},
     {R"(C:\Documents and Settings\kim\My Documents\thesis.docx)"},
     {},
     "# kept\tC:\\Documents and Settings\\kim\\Local Settings\\Application Data\\GroupWise\ta link to "},
    {"a history link reached through Windows' compatibility junctions",
     Profile("S-1-5-21-1-2-3-1002", R"(C:\Users\ann)"),
     {AnnData + R"(\Novell\GroupWise Messenger\history\old.txt)", R"(C:\Users\ann\Documents\ann-thesis.docx)",
      R"(C:\Users\ann\Documents\ann-taxes.xls)"},
     {{AnnData + R"(\Novell\GroupWise Messenger\history\admin)", R"(C:\Users\ann\Documents)"}},
     {R"(C:\Users\ann\Documents\ann-thesis.docx)", R"(C:\Users\ann\Documents\ann-taxes.xls)",
      R"(C:\Users\ann\Documents)"},
     {AnnData + R"(\Novell\GroupWise Messenger\history\old.txt)"},
     "# kept\tC:\\Users\\ann\\Local Settings\\Application Data\\Novell\\GroupWise Messenger\\history\\admin\ta link to "
     "C:\\Users\\ann\\Documents",
     "",
     {{R"(C:\Documents and Settings)", R"(C:\Users)"},
      {R"(C:\Users\ann\Local Settings)", AnnData},
      {AnnData + R"(\Application Data)", AnnData}}},
};

class LinksAndProgramFolders : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinksAndProgramFolders, TargetsKeepEveryFileAndTheClientsOwnGo) {
    const LinkCase& c = GetParam();
    image::MachineImage image = ImageOf(c.registry);
    for (const std::string& file : c.files) AddDriveItem(image, {file, false, {'x'}});
    for (const image::ReparsePoint& link : c.links) {
        const std::string folder = link.link.substr(0, link.link.rfind('\\'));
        if (!IsThere(image, folder)) AddDriveItem(image, {folder, true, {}});
    }
    image.machine.reparsePoints = c.links;
    image.machine.junctions = c.junctions;
    if (!c.networkDrives.empty()) image.machine.machine.otherKeys = {{"network-drives", c.networkDrives}};
    sim::SimMachine machine(image);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);

    const image::MachineImage after = machine.SaveImage();
    for (const std::string& path : c.stay) EXPECT_TRUE(IsThere(after, path)) << path << " went";
    for (const std::string& path : c.gone) EXPECT_FALSE(IsThere(after, path)) << path << " stayed";
    EXPECT_EQ(after.machine.reparsePoints.size(), c.links.size()) << "a link was removed";
    for (const std::string& launch : machine.Trace().Events("launch"))
        for (const std::string& path : c.stay) EXPECT_EQ(launch.find(path), std::string::npos) << launch;
    const auto& notes = machine.Trace().KeptNotes();
    if (!c.keptNote.empty())
        EXPECT_TRUE(std::any_of(notes.begin(), notes.end(),
                                [&](const std::string& note) { return note.rfind(c.keptNote, 0) == 0; }))
            << "no note beginning " << c.keptNote << "; notes: " << ::testing::PrintToString(notes);
    else
        EXPECT_EQ(notes, Paths{});
}

INSTANTIATE_TEST_SUITE_P(Cases, LinksAndProgramFolders, ::testing::ValuesIn(kLinkCases), CaseName<LinkCase>);

}  // namespace
}  // namespace purgent::testing
