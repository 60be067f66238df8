#pragma once

// Rounding of renderer arithmetic to whole pixels and levels.

#include <cmath>
#include <cstdint>

namespace zorva {

// Far beyond any surface, yet differences of two such values stay well inside
// 32 bits.
inline constexpr std::int32_t kScreenLimit = 1 << 28;

// Nearest integer, ties to even. The value is saturated at +-kScreenLimit and
// NaN gives 0, so a point projected from next to the camera plane cannot
// overflow the integer coordinates.
inline std::int32_t RoundEven(double value) {
    if (std::isnan(value)) return 0;
    value = std::fmin(std::fmax(value, -kScreenLimit), kScreenLimit);
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return static_cast<std::int32_t>(whole);
}

}  // namespace zorva
