// Pins the tables of the DLL deregistration and of the Messenger removal by
// entry count and a hash of their ordered entries.
#include "components/component_tables.h"

#include <gtest/gtest.h>

#include "table_hash.h"

namespace purgent::testing {
namespace {

const char* LocationName(std::string InstallLocations::*base) {
    if (base == &InstallLocations::GroupWiseDir) return "GroupWiseDir";
    if (base == &InstallLocations::MessengerDir) return "MessengerDir";
    if (base == &InstallLocations::WindowsDir) return "WindowsDir";
    if (base == &InstallLocations::UserDesktop) return "UserDesktop";
    if (base == &InstallLocations::CommonDesktop) return "CommonDesktop";
    if (base == &InstallLocations::UserPrograms) return "UserPrograms";
    if (base == &InstallLocations::CommonPrograms) return "CommonPrograms";
    return "?";
}

std::string PassText(const DllPass& pass) {
    return std::string(LocationName(pass.base)) + " + " + pass.subfolder + pass.pattern +
           (pass.countedFirst ? " [counted]" : "") + (pass.ownFolderOnly ? " [own folder]" : "") +
           (pass.withExclusions ? " [exclusions]" : "");
}

void Append(Listing& listing, const Names& names) { listing.insert(listing.end(), names.begin(), names.end()); }

TEST(ComponentTables, DllDeregistrationIsPinned) {
    const DllDeregistrationTable& t = DllCatalogue();
    Listing listing = {t.regSvr};
    Append(listing, t.exclusions);
    for (const DllPass& pass : t.clientPasses) listing.push_back(PassText(pass));
    EXPECT_EQ(listing, (Listing{R"(\system32\regsvr32.exe)", "GWABDLG.DLL", "GWMSB1.DLL",
                                "GroupWiseDir + *.dll [counted] [own folder] [exclusions]",
                                R"(WindowsDir + \system32\gw*.dll)", R"(WindowsDir + \system\gw*.dll)"}));
}

TEST(ComponentTables, MessengerIsPinned) {
    const MessengerTable& t = MessengerCatalogue();
    EXPECT_EQ(PassText(t.dllPass), "MessengerDir + *.dll [counted] [own folder]");
    EXPECT_EQ(t.shortcuts.size(), 9u);
    EXPECT_EQ(t.userKeys.size(), 10u);
    EXPECT_EQ(t.machineClassKeys.size(), 44u);
    Listing listing;
    Append(listing, t.classesRootKeys);
    Append(listing, t.machineKeys);
    Append(listing, {t.imClients, t.imDefault, t.explorerExtension});
    for (const UserValue& value : t.userValues) listing.push_back(value.key + "|" + value.name);
    for (const LocatedPath& path : t.shortcuts)
        listing.push_back((path.action == PathAction::DeleteIfExists ? "delete " : "rmdir ") +
                          std::string(LocationName(path.base)) + " + " + path.literal);
    Append(listing, {t.profilesFolder, t.profileMask, t.dataFolder});
    Append(listing, t.dataSubfolders);
    Append(listing, {t.purgePattern, t.logFiles, t.installerInfo});
    Append(listing, t.userKeys);
    Append(listing, t.machineClassKeys);
    EXPECT_EQ(listing.size(), 81u);
    EXPECT_EQ(Hash(listing), 0xb414d688b9f11444ull);
}

}  // namespace
}  // namespace purgent::testing
