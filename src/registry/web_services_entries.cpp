#include "registry/catalogue_steps.h"
#include "registry/machinewide_registry.h"

namespace purgent {

namespace {

// Reference counts of GroupWise files (always), Writing Tools files and XML 4
// files (each under its option). Names are tested in the platform's lower
// case and deleted by their own spelling.
void SharedDllSweep(RunContext& ctx, const WebServicesEntriesTable& table) {
    const bool writingTools = ctx.Checked(Option::WritingTools);
    const bool webServices = ctx.Checked(Option::WebServices);
    DeleteValuesNamed(ctx.registry, table.sharedDlls, [&](const std::string& name) {
        const std::string lower = ctx.platform.text.LowerCase(name);
        return Contains(lower, table.groupWiseMarker) || Contains(lower, table.clientMarker) ||
               (writingTools && Contains(lower, table.writingToolsMarker)) ||
               (webServices && Contains(lower, table.webServicesMarker));
    });
}

// Deleted without a presence test; an absent one fails without effect.
void DeleteHelpFiles(RegistryAccess& registry, const ValueSet& helpFiles) {
    if (!registry.OpenKey(helpFiles.path)) return;
    for (const std::string& name : helpFiles.names) registry.DeleteValue(name);
    registry.CloseKey();
}

}  // namespace

void CleanWebServicesEntries(RunContext& ctx) {
    RegistryAccess& registry = ctx.registry;
    const WebServicesEntriesTable& table = WebServicesEntries();
    registry.SetRootKey(HkeyLocalMachine);
    DeleteHelpFiles(registry, table.helpFiles);
    if (ctx.Checked(Option::WebServices)) DeleteKeyTrees(registry, table.webServicesTrees, true);
    SharedDllSweep(ctx, table);
    for (const DefaultHandler& handler : table.defaultHandlers) BlankDefaultIfContains(registry, handler);
    DeleteValueIfPresent(registry, table.mapiApps.path, table.mapiApps.names);
}

}  // namespace purgent
