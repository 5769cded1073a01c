#include "files/own_folder.h"

#include <gtest/gtest.h>

namespace purgent {
namespace {

struct FolderCase {
    const char* folder;
    bool own;
};

TEST(IsOwnFolder, RefusesFoldersThatBelongToTheSystemOrToEverybody) {
    InstallLocations locations;
    locations.WindowsDir = "C:\\WINDOWS";
    locations.WindowsDrive = "C";
    const ProfileSet profiles = {"", "ann", "bob"};
    const FolderCase cases[] = {
        {"c:\\novell\\groupwise\\", true},
        {"C:\\Program Files\\Novell\\GroupWise", true},
        {"\\\\server\\apps\\grpwise\\", true},
        {"C:\\WINDOWS.OLD\\grpwise\\", true},
        {"C:\\", false},
        {"D:\\", false},
        {"C:", false},
        {"\\\\server\\apps\\", false},
        {"novell\\groupwise\\", false},
        {"\\novell\\groupwise\\", false},
        {"C:novell\\", false},
        {"C:\\novell;D:\\gw\\", false},
        {"C:\\novell\\*\\", false},
        {"C:\\novell\\gw?\\", false},
        {"C:\\novell\\..\\", false},
        {"c:\\windows\\", false},
        {"C:\\WINDOWS\\system32\\", false},
        {"C:\\WINDOWS\\\\System32", false},
        {"C:\\Program Files\\", false},
        {"D:\\Program Files (x86)\\", false},
        {"C:\\Program Files\\Common Files\\", false},
        {"C:\\Documents and Settings\\", false},
        {"C:\\Users", false},
        {"C:\\Documents and Settings\\ANN\\", false},
        {"C:\\Documents and Settings\\carl\\", false},
        {"C:\\Users\\dave\\", false},
        {"C:\\Documents and Settings\\ann\\GroupWise\\", true},
    };
    for (const FolderCase& c : cases) EXPECT_EQ(IsOwnFolder(c.folder, locations, profiles), c.own) << c.folder;
}

TEST(IsOwnFolder, AFolderAroundTheWindowsFolderIsRefused) {
    InstallLocations locations;
    locations.WindowsDir = "C:\\Apps\\WINNT";
    EXPECT_FALSE(IsOwnFolder("C:\\Apps\\", locations, {""}));
    EXPECT_TRUE(IsOwnFolder("C:\\Apps\\GroupWise\\", locations, {""}));
}

}  // namespace
}  // namespace purgent
