#include "animation/dib16.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zorva {
namespace {

constexpr std::uint16_t kBack = 0x0421;
constexpr std::uint16_t kInk = 0x7C00;

TEST(Dib16Layout, ThreePixelRowsArePaddedToEightBytes) {
    TDIB16bit surface(2, 3);
    EXPECT_EQ(surface.Stride(), 8);
    // Row 1 starts 8 bytes (4 pixels) after row 0.
    surface.SetPixel(2, 1, 0x1234);
    EXPECT_EQ(surface.Pixels()[4 + 2], 0x1234);
    EXPECT_EQ(surface.GetPixel(2, 1), 0x1234);
    EXPECT_EQ(surface.Rows()[1], surface.Pixels() + 4);
}

TEST(Dib16Layout, ClearPixelsFillsThePaddingToo) {
    TDIB16bit surface(2, 3);
    surface.ClearPixels(0x2A55);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(surface.Pixels()[i], 0x2A55) << "word " << i;
}

TEST(Dib16Layout, DepthStartsAtZeroAndClearsToMinusOneE38) {
    TDIB16bit surface(1, 1);
    EXPECT_EQ(surface.DepthAt(1023, 767), 0.0f);
    surface.ClearDepth();
    EXPECT_EQ(std::bit_cast<std::uint32_t>(surface.DepthAt(0, 0)), 0xFE967699u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(surface.DepthAt(1023, 767)), 0xFE967699u);
}

TEST(Dib16Layout, SurfaceWithoutPixelsIgnoresDrawing) {
    TDIB16bit surface(0, 0);
    surface.ClearPixels(kInk);
    surface.DrawSpan(0, 0, 10, 1.0f, 1.0f, kInk, true);
    EXPECT_EQ(surface.Pixels(), nullptr);
}

class Dib16Span : public ::testing::Test {
protected:
    // Higher and wider than the depth buffer, so the cuts at 767 and 1023 show.
    Dib16Span() : surface_(800, 1100) {
        surface_.ClearPixels(kBack);
        surface_.ClearDepth();
    }
    TDIB16bit surface_;
};

TEST_F(Dib16Span, ReversedEndsDrawNothingFilledButBothEndsUnfilled) {
    surface_.DrawSpan(3, 20, 10, 5.0f, 7.0f, kInk, true);
    for (int x = 0; x < 40; ++x) EXPECT_EQ(surface_.GetPixel(x, 3), kBack) << x;

    surface_.DrawSpan(4, 20, 10, 5.0f, 7.0f, kInk, false);
    for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(surface_.GetPixel(x, 4), x == 10 || x == 20 ? kInk : kBack) << x;
    }
    EXPECT_EQ(surface_.DepthAt(20, 4), 5.0f);
    EXPECT_EQ(surface_.DepthAt(10, 4), 7.0f);
}

TEST_F(Dib16Span, RowsOutsideTheDepthBufferDrawNothing) {
    surface_.DrawSpan(768, 0, 1099, 1.0f, 1.0f, kInk, true);
    surface_.DrawSpan(-1, 0, 1099, 1.0f, 1.0f, kInk, true);
    for (int x = 0; x < 1100; ++x) {
        ASSERT_EQ(surface_.GetPixel(x, 768), kBack) << x;
        ASSERT_EQ(surface_.GetPixel(x, 0), kBack) << x;
    }
    surface_.DrawSpan(767, 0, 0, 1.0f, 1.0f, kInk, true);
    EXPECT_EQ(surface_.GetPixel(0, 767), kInk);
}

TEST_F(Dib16Span, EndsAreCutAtTheBufferAndDepthRunsBetweenTheCuts) {
    // Cut at 1023: the step comes from (1000, 0) to (1023, 23), one per column.
    surface_.DrawSpan(5, 1000, 1100, 0.0f, 23.0f, kInk, true);
    EXPECT_EQ(surface_.DepthAt(1000, 5), 0.0f);
    EXPECT_EQ(surface_.DepthAt(1010, 5), 10.0f);
    EXPECT_EQ(surface_.DepthAt(1023, 5), 23.0f);
    EXPECT_EQ(surface_.GetPixel(1023, 5), kInk);
    EXPECT_EQ(surface_.GetPixel(1024, 5), kBack);
    EXPECT_EQ(surface_.GetPixel(1099, 5), kBack);

    // Cut at 0: from (0, 0) to (10, 10).
    surface_.DrawSpan(6, -50, 10, 0.0f, 10.0f, kInk, true);
    EXPECT_EQ(surface_.DepthAt(0, 6), 0.0f);
    EXPECT_EQ(surface_.DepthAt(4, 6), 4.0f);
    EXPECT_EQ(surface_.DepthAt(10, 6), 10.0f);
}

TEST_F(Dib16Span, EqualDepthWinsAndFartherLoses) {
    surface_.DrawSpan(7, 0, 9, TDIB16bit::kFarthestDepth, TDIB16bit::kFarthestDepth, 1, true);
    EXPECT_EQ(surface_.GetPixel(5, 7), 1);
    surface_.DrawSpan(7, 0, 9, -3.0f, -3.0f, 2, true);
    surface_.DrawSpan(7, 0, 9, -3.0f, -3.0f, 3, true);
    EXPECT_EQ(surface_.GetPixel(5, 7), 3);
    surface_.DrawSpan(7, 0, 9, -3.5f, -3.5f, 4, true);
    surface_.DrawSpan(7, 4, 4, -3.5f, -3.5f, 4, false);
    EXPECT_EQ(surface_.GetPixel(4, 7), 3);
}

TEST_F(Dib16Span, NanNeverWins) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    surface_.DrawSpan(8, 0, 9, nan, nan, kInk, true);
    surface_.DrawSpan(8, 0, 9, nan, nan, kInk, false);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(surface_.GetPixel(x, 8), kBack) << x;

    // A NaN end poisons the step: only the first column keeps a real depth.
    surface_.DrawSpan(9, 0, 9, -1.0f, nan, kInk, true);
    EXPECT_EQ(surface_.GetPixel(0, 9), kInk);
    EXPECT_EQ(surface_.GetPixel(1, 9), kBack);
    EXPECT_FALSE(std::isnan(surface_.DepthAt(1, 9)));
}

TEST(Dib16SmallSurface, SpansStayInsideTheSurface) {
    TDIB16bit surface(4, 5);  // 12 bytes per row: one padding word
    surface.ClearPixels(kBack);
    surface.ClearDepth();
    surface.DrawSpan(1, -10, 1023, 0.0f, 9.0f, kInk, true);
    surface.DrawSpan(2, 900, 3000, 0.0f, 9.0f, kInk, false);
    for (int y = 4; y < 768; ++y) surface.DrawSpan(y, 0, 1023, 1.0f, 1.0f, kInk, true);

    const std::uint16_t* words = surface.Pixels();
    for (int x = 0; x < 5; ++x) EXPECT_EQ(words[6 + x], kInk) << x;
    EXPECT_EQ(words[6 + 5], kBack) << "padding of row 1";
    EXPECT_EQ(words[12 + 4], kInk) << "both ends cut to the last column";
    EXPECT_EQ(words[12 + 5], kBack) << "padding of row 2";
    EXPECT_EQ(words[18 + 4], kBack) << "top row untouched";
    // Cut to column 4, the span still ends at depth 9.
    EXPECT_EQ(surface.DepthAt(4, 1), 9.0f);
    EXPECT_EQ(surface.DepthAt(5, 1), TDIB16bit::kFarthestDepth);
}

}  // namespace
}  // namespace zorva
