// FileAccess on the simulated drive: what a listing returns under each filter,
// and what the composite steps leave behind.
#include "files/file_access.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/sim/sim_machine.h"
#include "purgent_sim/sim_status_view.h"
#include "shutdown_sim_machine.h"

namespace purgent {
namespace {

using Names = std::vector<std::string>;

TEST(ListingFilter, PlainEntriesAlwaysPassOthersOnlyWhenTheFilterSharesABit) {
    struct Case {
        std::uint32_t attributes;
        std::uint32_t filter;
        bool listed;
    };
    const Case cases[] = {
        {0, PlainFiles, true},
        {FileAttrReadOnly, PlainFiles, true},
        {FileAttrHidden, PlainFiles, false},
        {FileAttrSystem, PlainFiles, false},
        {FileAttrFolder, PlainFiles, false},
        {FileAttrHidden, PlainAndHiddenFiles, true},
        {FileAttrHidden | FileAttrReadOnly, PlainAndHiddenFiles, true},
        {FileAttrHidden | FileAttrSystem, PlainAndHiddenFiles, false},
        {FileAttrSystem, PlainAndHiddenFiles, false},
        {FileAttrFolder, PlainAndHiddenFiles, false},
        {FileAttrFolder | FileAttrHidden, PlainAndHiddenFiles, false},
        {FileAttrFolder | FileAttrSystem | FileAttrHidden, FilesAndFolders, true},
        {FileAttrFolder, FilesAndFolders, true},
        {FileAttrFolder | FileAttrHidden, FilesAndFolders, true},
        {FileAttrHidden, FilesAndFolders, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassesFilter(c.attributes, c.filter), c.listed) << c.attributes << " under " << c.filter;
}

// A folder with a plain, a read-only, a hidden and a hidden read-only file and
// a subfolder.
class FolderTest : public ::testing::Test {
protected:
    static image::MachineImage Image() {
        image::MachineImage image;
        for (const char* folder : {"C:\\GW", "C:\\GW\\Sub"}) image.drive.push_back({folder, true, {}});
        for (const char* file : {"C:\\GW\\a.dll", "C:\\GW\\ro.dll", "C:\\GW\\hid.dll", "C:\\GW\\hidro.dll",
                                 "C:\\GW\\Sub\\x.txt"})
            image.drive.push_back({file, false, {}});
        image.machine.attributes = {{"C:\\GW\\ro.dll", image::AttrReadOnly},
                                    {"C:\\GW\\hid.dll", image::AttrHidden},
                                    {"C:\\GW\\hidro.dll", image::AttrHidden | image::AttrReadOnly}};
        return image;
    }

    Names Listed(const std::string& mask, std::uint32_t filter) {
        Names names;
        for (FileListing listing = files.List(mask, filter); listing.HasEntry(); listing.Next())
            names.push_back(listing.Name());
        return names;
    }

    Names Left() {
        Names left;
        for (const image::DriveItem& item : machine.SaveImage().drive) left.push_back(item.path);
        return left;
    }

    sim::SimMachine machine{Image()};
    sim::SimStatusView view{machine.Trace()};
    StatusReporter status{view, machine.GetPlatform().cursor};
    FileAccess files{machine.GetPlatform(), status};
};

TEST_F(FolderTest, ListingsFollowTheFilterAndTheMaskInAnyCase) {
    EXPECT_EQ(Listed("c:\\gw\\*.*", PlainFiles), (Names{"a.dll", "ro.dll"}));
    EXPECT_EQ(Listed("C:\\GW\\*.*", PlainAndHiddenFiles), (Names{"a.dll", "hid.dll", "hidro.dll", "ro.dll"}));
    EXPECT_EQ(Listed("C:\\GW\\*.*", FilesAndFolders), (Names{".", "..", "a.dll", "ro.dll", "Sub"}));
    EXPECT_EQ(Listed("C:\\GW\\R?.DLL", PlainFiles), (Names{"ro.dll"}));
    EXPECT_TRUE(Listed("C:\\Nowhere\\*.*", FilesAndFolders).empty());
}

TEST_F(FolderTest, ExistenceTestsTellFilesFromFolders) {
    EXPECT_TRUE(files.FileExists("C:\\gw\\A.DLL"));
    EXPECT_FALSE(files.FileExists("C:\\GW\\Sub"));
    EXPECT_TRUE(files.DirectoryExists("C:\\GW\\sub\\"));
    EXPECT_FALSE(files.DirectoryExists("C:\\GW\\a.dll"));
    EXPECT_EQ(files.FileGetAttr("C:\\GW\\missing"), NoSuchFile);
}

TEST_F(FolderTest, ForcedDeletionClearsOnlyAReadOnlyFile) {
    EXPECT_FALSE(files.DeleteFile("C:\\GW\\ro.dll"));
    EXPECT_TRUE(files.DeleteForced("C:\\GW\\ro.dll"));
    EXPECT_TRUE(files.DeleteForced("C:\\GW\\hid.dll"));
    EXPECT_EQ(test::TraceOf(machine, "file-attr"), (Names{"C:\\GW\\ro.dll\t0"}));
}

TEST_F(FolderTest, PurgesLeaveWhatTheirFilterHidesAndTheFolderWithIt) {
    files.PurgeFolder("C:\\GW", "\\*.*", PlainFiles, Forced::Yes, ProgressPerFile::No);
    files.PurgeFolder("C:\\GW\\", "*.*", PlainAndHiddenFiles, Forced::No, ProgressPerFile::No);
    EXPECT_FALSE(files.RemoveDir("C:\\GW"));
    EXPECT_EQ(Left(), (Names{"C:\\GW", "C:\\GW\\hidro.dll", "C:\\GW\\Sub", "C:\\GW\\Sub\\x.txt"}));
    EXPECT_EQ(test::TraceOf(machine, "item"), (Names{"C:\\GW\\a.dll", "C:\\GW\\ro.dll", "C:\\GW\\hid.dll",
                                                     "C:\\GW\\hidro.dll"}));
}

TEST_F(FolderTest, AListingGoesOnWhileItsEntriesAreDeleted) {
    Names seen;
    for (FileListing listing = files.List("C:\\GW\\*.*", PlainAndHiddenFiles); listing.HasEntry(); listing.Next()) {
        seen.push_back(listing.Name());
        files.DeleteFile("C:\\GW\\" + listing.Name());
        files.DeleteFile("C:\\GW\\hid.dll");  // not its turn yet: never listed
    }
    EXPECT_EQ(seen, (Names{"a.dll", "hidro.dll", "ro.dll"}));
}

// Windows 7: "Documents and Settings" names "Users", and inside a profile
// "Local Settings" names "AppData\Local", which holds an "Application Data"
// junction back to itself.
TEST(Junctions, PathsThroughJunctionsReachTheirTargetsAndJunctionsThemselvesAreNotListed) {
    image::MachineImage image;
    for (const char* folder : {"C:\\Users", "C:\\Users\\ann", "C:\\Users\\ann\\AppData",
                               "C:\\Users\\ann\\AppData\\Local", "C:\\Users\\ann\\AppData\\Local\\GroupWise"})
        image.drive.push_back({folder, true, {}});
    image.drive.push_back({"C:\\Users\\ann\\AppData\\Local\\GroupWise\\gw.db", false, {}});
    image.machine.junctions = {{"C:\\Documents and Settings", "C:\\Users"},
                               {"C:\\Users\\ann\\Local Settings", "C:\\Users\\ann\\AppData\\Local"},
                               {"C:\\Users\\ann\\AppData\\Local\\Application Data", "C:\\Users\\ann\\AppData\\Local"}};
    sim::SimMachine machine{image};
    FileService& files = machine.GetPlatform().files;
    const std::string data = "C:\\Documents and Settings\\ann\\Local Settings\\Application Data\\GroupWise";
    EXPECT_NE(files.GetAttributes(data + "\\gw.db"), NoSuchFile);
    FoundFile found;
    const FindHandle inside = files.FindFirst(data + "\\*.db", found);
    ASSERT_NE(inside, NoFind);
    EXPECT_EQ(found.name, "gw.db");
    files.FindClose(inside);
    EXPECT_EQ(files.FindFirst("C:\\Documents and Settings\\*.*", found), NoFind);
    EXPECT_NE(files.FindFirst("C:\\Users\\*.*", found), NoFind);
    EXPECT_FALSE(files.RemoveFolder("C:\\Documents and Settings"));
    EXPECT_TRUE(files.RemoveFile(data + "\\gw.db"));
    EXPECT_TRUE(files.RemoveFolder(data));
    EXPECT_EQ(files.GetAttributes("C:\\Users\\ann\\AppData\\Local\\GroupWise"), NoSuchFile);
}

}  // namespace
}  // namespace purgent
