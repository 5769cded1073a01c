#pragma once
// purgent-bench --series: the simulated run's cost on generated images of
// growing size.

namespace purgent::bench {

// Prints one table row per image size and the growth per added key and
// profile; each size is measured in a child process of its own so that its
// peak memory is its own.
void BenchSeries();

}  // namespace purgent::bench
