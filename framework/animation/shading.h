#pragma once

/// \file
/// Colour arithmetic of the renderer: 24-bit colours reduced to 5-5-5 pixels,
/// and the 32 shade levels (0 black, 15 unchanged, 31 white).

#include <algorithm>
#include <array>
#include <cstdint>

#include "animation/mesh.h"

namespace zorva {

inline constexpr std::int32_t kShadeLevels = 32;
inline constexpr std::int32_t kNeutralShade = 15;

/// Each 8-bit channel scaled to 0..31 and packed red, green, blue from the top.
std::uint16_t ColorTo16(TColor colour);

/// Each channel c moved towards white by level / 31 (0.032258 per level) of
/// its distance to 255.
TColor LightenColor(TColor colour, float level);

class TShadeTable {
public:
    TShadeTable();

    /// The 5-bit channel value c at a shade level; levels outside 0..31 count
    /// as the nearest one, so a stray face level cannot index past the table.
    std::int32_t At(std::int32_t c, std::int32_t level) const {
        return table_[c][std::clamp(level, 0, kShadeLevels - 1)];
    }

private:
    std::array<std::array<std::int32_t, kShadeLevels>, kShadeLevels> table_{};
};

/// Every channel of a 5-5-5 texel looked up at the shade level.
std::uint16_t ShadeTexel(const TShadeTable& table, std::uint16_t texel, std::int32_t level);

}  // namespace zorva
