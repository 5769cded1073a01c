#include "components/component_phases.h"
#include "components/component_tables.h"
#include "run/errors.h"

namespace purgent {

namespace {

// A default that is not text ("Invalid data type") is not Messenger's either.
bool DefaultIsMessenger(RegistryAccess& registry, const MessengerTable& table) {
    try {
        return registry.ReadString("") == table.imDefault;
    } catch (const PurgentError&) {
        return false;
    }
}

// Another messenger registered as the default IM client keeps its place.
void BlankDefaultIfMessenger(RegistryAccess& registry, const MessengerTable& table) {
    registry.CloseKey();  // an unopened key must read as "", not as an earlier key
    registry.OpenKey(table.imClients);
    if (DefaultIsMessenger(registry, table)) registry.WriteString("", "");
    registry.CloseKey();
}

// A value is deleted only from the key named: when that key does not open,
// the key still open (the hive's root) must not lose a value of that name.
void DeleteUserValues(RegistryAccess& registry, const std::vector<UserValue>& values) {
    for (const UserValue& value : values) {
        if (registry.OpenKey(registry.HivePrefix() + value.key)) registry.DeleteValue(value.name);
        registry.CloseKey();
    }
}

void DeleteKeyTrees(RegistryAccess& registry, const std::string& prefix, const Names& keys) {
    for (const std::string& key : keys) registry.DeleteKeyTree(prefix + key);
}

}  // namespace

void DeleteMessengerRegistration(RunContext& ctx) {
    const MessengerTable& table = MessengerCatalogue();
    RegistryAccess& registry = ctx.registry;
    registry.SetRootKey(HkeyClassesRoot);
    DeleteKeyTrees(registry, "", table.classesRootKeys);
    registry.SetRootKey(HkeyLocalMachine);
    DeleteKeyTrees(registry, "", table.machineKeys);
    BlankDefaultIfMessenger(registry, table);
    registry.DeleteKeyTree(table.explorerExtension);
    registry.UserHivePass(ctx.profileFolders, ctx.profileSids,
                          [&registry, &table] { DeleteUserValues(registry, table.userValues); });
}

void DeleteMessengerSettings(RunContext& ctx) {
    const MessengerTable& table = MessengerCatalogue();
    RegistryAccess& registry = ctx.registry;
    registry.UserHivePass(ctx.profileFolders, ctx.profileSids, [&registry, &table] {
        DeleteKeyTrees(registry, registry.HivePrefix(), table.userKeys);
    });
    registry.SetRootKey(HkeyLocalMachine);
    DeleteKeyTrees(registry, "", table.machineClassKeys);
}

}  // namespace purgent
