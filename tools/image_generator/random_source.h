#pragma once
// The random numbers of a generated workstation: splitmix64, so a seed gives
// the same numbers on every run, compiler and platform.
#include <cstdint>
#include <string>
#include <vector>

namespace purgent::generator {

class RandomSource {
public:
    explicit RandomSource(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t x = (state_ += 0x9E3779B97F4A7C15ull);
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }
    // 0 .. count-1
    int Below(int count) { return count > 0 ? static_cast<int>(Next() % static_cast<std::uint64_t>(count)) : 0; }
    // True with the given chance in percent.
    bool Percent(int chance) { return Below(100) < chance; }
    template <typename T>
    const T& Pick(const std::vector<T>& choices) { return choices[static_cast<std::size_t>(Below(static_cast<int>(choices.size())))]; }

private:
    std::uint64_t state_;
};

}  // namespace purgent::generator
