#pragma once

#include <cstdint>
#include <span>
#include <string>

// A small deterministic generator (splitmix64): the same seed gives the same sample on every
// platform and standard library, which the standard distributions do not promise.
class CSampleRandom {
public:
    explicit CSampleRandom(uint64_t seed) : m_state(seed) {}

    uint64_t Next();
    // Uniform in low..high (inclusive).
    int32_t Range(int32_t low, int32_t high);
    bool Chance(int percent) { return Range(0, 99) < percent; }
    template <typename T> const T& Pick(std::span<const T> items) {
        return items[static_cast<size_t>(Range(0, static_cast<int32_t>(items.size()) - 1))];
    }

private:
    uint64_t m_state;
};
