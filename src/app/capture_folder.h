#pragma once
// The folder a preview's capture goes to, made ready before anything of the
// machine is read, so that no capture overwrites another.
#include <string>

#include "platform/file_service.h"

namespace purgent {

// Creates the folder, or takes an existing empty one after writing a file
// there and removing it again. Returns the text of the error box, "" when
// the folder is ready; created tells whether it was made here.
std::string PrepareCaptureFolder(FileService& files, const std::string& folder, bool& created);

}  // namespace purgent
