// Pins every machine-wide catalogue table by its entry count and a hash of its
// ordered entries, so that an edit cannot silently drop, add or reorder one.
#include "registry/machinewide_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "table_hash.h"

namespace purgent {

using testing::Add;
using testing::Hash;
using testing::Listing;
using testing::ListingOf;

static void Add(Listing& listing, const CatalogueKeys& keys) {
    for (const CatalogueKey& key : keys)
        listing.push_back(key.path + (key.guard == KeyGuard::WritingToolsOnly ? " [WritingTools]" : ""));
}
static void Add(Listing& listing, const DefaultHandlers& handlers) {
    for (const DefaultHandler& handler : handlers) {
        Add(listing, handler.path);
        Add(listing, handler.markers);
    }
}

namespace {

TEST(MachinewideTables, ClassRegistrationsArePinned) {
    const ClassRegistrationsTable& t = ClassRegistrations();
    EXPECT_EQ(t.extensionKeys.size(), 4u);
    EXPECT_EQ(t.trees.size(), 356u);
    const Listing listing = ListingOf(t.classesKey, t.extensionKeys, t.trees);
    EXPECT_EQ(listing.size(), 361u);
    EXPECT_EQ(Hash(listing), 0xe91d8cfb5638e2daull);
}

TEST(MachinewideTables, OnlyThreeClassKeysWaitForTheWritingToolsOption) {
    Listing guarded;
    for (const CatalogueKey& key : ClassRegistrations().trees)
        if (key.guard == KeyGuard::WritingToolsOnly) guarded.push_back(key.path);
    EXPECT_EQ(guarded, (Listing{R"(\Software\Classes\CLSID\{4DB969E0-5979-11CE-82A6-00608CBB7395})",
                                R"(\Software\Classes\CLSID\{9E804EB0-5984-11CE-82A6-00608CBB7395})",
                                R"(\Software\Classes\WritingTools)"}));
}

TEST(MachinewideTables, ApplicationEntriesArePinned) {
    const ApplicationEntriesTable& t = ApplicationEntries();
    EXPECT_EQ(t.helpEntries.size(), 38u);
    EXPECT_EQ(t.systemComponentTrees.size(), 7u);
    EXPECT_EQ(t.systemComponentCodes.size(), 115u);
    const Listing listing =
        ListingOf(t.appPaths, t.installerFolders, t.userProgramsFolder, t.groupWiseFolders,
                  t.upgradeCodeAndSystemProduct, t.installerUserData, t.clientProduct, t.componentsKey,
                  t.productsKey, t.uninstallEntries, t.helpEntries, t.novellKeys, t.contactFileType.path,
                  t.contactFileType.markers, t.mailNewsAndUninstall, t.freeBusyKeys, t.freeBusyValue,
                  t.folderNamesKey, t.folderNameMarkers, t.systemComponentTrees, t.systemComponents,
                  t.secondProduct, t.systemComponentCodes, t.secondProductRecords);
    EXPECT_EQ(listing.size(), 200u);
    EXPECT_EQ(Hash(listing), 0x9d287589a5c1236cull);
}

TEST(MachinewideTables, WebServicesEntriesArePinned) {
    const WebServicesEntriesTable& t = WebServicesEntries();
    EXPECT_EQ(t.helpFiles.names.size(), 19u);
    EXPECT_EQ(t.webServicesTrees.size(), 95u);
    const Listing listing =
        ListingOf(t.helpFiles.path, t.helpFiles.names, t.webServicesTrees, t.sharedDlls, t.groupWiseMarker,
                  t.clientMarker, t.writingToolsMarker, t.webServicesMarker, t.defaultHandlers,
                  t.mapiApps.path, t.mapiApps.names);
    EXPECT_EQ(listing.size(), 140u);
    EXPECT_EQ(Hash(listing), 0xb82ab850a2a0c1afull);
}

TEST(MachinewideTables, ClassesRootIsPinned) {
    const ClassesRootTable& t = ClassesRoot();
    EXPECT_EQ(t.trees.size(), 17u);
    const Listing listing =
        ListingOf(t.defaultHandlers, t.trees, t.assemblies, t.msxmlAssembly, t.msxmlResourceAssembly);
    EXPECT_EQ(listing.size(), 30u);
    EXPECT_EQ(Hash(listing), 0x814809cb096c4f85ull);
    EXPECT_EQ(t.msxmlAssembly.size(), 109u);
    EXPECT_EQ(t.msxmlResourceAssembly.size(), 110u);
}

}  // namespace
}  // namespace purgent
