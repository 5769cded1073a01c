#pragma once
// Large machine images for measuring cost at scale: a footprint image (the
// client installed on a workstation) with deterministic bulk on top that
// belongs to other programs and must survive a run.
#include "image/machine_image.h"

namespace purgent::generator {

struct ImageSizes {
    int profiles = 0;       // user profiles added, each with its own hive
    int keysPerHive = 0;    // other programs' keys in each added hive
    int bystanderKeys = 0;  // other programs' keys machine-wide
    int components = 0;     // Windows Installer components of other products
};

// Machine-wide keys of other programs and their installer components.
image::RegistryKeys BystanderKeys(const ImageSizes& sizes);
// Other programs' keys in the hive of added profile number `profile`.
image::RegistryKeys ProfileBulkKeys(const ImageSizes& sizes, int profile);
// The profile folder of added profile number `profile`.
std::string ProfileFolder(int profile);
// The footprint with the bulk added: each added profile is listed in the
// ProfileList and its hive holds a copy of the footprint's first hive that is
// not in use, then its bulk keys. Throws ImageError when the footprint has no
// such hive while profiles are asked for.
image::MachineImage GenerateImage(image::MachineImage footprint, const ImageSizes& sizes);
// The hive file whose copy each added profile gets.
const image::DriveItem& TemplateHive(const image::MachineImage& footprint);

}  // namespace purgent::generator
