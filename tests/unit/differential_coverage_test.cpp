// What a seed exercises, counted as the harness's coverage table counts it:
// each row from the image or from what purgent-sim's trace shows it did.
#include <gtest/gtest.h>

#include "coverage.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"

namespace purgent::differential {
namespace {

TEST(DifferentialCoverage, EachRowCountsWhatTheImageHoldsOrTheTraceDid) {
    image::MachineImage generated = testing::ImageOf(
        "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise]\n\"Text\"=\"a\"\n\"Number\"=dword:00000001\n"
        "\"Bytes\"=hex:01\n[HKEY_USERS\\S-1-5-21-1-1001\\Software]\n[HKEY_USERS\\Purgent.UserHive\\Software]\n",
        {testing::HiveFile("ann", "[HKEY_CURRENT_USER\\Software\\Novell]\n\"Mine\"=dword:00000002\n")});
    // "C:\\Documents and Settings" and "C:\\Program Files" need a short name.
    testing::AddDriveItem(generated, {"C:\\Program Files", true, {}});
    testing::AddDriveItem(generated, {"D:\\Profiles", true, {}});
    generated.machine.junctions.push_back({"C:\\Documents and Settings", "C:\\Users"});
    generated.machine.reparsePoints.push_back({"C:\\gw\\GWCheck", "C:\\Important2"});
    generated.machine.registryLinks.push_back(
        {"HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\\Loop", "HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise", ""});
    const std::string gw = "HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise";
    const std::string trace =
        "location\tGroupWiseDir\tC:\\Program Files\\Common Files\\\n"
        "reg-delete-value\t" + gw + "\tText\nreg-delete-value\t" + gw + "\tNumber\nreg-delete-value\t" + gw + "\tBytes\n"
        "hive-load\tPurgent.UserHive\tC:\\Documents and Settings\\ann\\ntuser.dat\n"
        "reg-delete-value\tHKEY_USERS\\Purgent.UserHive\\Software\\Novell\tMine\n"
        "file-attr\tC:\\gw\\readme.txt\t0\nfile-delete\tC:\\gw\\readme.txt\nfile-delete\tC:\\gw\\other.txt\n"
        "launch\tC:\\WINDOWS\\system32\\regsvr32.exe\tC:\\WINDOWS\\system32\\regsvr32.exe /u /s C:\\gw\\a.dll\n"
        "dir-remove\tC:\\Novell\\Messenger\n";
    const std::map<std::string, int> expected = {
        {"REG_SZ value deleted", 1},         {"REG_DWORD value deleted", 2},   {"value of another type deleted", 1},
        {"read-only file deleted (forced)", 1}, {"junction", 1},               {"logged-on user's hive", 1},
        {"protected key", 0},                {"file with a short name", 2},    {"DLL unregistered", 1},
        {"Messenger removed", 0},            {"App Paths at a shared folder", 1}, {"profile on another drive", 1},      {"mount left by a killed run", 1},
        {"link ([reparse])", 1},
        {"registry link", 1},
    };
    EXPECT_EQ(CoverageOf(generated, {trace}), expected);
}

}  // namespace
}  // namespace purgent::differential
