#pragma once
// What one generated workstation exercises in the differential check: the
// features a fault of the simulator could hide in, counted from the image
// and purgent-sim's traces of its option sets.
#include <map>
#include <string>
#include <vector>

#include "image/machine_image.h"

namespace purgent::differential {

// The table's rows, in order.
const std::vector<std::string>& CoverageRows();

// row -> how often the seed exercises it (0: not at all). traces: each
// option set's purgent-sim trace text.
std::map<std::string, int> CoverageOf(const image::MachineImage& generated, const std::vector<std::string>& traces);

}  // namespace purgent::differential
