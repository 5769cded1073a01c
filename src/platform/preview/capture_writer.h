#pragma once
// Writes a capture as a machine image folder (registry.reg, machine.ini,
// drive/<letter>/...) through a file service.
#include <string>

#include "image/machine_image.h"
#include "platform/file_service.h"

namespace purgent {

// False when any part could not be written.
bool WriteCapture(const image::MachineImage& captured, const std::string& folder, FileService& files);

}  // namespace purgent
