#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/file_service.h"
#include "platform/registry_service.h"
#include "platform/sim/sim_drive.h"
#include "param_name.h"

namespace purgent::sim {
namespace {

// The client's GWCheck folder is a link to someone's documents, a log path a
// link to win.ini, two links lead into each other, and the Windows profiles
// folder is a compatibility junction.
SimDrive LinkedDrive() {
    image::MachineIni machine;
    machine.reparsePoints = {{"C:\\Novell\\GroupWise\\GWCheck", "C:\\Important"},
                             {"C:\\Temp\\purgent.log", "C:\\WINDOWS\\win.ini"},
                             {"C:\\Loop\\A", "C:\\Loop\\B"},
                             {"C:\\Loop\\B", "C:\\Loop\\A"}};
    machine.junctions = {{"C:\\Documents and Settings", "C:\\Users"}};
    const image::DriveItems items = {
        {"C:\\Novell", true, {}},        {"C:\\Novell\\GroupWise", true, {}},
        {"C:\\Important", true, {}},     {"C:\\Important\\hr.doc", false, {'x'}},
        {"C:\\WINDOWS", true, {}},       {"C:\\WINDOWS\\win.ini", false, {'w'}},
        {"C:\\Temp", true, {}},          {"C:\\Loop", true, {}},
        {"C:\\Users", true, {}},         {"C:\\Users\\ann", true, {}},
    };
    return SimDrive(items, machine);
}

std::vector<std::string> Names(const std::vector<FoundFile>& entries) {
    std::vector<std::string> names;
    for (const FoundFile& entry : entries) names.push_back(entry.name);
    return names;
}

struct LinkCase {
    const char* what;
    std::function<void(SimDrive&)> act;
    std::function<bool(const SimDrive&)> holds;
};

const LinkCase kLinkCases[] = {
    {"a folder link lists its target",
     [](SimDrive&) {},
     [](const SimDrive& drive) {
         return Names(drive.Entries("C:\\Novell\\GroupWise\\GWCheck", "*.*")) ==
                std::vector<std::string>{".", "..", "hr.doc"};
     }},
    {"a folder link is listed in its folder with the reparse-point attribute",
     [](SimDrive&) {},
     [](const SimDrive& drive) {
         const auto entries = drive.Entries("C:\\Novell\\GroupWise", "*.*");
         return entries.size() == 3 && entries[2].name == "GWCheck" &&
                entries[2].attributes == (FileAttrReparsePoint | FileAttrFolder);
     }},
    {"a file link carries the reparse-point attribute only",
     [](SimDrive&) {},
     [](const SimDrive& drive) { return drive.Attributes("C:\\Temp\\purgent.log") == FileAttrReparsePoint; }},
    {"a path through a folder link names the target's file",
     [](SimDrive&) {},
     [](const SimDrive& drive) {
         return drive.Find("C:\\Novell\\GroupWise\\GWCheck\\hr.doc")->path == "C:\\Important\\hr.doc";
     }},
    {"removing a folder link takes the link only",
     [](SimDrive& drive) { drive.RemoveFolder("C:\\Novell\\GroupWise\\GWCheck"); },
     [](const SimDrive& drive) {
         return drive.Attributes("C:\\Novell\\GroupWise\\GWCheck") == NoSuchFile &&
                drive.FileExists("C:\\Important\\hr.doc") && drive.ReparsePoints().size() == 3;
     }},
    {"deleting a file link takes the link only",
     [](SimDrive& drive) { drive.DeleteFile("C:\\Temp\\purgent.log"); },
     [](const SimDrive& drive) {
         return drive.Attributes("C:\\Temp\\purgent.log") == NoSuchFile && drive.FileExists("C:\\WINDOWS\\win.ini");
     }},
    {"deleting a file through a folder link deletes the target's file",
     [](SimDrive& drive) { drive.DeleteFile("C:\\Novell\\GroupWise\\GWCheck\\hr.doc"); },
     [](const SimDrive& drive) { return !drive.FileExists("C:\\Important\\hr.doc"); }},
    {"a folder holding a link is not empty",
     [](SimDrive& drive) { drive.RemoveFolder("C:\\Temp"); },
     [](const SimDrive& drive) { return drive.Attributes("C:\\Temp") == FileAttrFolder; }},
    {"a file created at a file link's path is its target, made anew",
     [](SimDrive& drive) { drive.CreateHeldFile("C:\\Temp\\purgent.log", true); },
     [](const SimDrive& drive) {
         return drive.Find("C:\\WINDOWS\\win.ini")->contents.empty() && drive.IsLink("C:\\Temp\\purgent.log");
     }},
    {"links leading into each other name nothing",
     [](SimDrive&) {},
     [](const SimDrive& drive) {
         return drive.Find("C:\\Loop\\A\\x") == nullptr && drive.Entries("C:\\Loop\\A", "*").empty();
     }},
    {"a compatibility junction denies listing and carries hidden, system and reparse-point attributes",
     [](SimDrive&) {},
     [](const SimDrive& drive) {
         return drive.Entries("C:\\Documents and Settings", "*").empty() &&
                drive.Attributes("C:\\Documents and Settings") ==
                    (FileAttrReparsePoint | FileAttrHidden | FileAttrSystem | FileAttrFolder) &&
                drive.Attributes("C:\\Documents and Settings\\ann") == FileAttrFolder;
     }},
    {"a compatibility junction is not removed",
     [](SimDrive& drive) { drive.RemoveFolder("C:\\Documents and Settings"); },
     [](const SimDrive& drive) { return drive.Attributes("C:\\Documents and Settings") & FileAttrReparsePoint; }},
};

class SimReparsePoints : public ::testing::TestWithParam<LinkCase> {};

TEST_P(SimReparsePoints, BehaveAsOnWindows) {
    SimDrive drive = LinkedDrive();
    GetParam().act(drive);
    EXPECT_TRUE(GetParam().holds(drive));
}

INSTANTIATE_TEST_SUITE_P(Links, SimReparsePoints, ::testing::ValuesIn(kLinkCases), testing::CaseName<LinkCase>);

}  // namespace
}  // namespace purgent::sim
