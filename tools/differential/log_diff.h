#pragma once
// The event-by-event comparison of the real program's run log with the one
// purgent-sim wrote for the same run.
#include <cstddef>
#include <string>

#include "image/machine_image.h"
#include "machine_diff.h"

namespace purgent::differential {

// Adds a line for every event only one of the two logs holds, the header
// lines left out, in any case (a real machine keeps the spelling a name was
// created with). The keys a DLL's own unregistration removes are deleted by
// regsvr32, which only the simulator records: they are left out of its log.
// The real program's events about keys, values and files the image does not
// name are about Wine's own data and are left out. An event about something
// a rule covers is set apart with the rule, and so is a status-bar item that
// names it, with the progress step it takes; the progress is compared by
// its steps. A change the real program made where Wine opens a protected key
// is taken out of its log first: Windows refuses it. Returns how many
// status-bar events were compared.
// Whether a run log holds events (a run that wrote none was not compared).
bool HasEvents(const std::string& log);

std::size_t CompareLogs(const std::string& wineLog, const std::string& simLog, const image::MachineImage& generated,
                 Findings& findings);

}  // namespace purgent::differential
