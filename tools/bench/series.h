#pragma once
// purgent-bench --series: the simulated run's cost on generated images of
// growing size.

namespace purgent::bench {

// Prints one table row per image size (the medians of five rounds) and the
// growth per added key and profile, up to a machine of 500,000 keys and 40
// profiles; each size is measured in a child process of its own so that its
// peak memory is its own.
void BenchSeries();

}  // namespace purgent::bench
