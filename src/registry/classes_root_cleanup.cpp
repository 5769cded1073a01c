#include "run/errors.h"
#include "registry/catalogue_steps.h"
#include "registry/machinewide_registry.h"

namespace purgent {

namespace {

// The resource assembly goes only together with the main one, without a test
// of its own.
void RemoveMsxmlAssemblies(RegistryAccess& registry, const ClassesRootTable& table) {
    if (!registry.OpenKey(table.assemblies)) return;
    if (registry.ValueExists(table.msxmlAssembly)) {
        registry.DeleteValue(table.msxmlAssembly);
        registry.DeleteValue(table.msxmlResourceAssembly);
    }
    registry.CloseKey();
}

}  // namespace

void CleanClassesRoot(RunContext& ctx) {
    RegistryAccess& registry = ctx.registry;
    const ClassesRootTable& table = ClassesRoot();
    try {
        registry.SetRootKey(HkeyClassesRoot);
        for (const DefaultHandler& handler : table.defaultHandlers) BlankDefaultIfContains(registry, handler);
        DeleteKeyTrees(registry, table.trees, true);
        RemoveMsxmlAssemblies(registry, table);
    } catch (const PurgentError&) {
        // A default of the wrong type, or one that cannot be written, ends
        // this catalogue only; the run goes on with the next phase.
    }
}

}  // namespace purgent
