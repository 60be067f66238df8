#include "kernel/distribution.h"

#include <cmath>

namespace zorva {

namespace {

constexpr std::int64_t kMultiplier = 16807;
constexpr std::int64_t kSeedMask = 0x7FFFFFFF;  // low 31 bits: modulo 2^31
constexpr double kDivisor = 2147483647.0;       // 2^31 - 1

}  // namespace

TDistribution::TDistribution(std::int32_t seed) : TDistribution(seed, 0.0) {}

TDistribution::TDistribution(std::int32_t seed, double mean) : seed_(seed), meanValue_(mean) {}

double TDistribution::Sample() {
    return NextUniform();
}

double TDistribution::NextUniform() {
    seed_ = static_cast<std::int32_t>((seed_ * kMultiplier) & kSeedMask);
    return seed_ / kDivisor;
}

TExponentialDistribution::TExponentialDistribution(std::int32_t seed, double mean) : TDistribution(seed, mean) {}

double TExponentialDistribution::Sample() {
    // u = 0 (seeds 0 and -2^31 only) counts as the smallest u > 0, giving mean * ln(2^31 - 1).
    const long double u = std::fmax(NextUniform(), 1.0 / kDivisor);
    return static_cast<double>(-std::log(u) * static_cast<long double>(Mean()));
}

TUniformDistribution::TUniformDistribution(std::int32_t seed, double lower, double upper)
    : TDistribution(seed, (lower + upper) / 2), lower_(lower), upper_(upper) {}

double TUniformDistribution::Sample() {
    const long double u = NextUniform();
    const long double lower = lower_;
    return static_cast<double>(lower + u * (static_cast<long double>(upper_) - lower));
}

}  // namespace zorva
