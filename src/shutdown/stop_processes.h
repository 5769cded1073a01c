#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"

namespace purgent {

// The programs that may hold GroupWise, Messenger or Outlook files and keys
// open, in the order they are stopped.
const std::vector<std::string>& ProcessesToStop();

// One KillProcessByName per name, whatever the options; the results do not
// matter, the window survey checks that the programs are gone.
void StopProcesses(Platform& platform);

}  // namespace purgent
