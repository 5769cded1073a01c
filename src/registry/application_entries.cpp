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

// True when the open key holds no subkey and no value besides an empty
// unnamed default.
bool NothingElseLeft(RegistryAccess& registry) {
    if (!registry.GetKeyNames().empty()) return false;
    for (const std::string& name : registry.GetValueNames()) {
        if (!name.empty() || !registry.ValueIsEmpty(name)) return false;
    }
    return true;
}

// Components are shared between products: each one the client uses loses
// the client's value, and goes only when no other product keeps anything in
// it. Then the account's product record goes.
void InstallerDataSweep(RegistryAccess& registry, const ApplicationEntriesTable& table) {
    for (const std::string& account : SubkeyNames(registry, table.installerUserData)) {
        const std::string accountKey = table.installerUserData + "\\" + account;
        const std::string components = accountKey + table.componentsKey;
        for (const std::string& component : SubkeyNames(registry, components)) {
            const std::string componentKey = components + "\\" + component;
            const bool used = registry.OpenKey(componentKey) && registry.ValueExists(table.clientProduct);
            if (used) registry.DeleteValue(table.clientProduct);
            const bool emptied = used && NothingElseLeft(registry);
            registry.CloseKey();
            if (emptied)
                registry.DeleteKeyTree(componentKey);
            else if (used)
                registry.ReportKey(componentKey);
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
