#include "registry/catalogue_steps.h"

namespace purgent {

// The open calls of these steps are checked rather than relied on to fail
// harmlessly: an unchecked failure would leave a previously open key current
// and act on it.

void DeleteKeyTrees(RegistryAccess& registry, const CatalogueKeys& keys, bool withWritingTools) {
    for (const CatalogueKey& key : keys) {
        if (key.guard == KeyGuard::WritingToolsOnly && !withWritingTools) continue;
        registry.DeleteKeyTree(key.path);
    }
}

void DeleteValueIfPresent(RegistryAccess& registry, const std::string& path, const Names& names) {
    if (!registry.OpenKey(path)) return;
    for (const std::string& name : names) {
        if (registry.ValueExists(name)) registry.DeleteValue(name);
    }
    registry.CloseKey();
}

void BlankDefaultIfContains(RegistryAccess& registry, const DefaultHandler& handler) {
    if (!registry.OpenKey(handler.path)) return;
    const std::string text = registry.ReadString("");
    for (const std::string& marker : handler.markers) {
        if (Contains(text, marker)) registry.WriteString("", "");
    }
    registry.CloseKey();
}

void DeleteValuesNamed(RegistryAccess& registry, const std::string& path,
                       const std::function<bool(const std::string& name)>& doomed) {
    if (!registry.OpenKey(path)) return;
    for (const std::string& name : registry.GetValueNames()) {
        if (doomed(name)) registry.DeleteValue(name);
    }
    registry.CloseKey();
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

Names SubkeyNames(RegistryAccess& registry, const std::string& path) {
    Names names;
    if (registry.OpenKey(path)) {
        names = registry.GetKeyNames();
        registry.CloseKey();
    }
    return names;
}

}  // namespace purgent
