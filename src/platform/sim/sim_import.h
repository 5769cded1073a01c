#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "image/machine_image.h"
#include "platform/sim/sim_key.h"

namespace purgent::sim {

// The key below `from` at parts[first...], or nullptr; creates nothing.
std::shared_ptr<SimKey> FindPath(std::shared_ptr<SimKey> from, const std::vector<std::string_view>& parts,
                                 std::size_t first);

// The key a path's names below its first one start from (the root that
// names), or nullptr to skip the path; valid is SplitPath's verdict.
using PathStart = std::function<std::shared_ptr<SimKey>(const std::vector<std::string_view>& parts, bool valid)>;

// Imports a .reg document as regedit does, key by key in the order written:
// a key is created with its parents, a deleted one goes with its subtree.
// The cost is linear in the document.
void ImportKeys(const image::RegistryKeys& keys, const PathStart& startOf);

}  // namespace purgent::sim
