// Pins the file catalogue tables by entry count and a hash of their ordered
// entries, so that an edit cannot silently drop, add or reorder one; and
// checks that every path they hold can be composed.
#include "files/file_tables.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "table_hash.h"

namespace purgent {

using testing::Add;
using testing::Hash;
using testing::Listing;
using testing::ListingOf;

static void Add(Listing& listing, const std::vector<FixedShortcut>& shortcuts) {
    for (const FixedShortcut& s : shortcuts) listing.push_back(s.file + (s.desktop ? " [desktop]" : " [startup]"));
}
static void Add(Listing& listing, const std::vector<ProgramSubfolder>& subfolders) {
    for (const ProgramSubfolder& s : subfolders) {
        listing.push_back(s.purged + (s.forced == Forced::Yes ? " [forced]" : ""));
        Add(listing, s.removed);
        if (s.thenProgramFolder) listing.push_back("[program folder]");
    }
}
static void Add(Listing& listing, const std::vector<FolderPattern>& purges) {
    for (const FolderPattern& p : purges) listing.push_back(p.folder + p.pattern);
}

namespace {

TEST(FileTables, ShortcutsArePinned) {
    const ShortcutTable& t = Shortcuts();
    EXPECT_EQ(t.shortcutNames.size(), 9u);
    EXPECT_EQ(t.programGroupShortcuts.size(), 13u);
    EXPECT_EQ(t.programGroups.size(), 11u);
    const Listing listing = ListingOf(
        t.shellFolderShortcuts, t.profileListKey, t.profileImagePath, t.profileSendTo, t.defaultUserSendTo,
        t.shortcutNames, t.programGroupShortcuts, t.profileShortcuts, t.oldProfileShortcuts, t.localData,
        t.localDataPattern, t.quickLaunchShortcut, t.logonUserOldProfileShortcuts, t.programGroups,
        t.fixedShortcuts, t.startupLocations, t.desktopLocations);
    EXPECT_EQ(listing.size(), 78u);
    EXPECT_EQ(Hash(listing), 0x3f7e5ea5e0a98066ull);
}

TEST(FileTables, SystemFilesArePinned) {
    const SystemFilesTable& t = SystemFiles();
    EXPECT_EQ(t.systemFileNames.size(), 38u);
    const Listing listing =
        ListingOf(t.systemFolder, t.system32Folder, t.systemFileNames, t.wordIntegration, t.installerCacheFiles,
                  t.installerCacheFolder, t.webServicesFiles, t.programFolder, t.programFolderPattern,
                  t.programSubfolders);
    EXPECT_EQ(listing.size(), 57u);
    EXPECT_EQ(Hash(listing), 0xdd138a51aa6728acull);
}

TEST(FileTables, OfficeFilesArePinned) {
    const OfficeFilesTable& t = OfficeFiles();
    EXPECT_EQ(t.lastOfficeVersion - t.firstOfficeVersion + 1, 6);
    const Listing listing =
        ListingOf(t.fastFindFiles, t.writingToolsPurges, t.excelInstallRoot, t.excelPathValue, t.excelDrives,
                  t.excelStartupFolders, t.addInCandidates, t.odmaSettings);
    EXPECT_EQ(listing.size(), 17u);
    EXPECT_EQ(Hash(listing), 0x2ef2ad500c7535c9ull);
}

TEST(FileTables, EveryPathComposes) {
    PathFields fields(InstallLocations{});
    for (const char* loopField : {"N", "P", "Q", "F", "S", "V", "ExcelDir", "UserProfileFolder"})
        fields.Set(loopField, "x");
    const ShortcutTable& s = Shortcuts();
    const SystemFilesTable& f = SystemFiles();
    const OfficeFilesTable& o = OfficeFiles();
    Listing paths = ListingOf(s.shellFolderShortcuts, s.profileSendTo, s.defaultUserSendTo, s.programGroupShortcuts,
                              s.profileShortcuts, s.oldProfileShortcuts, s.localData, s.quickLaunchShortcut,
                              s.logonUserOldProfileShortcuts, s.programGroups, s.startupLocations,
                              s.desktopLocations, f.systemFolder, f.system32Folder, f.installerCacheFiles,
                              f.installerCacheFolder, f.webServicesFiles, f.programFolder, o.fastFindFiles,
                              o.excelInstallRoot, o.addInCandidates, o.odmaSettings);
    for (const ProgramSubfolder& sub : f.programSubfolders) paths.push_back(sub.purged);
    for (const FolderPattern& purge : o.writingToolsPurges) paths.push_back(purge.folder);
    for (const std::string& path : paths) EXPECT_NO_THROW(fields.Expand(path)) << path;
}

}  // namespace
}  // namespace purgent
