#pragma once
#include <functional>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "platform/sim/sim_drive.h"
#include "platform/sim/sim_registry.h"

namespace purgent::sim {

// A command line split the way a Windows program's C runtime builds argv:
// blanks and tabs separate, double quotes group (and are dropped), a
// backslash escapes a quote.
std::vector<std::string> SplitArguments(const std::string& commandLine);

// The registration tool of the simulated workstation ("regsvr32.exe"). With
// "/u", each DLL named on its command line that is a file of the drive and
// has a [dll] section of the image loses the keys that section lists, as its
// own unregistration would remove them. A path split at a blank names other
// files and changes nothing. Registering ("/u" absent) adds nothing: the
// image's registry already holds what the DLLs registered. Each key it
// deletes is told to keyDeleted: a change no trace of Purgent's own calls sees.
class SimRegsvr {
public:
    using KeyDeleted = std::function<void(const std::string& path)>;

    SimRegsvr(const SimDrive& drive, SimRegistry& registry, const std::vector<image::DllEntry>& dlls,
              KeyDeleted keyDeleted)
        : drive_(drive), registry_(registry), dlls_(dlls), keyDeleted_(std::move(keyDeleted)) {}

    void Run(const std::string& commandLine);

private:
    void Unregister(const std::string& dll);

    const SimDrive& drive_;
    SimRegistry& registry_;
    const std::vector<image::DllEntry>& dlls_;
    KeyDeleted keyDeleted_;
};

}  // namespace purgent::sim
