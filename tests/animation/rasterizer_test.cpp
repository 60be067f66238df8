#include "animation/rasterizer.h"

#include <gtest/gtest.h>

#include "animation/shading.h"

namespace zorva {
namespace {

constexpr std::uint16_t kBack = 0x0421;
constexpr std::uint16_t kInk = 0x7C00;

class RowRasterizer : public ::testing::Test {
protected:
    RowRasterizer() : surface_(20, 30) {
        rows_.SetView(30, 20);
        surface_.ClearPixels(kBack);
        surface_.ClearDepth();
    }
    TDIB16bit surface_;
    TRowRasterizer rows_;
};

TEST_F(RowRasterizer, EdgesRoundColumnsHalfToEvenAndTrackTouchedRows) {
    // 2.5 columns per row: rows 0, 1, 2 get 0, 2.5 -> 2, 5.
    rows_.EdgeToRows({0, 0}, {5, 2}, -1.0f, -3.0f, surface_, kInk, false);
    EXPECT_EQ(rows_.Row(1).Left, 2);
    EXPECT_EQ(rows_.Row(1).Right, 2);
    EXPECT_EQ(rows_.Row(2).Left, 5);
    EXPECT_EQ(rows_.Row(1).LeftDepth, -2.0f);
    EXPECT_EQ(rows_.FirstRow(), 0);
    EXPECT_EQ(rows_.LastRow(), 2);

    rows_.EdgeToRows({9, 300}, {9, -5}, -1.0f, -1.0f, surface_, kInk, false);
    EXPECT_EQ(rows_.FirstRow(), 0);
    EXPECT_EQ(rows_.LastRow(), 19);
    EXPECT_EQ(rows_.Row(1).Right, 9);
    EXPECT_EQ(rows_.Row(1).Left, 2);
    EXPECT_EQ(rows_.Row(19).Left, 9);

    rows_.ResetRows();
    EXPECT_EQ(rows_.Row(1).Left, TRowRasterizer::kEmptyRow);
    EXPECT_EQ(rows_.FirstRow(), 21);
    EXPECT_EQ(rows_.LastRow(), -1);
}

TEST_F(RowRasterizer, HorizontalEdgesAreSpansInWireFrameOnly) {
    rows_.EdgeToRows({3, 4}, {8, 4}, -1.0f, -1.0f, surface_, kInk, false);
    rows_.EdgeToRows({8, 5}, {3, 5}, -1.0f, -1.0f, surface_, kInk, true);
    rows_.EdgeToRows({-5, 6}, {50, 6}, -1.0f, -1.0f, surface_, kInk, true);
    for (int x = 0; x < 30; ++x) {
        EXPECT_EQ(surface_.GetPixel(x, 4), kBack) << x;
        EXPECT_EQ(surface_.GetPixel(x, 5), kBack) << "right to left leaves no pixels, " << x;
        EXPECT_EQ(surface_.GetPixel(x, 6), kInk) << x;
    }
    EXPECT_EQ(rows_.LastRow(), -1) << "horizontal edges touch no row";
}

TEST_F(RowRasterizer, FillRowsClipsToTheViewAndShowsEndsWhenUnfilled) {
    rows_.EdgeToRows({-4, 2}, {-4, 3}, -1.0f, -1.0f, surface_, kInk, false);
    rows_.EdgeToRows({40, 2}, {10, 3}, -1.0f, -1.0f, surface_, kInk, false);
    rows_.FillRows(surface_, kInk, false);
    for (int x = 0; x < 30; ++x) {
        EXPECT_EQ(surface_.GetPixel(x, 2), x == 0 || x == 29 ? kInk : kBack) << x;
        EXPECT_EQ(surface_.GetPixel(x, 3), x == 0 || x == 10 ? kInk : kBack) << x;
    }
    rows_.FillRows(surface_, 7, true);
    for (int x = 0; x < 30; ++x) EXPECT_EQ(surface_.GetPixel(x, 2), 7) << x;
}

TEST_F(RowRasterizer, TexturedEdgesStepTruncatedFixedPointCoordinates) {
    // 127 * 256 / 3 = 10837 per row: rows 0..3 get u = 0, 42, 84, 126.
    rows_.TexturedEdge({0, 3}, {0, 0}, {127, 127}, {0, 0});
    EXPECT_EQ(rows_.TexRow(0).LeftU, 0);
    EXPECT_EQ(rows_.TexRow(1).LeftU, 42);
    EXPECT_EQ(rows_.TexRow(2).LeftV, 84);
    EXPECT_EQ(rows_.TexRow(3).RightU, 126);
    EXPECT_EQ(rows_.LastRow(), -1) << "textured edges leave the touched rows alone";
}

TEST_F(RowRasterizer, TextureFillInterpolatesAlongTheRowWithoutDepthTest) {
    TTexture texture{};
    for (int i = 0; i < kTextureSize * kTextureSize; ++i) texture[i] = static_cast<std::uint16_t>(i);
    surface_.DrawSpan(1, 0, 29, 100.0f, 100.0f, kInk, true);  // nearer than anything
    // Row 1 runs from column -2 (texel 10, 0) to column 3 (texel 10, 100):
    // six columns, 25600 / 6 = 4266 per column, v = 4266 * (x + 2) / 256.
    rows_.TexturedEdge({-2, 0}, {-2, 2}, {10, 0}, {10, 0});
    rows_.TexturedEdge({3, 0}, {3, 2}, {10, 100}, {10, 100});
    rows_.FillTexture(surface_, texture, nullptr, 0);
    EXPECT_EQ(surface_.GetPixel(0, 1), 10 * 128 + 33);
    EXPECT_EQ(surface_.GetPixel(1, 1), 10 * 128 + 49);
    EXPECT_EQ(surface_.GetPixel(2, 1), 10 * 128 + 66);
    EXPECT_EQ(surface_.GetPixel(3, 1), 10 * 128 + 83);
    EXPECT_EQ(surface_.GetPixel(4, 1), kInk);
    EXPECT_EQ(surface_.GetPixel(0, 3), kBack);

    const TShadeTable shades;
    rows_.FillTexture(surface_, texture, &shades, 0);
    EXPECT_EQ(surface_.GetPixel(2, 1), 0);
}

}  // namespace
}  // namespace zorva
