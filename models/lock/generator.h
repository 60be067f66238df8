#pragma once
// Gives birth to the ships of this model, at exponential intervals.

#include <string>

#include "kernel/distribution.h"
#include "kernel/element.h"

namespace zorva {

inline constexpr std::int32_t ArrivalSeed = 520623;
inline constexpr double MeanArrivalInterval = 40.0;
inline constexpr std::int32_t AttributeSeed = 31659442;
inline constexpr double LowestAttribute = 15.0;
inline constexpr double HighestAttribute = 30.0;

class TLockModel;

class TGenerator : public ZorvaElement {
public:
    TGenerator(const std::string& name, TLockModel& model);
    void Process() override;

    TExponentialDistribution ArrivalDistribution;
    TUniformDistribution AttributeDistribution;

private:
    TLockModel& model_;
};

}  // namespace zorva
