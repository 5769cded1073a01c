#pragma once
#include <string>
#include <vector>

#include "image/machine_image.h"

namespace purgent::sim {

// A bare workstation holding these (empty) files.
inline image::MachineImage ImageWithFiles(const std::vector<std::string>& files) {
    image::MachineImage image;
    for (const std::string& file : files) image.drive.push_back({file, false, {}});
    return image;
}

}  // namespace purgent::sim
