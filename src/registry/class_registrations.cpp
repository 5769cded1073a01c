#include "registry/catalogue_steps.h"
#include "registry/machinewide_registry.h"

namespace purgent {

void CleanClassRegistrations(RunContext& ctx) {
    RegistryAccess& registry = ctx.registry;
    const ClassRegistrationsTable& table = ClassRegistrations();
    registry.SetRootKey(HkeyLocalMachine);
    // The extension keys go silently. Were the classes key not to open, the
    // relative names would resolve against the root, so they are skipped then.
    if (registry.OpenKey(table.classesKey)) {
        for (const std::string& extension : table.extensionKeys) registry.DeleteKey(extension);
        registry.CloseKey();
    }
    DeleteKeyTrees(registry, table.trees, ctx.Checked(Option::WritingTools));
}

}  // namespace purgent
