#include "animation/shading.h"

#include <algorithm>

#include "animation/screen_round.h"

namespace zorva {

namespace {

constexpr std::int32_t kChannelMask = 0x1F;

std::int32_t Channel(TColor colour, int shift) {
    return static_cast<std::int32_t>(colour >> shift & 0xFF);
}

std::int32_t ChannelTo5(std::int32_t c) {
    // c / 2.56 * 0.31, i.e. 0..255 onto 0..31; each product is held in single
    // precision before the next step.
    const float scaled = static_cast<float>(c) * 0.390625f;
    return RoundEven(static_cast<float>(static_cast<double>(scaled) * 0.31));
}

std::int32_t LightenChannel(std::int32_t c, float level) {
    // The channel's distance to white, covered by level / 31.
    const std::int32_t lifted = c + RoundEven((255 - c) * 0.032258 * static_cast<double>(level));
    return std::clamp(lifted, 0, 255);
}

}  // namespace

std::uint16_t ColorTo16(TColor colour) {
    return static_cast<std::uint16_t>(ChannelTo5(Channel(colour, 0)) * 1024 + ChannelTo5(Channel(colour, 8)) * 32 +
                                      ChannelTo5(Channel(colour, 16)));
}

TColor LightenColor(TColor colour, float level) {
    return RGBColor(static_cast<std::uint8_t>(LightenChannel(Channel(colour, 0), level)),
                    static_cast<std::uint8_t>(LightenChannel(Channel(colour, 8), level)),
                    static_cast<std::uint8_t>(LightenChannel(Channel(colour, 16), level)));
}

TShadeTable::TShadeTable() {
    for (std::int32_t c = 0; c < kShadeLevels; ++c) {
        // The channel's value per level below neutral, held in single precision.
        const double per_level = static_cast<float>(c / 15.0);
        // The channel's distance to 31 spread over the 16 levels above neutral.
        const double lift_per_level = static_cast<float>((31 - c) * 0.0625);
        for (std::int32_t level = 0; level < kShadeLevels; ++level) {
            if (level <= kNeutralShade) {
                // Darkening: proportional, reaching black at level 0.
                table_[c][level] = RoundEven(level * per_level);
            } else {
                // Lightening: linear from the channel itself towards 31 at level 31.
                table_[c][level] = RoundEven((level - kNeutralShade) * lift_per_level + per_level * 15);
            }
        }
    }
}

std::uint16_t ShadeTexel(const TShadeTable& table, std::uint16_t texel, std::int32_t level) {
    const std::int32_t r = table.At(texel >> 10 & kChannelMask, level);
    const std::int32_t g = table.At(texel >> 5 & kChannelMask, level);
    const std::int32_t b = table.At(texel & kChannelMask, level);
    return static_cast<std::uint16_t>(r * 1024 + g * 32 + b);
}

}  // namespace zorva
