#pragma once
// Timing figures: the median and the best of repeated rounds.
#include <functional>

namespace purgent::bench {

struct Figures {
    double median;
    double best;
};

// Milliseconds of `timed`, each of the rounds after a fresh `prepare`.
Figures Measure(int rounds, const std::function<void()>& prepare, const std::function<void()>& timed);

}  // namespace purgent::bench
