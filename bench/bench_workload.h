#pragma once
// The workload Zorva and its peers share, so that their figures compare the
// same thing: one exponential stream with a fixed seed, and about a million
// events per run whatever the number of processes.

#include <algorithm>
#include <cstdint>
#include <random>

namespace zorva::bench {

inline constexpr std::uint64_t kSeed = 20240611;
inline constexpr double kMeanHold = 1.0;
inline constexpr long kEventsPerRun = 1'000'000;

inline long HoldsPerProcess(long processes) {
    return std::max(10L, kEventsPerRun / processes);
}

// Every start and every resumption after a hold is one event.
inline long EventsPerRun(long processes) {
    return processes * (HoldsPerProcess(processes) + 1);
}

class ExponentialDurations {
public:
    explicit ExponentialDurations(std::uint64_t seed = kSeed, double mean = kMeanHold)
        : engine_(seed), distribution_(1.0 / mean) {}
    double Next() { return distribution_(engine_); }

private:
    std::mt19937_64 engine_;
    std::exponential_distribution<double> distribution_;
};

}  // namespace zorva::bench
