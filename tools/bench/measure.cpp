#include "measure.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace purgent::bench {

Figures Measure(int rounds, const std::function<void()>& prepare, const std::function<void()>& timed) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        prepare();
        const Clock::time_point start = Clock::now();
        timed();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

}  // namespace purgent::bench
