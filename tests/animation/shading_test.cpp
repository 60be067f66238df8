#include "animation/shading.h"

#include <gtest/gtest.h>

#include "animation/camera.h"

namespace zorva {
namespace {

TEST(ColorTo16, ScalesEachChannelToFiveBits) {
    EXPECT_EQ(ColorTo16(RGBColor(255, 255, 255)), 32767);
    EXPECT_EQ(ColorTo16(RGBColor(255, 0, 0)), 31744);
    EXPECT_EQ(ColorTo16(RGBColor(0, 0, 0)), 0);
    EXPECT_EQ(ColorTo16(RGBColor(0, 255, 0)), 992);
    EXPECT_EQ(ColorTo16(RGBColor(0, 0, 255)), 31);
    // 128 -> 15.5 -> 16 (tie to even), 100 -> 12.11 -> 12, 5 -> 0.61 -> 1.
    EXPECT_EQ(ColorTo16(RGBColor(128, 100, 5)), 16 * 1024 + 12 * 32 + 1);
    // The fourth byte (system colour flags) is ignored.
    EXPECT_EQ(ColorTo16(0xFF000000u | RGBColor(255, 0, 0)), 31744);
}

TEST(LightenColor, MovesChannelsTowardsWhite) {
    // 255 * 0.032258 * 4 = 32.90 -> 33; at level 31 the whole way.
    EXPECT_EQ(LightenColor(RGBColor(0, 0, 0), 4.0f), RGBColor(33, 33, 33));
    EXPECT_EQ(LightenColor(RGBColor(0, 128, 255), 31.0f), RGBColor(255, 255, 255));
}

TEST(ShadeTable, DarkensBelowFifteenAndLightensAbove) {
    const TShadeTable table;
    for (int c = 0; c < 32; ++c) {
        EXPECT_EQ(table.At(c, 0), 0) << c;
        EXPECT_EQ(table.At(c, 15), c) << c;
        EXPECT_EQ(table.At(c, 31), 31) << c;
    }
    EXPECT_EQ(table.At(31, 8), 17);   // 8 * 2.0667 = 16.53
    EXPECT_EQ(table.At(31, 4), 8);    // 4 * 2.0667 = 8.27
    EXPECT_EQ(table.At(0, 20), 10);   // 5 * 1.9375 = 9.69
    EXPECT_EQ(table.At(0, 23), 16);   // 8 * 1.9375 = 15.5, tie to even
    EXPECT_EQ(table.At(30, 23), 30);  // 8 * 0.0625 + 30 = 30.5, tie to even
    // 23/15 held in single precision is just below 23/15, so 0.5 + 23 - e
    // stays below the tie.
    EXPECT_EQ(table.At(23, 16), 23);
}

TEST(ShadeTexel, LevelFifteenKeepsTheTexel) {
    const TShadeTable table;
    for (std::uint16_t texel : {0, 1, 0x1234, 21140, 32767}) {
        EXPECT_EQ(ShadeTexel(table, texel, 15), texel) << texel;
        EXPECT_EQ(ShadeTexel(table, texel, 0), 0) << texel;
        EXPECT_EQ(ShadeTexel(table, texel, 31), 32767) << texel;
    }
    EXPECT_EQ(ShadeTexel(table, 32767, 4), 8 * 1024 + 8 * 32 + 8);
    EXPECT_EQ(ShadeTexel(table, 32767, 200), 32767) << "levels beyond 31 count as 31";
}

TEST(Rotate, TurnsAboutTheSelectedAxesInTheOrderXYZ) {
    const auto expect_vector = [](TVector3 v, float x, float y, float z) {
        EXPECT_FLOAT_EQ(v.X, x);
        EXPECT_FLOAT_EQ(v.Y, y);
        EXPECT_FLOAT_EQ(v.Z, z);
    };
    // A quarter turn: s = 1, c = 0.
    expect_vector(Rotate({0, 1, 0}, 1, 0, 0, 1, 0), 0, 0, 1);
    expect_vector(Rotate({1, 0, 0}, 0, 1, 0, 1, 0), 0, 0, -1);
    expect_vector(Rotate({1, 0, 0}, 0, 0, 1, 1, 0), 0, 1, 0);
    expect_vector(Rotate({1, 2, 3}, 0, 0, 0, 1, 0), 1, 2, 3);
    // x before y: x leaves (1, 0, 0) alone, y then turns it to -z.
    expect_vector(Rotate({1, 0, 0}, 1, 1, 0, 1, 0), 0, 0, -1);
}

}  // namespace
}  // namespace zorva
