#include "kernel/distribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace zorva {
namespace {

constexpr std::int32_t kMinSeed = std::numeric_limits<std::int32_t>::min();
constexpr double kDivisor = 2147483647.0;

struct Draw {
    std::int32_t NewSeed;
    double U;
    double Sample;
};

// The streams the lock models use, with their first three draws.
const std::vector<Draw> kExponentialDraws = {
    {160176169, 0.0745878, 103.8311},
    {1283861439, 0.5978446, 20.5770},
    {2090993817, 0.9736949, 1.0663},
};
const std::vector<Draw> kUniformDraws = {
    {1671780638, 0.7784835, 26.6773},
    {2088616082, 0.9725877, 29.5888},
    {602779966, 0.2806913, 19.2104},
};

void ExpectDraws(TDistribution& distribution, std::int32_t seed, const std::vector<Draw>& draws) {
    TDistribution uniform(seed);
    for (std::size_t i = 0; i < draws.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "draw " << i + 1);
        const double u = uniform.Sample();
        EXPECT_EQ(uniform.CurrentSeed(), draws[i].NewSeed);
        EXPECT_NEAR(u, draws[i].U, 0.5e-7);
        EXPECT_NEAR(distribution.Sample(), draws[i].Sample, 0.5e-4);
        EXPECT_EQ(distribution.CurrentSeed(), draws[i].NewSeed);
    }
}

// The seed whose next seed is 1: the inverse of 16807 modulo 2^31.
std::int32_t SeedBeforeOne() {
    std::uint32_t inverse = 16807;  // Newton's iteration doubles the correct low bits each step
    for (int i = 0; i < 5; ++i) inverse *= 2 - 16807 * inverse;
    return static_cast<std::int32_t>(inverse & 0x7FFFFFFF);
}

TEST(Distribution, ReproducesTheReferenceStreams) {
    TExponentialDistribution exponential(520623, 40.0);
    ExpectDraws(exponential, 520623, kExponentialDraws);
    TUniformDistribution uniform(31659442, 15.0, 30.0);
    ExpectDraws(uniform, 31659442, kUniformDraws);
}

TEST(Distribution, SameSeedGivesTheSameStream) {
    TExponentialDistribution first(520623, 40.0);
    TExponentialDistribution second(520623, 40.0);
    EXPECT_EQ(first.CurrentSeed(), 520623);
    first.Sample();
    EXPECT_EQ(first.CurrentSeed(), 160176169);
    second.Sample();
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(first.Sample(), second.Sample()) << "draw " << i + 2;
}

TEST(Distribution, NegativeSeedIsValid) {
    TDistribution distribution(-1);
    EXPECT_EQ(distribution.Sample(), 2147466841 / kDivisor);
    EXPECT_EQ(distribution.CurrentSeed(), 2147466841);
}

TEST(Distribution, EvenSeedStaysEven) {
    TDistribution distribution(31659442);
    for (int i = 0; i < 10000; ++i) {
        distribution.Sample();
        ASSERT_EQ(distribution.CurrentSeed() % 2, 0) << "draw " << i + 1;
    }
}

TEST(Distribution, ZeroSeedsGiveZeroForEver) {
    for (const std::int32_t seed : {0, kMinSeed}) {
        SCOPED_TRACE(seed);
        TDistribution distribution(seed);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(distribution.Sample(), 0.0);
            EXPECT_EQ(distribution.CurrentSeed(), 0);
        }
    }
}

TEST(Distribution, UReachesOneExactly) {
    // -SeedBeforeOne() is followed by 2^31 - 1, the largest seed.
    TDistribution distribution(-SeedBeforeOne());
    EXPECT_EQ(distribution.Sample(), 1.0);
    EXPECT_EQ(distribution.CurrentSeed(), 2147483647);
    EXPECT_EQ(TUniformDistribution(-SeedBeforeOne(), 15.0, 30.0).Sample(), 30.0);
    EXPECT_EQ(TExponentialDistribution(-SeedBeforeOne(), 40.0).Sample(), 0.0);
}

TEST(Distribution, SamplesStayInTheirRanges) {
    TDistribution plain(520623);
    TExponentialDistribution exponential(520623, 40.0);
    TUniformDistribution uniform(31659442, 15.0, 30.0);
    for (int i = 0; i < 10000; ++i) {
        const double u = plain.Sample();
        ASSERT_TRUE(u >= 0.0 && u <= 1.0) << u;
        const double x = exponential.Sample();
        ASSERT_TRUE(x >= 0.0 && x <= 40.0 * std::log(kDivisor)) << x;
        const double y = uniform.Sample();
        ASSERT_TRUE(y >= 15.0 && y <= 30.0) << y;
    }
}

TEST(Distribution, UniformDoesNotOrderItsBounds) {
    TUniformDistribution reversed(31659442, 30.0, 15.0);
    TDistribution plain(31659442);
    EXPECT_EQ(reversed.Mean(), 22.5);
    for (int i = 0; i < 100; ++i) {
        const double u = plain.Sample();
        const double sample = reversed.Sample();
        ASSERT_NEAR(sample, 30.0 - 15.0 * u, 1e-12);
        ASSERT_TRUE(sample >= 15.0 && sample <= 30.0) << sample;
    }
}

TEST(Distribution, MeanIsTheConstructedOne) {
    EXPECT_EQ(TExponentialDistribution(520623, 40.0).Mean(), 40.0);
    EXPECT_EQ(TUniformDistribution(31659442, 15.0, 30.0).Mean(), 22.5);
    TDistribution plain(520623);
    EXPECT_EQ(plain.Mean(), 0.0);
    double sum = 0.0;
    constexpr int kDraws = 100000;
    for (int i = 0; i < kDraws; ++i) sum += plain.Sample();
    EXPECT_NEAR(sum / kDraws, 0.5, 0.01);  // the samples average 0.5 all the same
    EXPECT_EQ(plain.Mean(), 0.0);
}

// u = 0 cannot be drawn from a proper seed; the exponential stream treats it
// as the smallest u the generator yields, so the degenerate seeds still give a
// finite sample (instead of an infinite hold) and a model's clock advances.
TEST(Distribution, ExponentialOfZeroUIsItsLargestSample) {
    const std::int32_t before_one = SeedBeforeOne();
    TDistribution check(before_one);
    check.Sample();
    ASSERT_EQ(check.CurrentSeed(), 1);
    const double largest = TExponentialDistribution(before_one, 40.0).Sample();
    EXPECT_NEAR(largest, 40.0 * std::log(kDivisor), 1e-9);

    for (const std::int32_t seed : {0, kMinSeed}) {
        SCOPED_TRACE(seed);
        TExponentialDistribution exponential(seed, 40.0);
        for (int i = 0; i < 3; ++i) {
            const double sample = exponential.Sample();
            EXPECT_TRUE(std::isfinite(sample));
            EXPECT_EQ(sample, largest);
        }
    }
}

}  // namespace
}  // namespace zorva
