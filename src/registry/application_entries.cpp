#include "registry/catalogue_steps.h"
#include "registry/machinewide_registry.h"

namespace purgent {

namespace {

// The folder values the installer keeps for the client, named by folder paths.
Names ClientFolderNames(const ApplicationEntriesTable& table, const InstallLocations& locations) {
    Names names{locations.UserPrograms + table.userProgramsFolder};
    for (const std::string& folder : table.groupWiseFolders) names.push_back(locations.GroupWiseDir + folder);
    return names;
}

// In every account of the installer, each component the client product uses
// goes whole (with what other products keep in it), then the product record.
void InstallerDataSweep(RegistryAccess& registry, const ApplicationEntriesTable& table) {
    for (const std::string& account : SubkeyNames(registry, table.installerUserData)) {
        const std::string accountKey = table.installerUserData + "\\" + account;
        const std::string components = accountKey + table.componentsKey;
        for (const std::string& component : SubkeyNames(registry, components)) {
            const std::string componentKey = components + "\\" + component;
            const bool used = registry.OpenKey(componentKey) && registry.ValueExists(table.clientProduct);
            registry.CloseKey();
            if (used) registry.DeleteKeyTree(componentKey);
        }
        registry.DeleteKeyTree(accountKey + table.productsKey + table.clientProduct);
    }
}

// Installer folder values whose names mention the client, case-sensitively.
void FolderNameSweep(RegistryAccess& registry, const ApplicationEntriesTable& table) {
    DeleteValuesNamed(registry, table.folderNamesKey, [&](const std::string& name) {
        for (const std::string& marker : table.folderNameMarkers) {
            if (Contains(name, marker)) return true;
        }
        return false;
    });
}

void RemoveFreeBusyHook(RegistryAccess& registry, const ApplicationEntriesTable& table) {
    for (const std::string& key : table.freeBusyKeys) {
        if (registry.KeyExists(key)) DeleteValueIfPresent(registry, key, {table.freeBusyValue});
    }
}

}  // namespace

void CleanApplicationEntries(RunContext& ctx) {
    RegistryAccess& registry = ctx.registry;
    const ApplicationEntriesTable& table = ApplicationEntries();
    registry.SetRootKey(HkeyLocalMachine);
    DeleteKeyTrees(registry, table.appPaths, true);
    DeleteValueIfPresent(registry, table.installerFolders, ClientFolderNames(table, ctx.locations));
    DeleteKeyTrees(registry, table.upgradeCodeAndSystemProduct, true);
    InstallerDataSweep(registry, table);
    DeleteKeyTrees(registry, table.uninstallEntries, true);
    DeleteKeyTrees(registry, table.helpEntries, true);
    DeleteKeyTrees(registry, table.novellKeys, true);
    BlankDefaultIfContains(registry, table.contactFileType);
    DeleteKeyTrees(registry, table.mailNewsAndUninstall, true);
    RemoveFreeBusyHook(registry, table);
    FolderNameSweep(registry, table);
    DeleteKeyTrees(registry, table.systemComponentTrees, true);
    for (const std::string& component : table.systemComponentCodes)
        DeleteValueIfPresent(registry, table.systemComponents + component, {table.secondProduct});
    DeleteKeyTrees(registry, table.secondProductRecords, true);
}

}  // namespace purgent
