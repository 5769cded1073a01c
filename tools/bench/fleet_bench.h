#pragma once
// purgent-bench --fleet: how long purgent-fleet takes for a fleet.

namespace purgent::bench {

// Writes 1,000 run logs of the demo's size (the demo run's own log, each
// under a computer name of its own, in ten subfolders) to a temporary folder
// and prints the median and best of repeated rounds of reading them all, and
// of the whole report (reading, summary, CSV and page written).
void BenchFleet();

}  // namespace purgent::bench
