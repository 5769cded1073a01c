#pragma once
// The step forms the machine-wide catalogues are written in.
#include <functional>
#include <string>

#include "registry/machinewide_tables.h"
#include "registry/registry_access.h"

namespace purgent {

// DeleteKeyTree of each key in order; keys guarded by the Writing Tools are
// passed over, without a report, unless withWritingTools.
void DeleteKeyTrees(RegistryAccess& registry, const CatalogueKeys& keys, bool withWritingTools);

// Deletes each listed value of the key that exists. No report, no progress.
void DeleteValueIfPresent(RegistryAccess& registry, const std::string& path, const Names& names);

// Empties the key's unnamed default when the text read once contains one of
// the markers (case-sensitive). The key itself stays. A default that is not a
// string raises the accessor's PurgentError.
void BlankDefaultIfContains(RegistryAccess& registry, const DefaultHandler& handler);

// Deletes every value of the key whose name is doomed, walking a snapshot of
// the names taken first. Nothing happens when the key does not open.
void DeleteValuesNamed(RegistryAccess& registry, const std::string& path,
                       const std::function<bool(const std::string& name)>& doomed);

// Case-sensitive substring test.
bool Contains(const std::string& text, const std::string& part);

// The subkey names of a key, none when it does not open.
Names SubkeyNames(RegistryAccess& registry, const std::string& path);

}  // namespace purgent
