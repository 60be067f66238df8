#pragma once

/// \file
/// Seeded random streams for models.
///
/// Every distribution object carries its own seed, so each stream is
/// independent and a run is reproducible from the seeds written in the model.
/// All classes share one multiplicative congruential generator:
///   seed' = (seed * 16807) mod 2^31,   u = seed' / (2^31 - 1),   u in [0, 1].
/// A seed of 0 or -2147483648 stays 0 for ever; an even seed stays even.

#include <cstdint>

namespace zorva {

class TDistribution {
public:
    explicit TDistribution(std::int32_t seed);
    virtual ~TDistribution() = default;

    /// One draw; advances the seed exactly once. The base class returns u.
    virtual double Sample();

    /// The mean given at construction; 0 for the base class, although its
    /// samples average 0.5.
    double Mean() const { return meanValue_; }

    /// The seed after the draws made so far.
    std::int32_t CurrentSeed() const { return seed_; }

protected:
    TDistribution(std::int32_t seed, double mean);

    /// Advances the seed and returns u.
    double NextUniform();

private:
    std::int32_t seed_;
    double meanValue_;
};

/// -ln(u) * mean.
class TExponentialDistribution : public TDistribution {
public:
    TExponentialDistribution(std::int32_t seed, double mean);
    double Sample() override;
};

/// lower + u * (upper - lower). The bounds are not ordered: built with
/// lower 30 and upper 15 it yields 30 - 15 u, the same range.
class TUniformDistribution : public TDistribution {
public:
    TUniformDistribution(std::int32_t seed, double lower, double upper);
    double Sample() override;

    double Lower() const { return lower_; }
    double Upper() const { return upper_; }

private:
    double lower_;
    double upper_;
};

}  // namespace zorva
