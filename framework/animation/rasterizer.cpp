#include "animation/rasterizer.h"

#include <algorithm>
#include <utility>

#include "animation/screen_round.h"
#include "animation/shading.h"

namespace zorva {

namespace {

// Rows below the surface only advance an edge. They are stepped one by one so
// that the visible rows see the same rounding, but an edge starting further
// down than this (an end point next to the camera plane) jumps the rest.
constexpr std::int32_t kMaxHiddenSteps = 1 << 16;

std::int32_t RowsToJump(std::int32_t first_row) {
    return first_row < -kMaxHiddenSteps ? -kMaxHiddenSteps - first_row : 0;
}

// Texture coordinates travel in 8.8 fixed point.
constexpr std::int32_t kFixedOne = 256;

TTexCoord ClampToTexture(TTexCoord t) {
    return {std::clamp(t.U, 0, kTextureSize - 1), std::clamp(t.V, 0, kTextureSize - 1)};
}

}  // namespace

void TRowRasterizer::SetView(std::int32_t width, std::int32_t height) {
    viewWidth_ = std::max(width, 0);
    viewHeight_ = std::clamp(height, 0, kMaxRows);
    ResetRows();
}

void TRowRasterizer::ResetRows() {
    for (std::int32_t y = 0; y < viewHeight_; ++y) {
        rows_[y].Left = kEmptyRow;
        rows_[y].LeftDepth = TDIB16bit::kFarthestDepth;
        rows_[y].RightDepth = -TDIB16bit::kFarthestDepth;
    }
    firstRow_ = viewHeight_ + 1;
    lastRow_ = -1;
}

void TRowRasterizer::EdgeToRows(TScreenPoint a, TScreenPoint b, float za, float zb, TDIB16bit& surface,
                                std::uint16_t colour, bool wireframe) {
    if (a.Y == b.Y) {
        if (wireframe && a.Y >= 0 && a.Y < viewHeight_) {
            const std::int32_t x1 = std::min(std::max(a.X, 0), LastColumn());
            const std::int32_t x2 = std::min(std::max(b.X, 0), LastColumn());
            surface.DrawSpan(a.Y, x1, x2, za, zb, colour, true);
        }
        return;
    }
    if (b.Y < a.Y) {
        std::swap(a, b);
        std::swap(za, zb);
    }
    // Column and depth change per row along the edge.
    const float rows = static_cast<float>(b.Y - a.Y);
    const float dx = static_cast<float>(b.X - a.X) / rows;
    const float dz = (zb - za) / rows;
    if (a.Y < firstRow_) firstRow_ = std::max(a.Y, 0);
    if (b.Y > lastRow_) lastRow_ = std::min(b.Y, viewHeight_ - 1);

    const std::int32_t jump = RowsToJump(a.Y);
    float x = static_cast<float>(a.X) + dx * static_cast<float>(jump);
    float z = za + dz * static_cast<float>(jump);
    const std::int32_t last = std::min(b.Y, viewHeight_ - 1);
    for (std::int32_t y = a.Y + jump; y <= last; ++y) {
        if (y >= 0) {
            TRowExtent& row = rows_[y];
            if (row.Left == kEmptyRow) {
                row.Left = row.Right = RoundEven(x);
                row.LeftDepth = row.RightDepth = z;
            } else {
                if (row.Left >= static_cast<double>(x)) {
                    row.Left = RoundEven(x);
                    row.LeftDepth = z;
                }
                if (static_cast<double>(x) >= row.Right) {
                    row.Right = RoundEven(x);
                    row.RightDepth = z;
                }
            }
        }
        x += dx;
        z += dz;
    }
}

void TRowRasterizer::FillRows(TDIB16bit& surface, std::uint16_t colour, bool filled) const {
    const std::int32_t last = std::min(lastRow_, viewHeight_ - 1);
    for (std::int32_t y = std::max(firstRow_, 0); y <= last; ++y) {
        const TRowExtent& row = rows_[y];
        if (row.Left == kEmptyRow || row.Left > LastColumn() || row.Right < 0) continue;
        surface.DrawSpan(y, std::max(row.Left, 0), std::min(row.Right, LastColumn()), row.LeftDepth, row.RightDepth,
                         colour, filled);
    }
}

void TRowRasterizer::TexturedEdge(TScreenPoint a, TScreenPoint b, TTexCoord ta, TTexCoord tb) {
    if (a.Y == b.Y) return;
    if (b.Y < a.Y) {
        std::swap(a, b);
        std::swap(ta, tb);
    }
    ta = ClampToTexture(ta);
    tb = ClampToTexture(tb);
    // Column and texture coordinates per row along the edge; the coordinate
    // steps truncate towards zero.
    const std::int32_t dy = b.Y - a.Y;
    const float dxdy = static_cast<float>(b.X - a.X) / static_cast<float>(dy);
    const std::int64_t du = (tb.U - ta.U) * kFixedOne / dy;
    const std::int64_t dv = (tb.V - ta.V) * kFixedOne / dy;

    const std::int32_t jump = RowsToJump(a.Y);
    float x = static_cast<float>(a.X) + dxdy * static_cast<float>(jump);
    std::int64_t u = ta.U * kFixedOne + du * jump;
    std::int64_t v = ta.V * kFixedOne + dv * jump;
    const std::int32_t last = std::min(b.Y, viewHeight_ - 1);
    for (std::int32_t y = a.Y + jump; y <= last; ++y) {
        if (y >= 0) {
            TRowExtent& row = rows_[y];
            TTexRow& tex = texRows_[y];
            const auto texel_u = static_cast<std::int32_t>(u / kFixedOne);
            const auto texel_v = static_cast<std::int32_t>(v / kFixedOne);
            if (row.Left == kEmptyRow) {
                row.Left = row.Right = RoundEven(x);
                tex = {texel_u, texel_v, texel_u, texel_v};
            } else {
                if (row.Right < static_cast<double>(x)) {
                    row.Right = RoundEven(x);
                    tex.RightU = texel_u;
                    tex.RightV = texel_v;
                }
                if (row.Left > static_cast<double>(x)) {
                    row.Left = RoundEven(x);
                    tex.LeftU = texel_u;
                    tex.LeftV = texel_v;
                }
            }
        }
        x += dxdy;
        u += du;
        v += dv;
    }
}

void TRowRasterizer::FillTexture(TDIB16bit& surface, const TTexture& texture, const TShadeTable* shades,
                                 std::int32_t shade_level) const {
    const std::int32_t rows = std::min(viewHeight_, surface.Height());
    const std::int32_t last_column = std::min(LastColumn(), surface.Width() - 1);
    for (std::int32_t y = 0; y < rows; ++y) {
        const TRowExtent& row = rows_[y];
        const std::int32_t columns = row.Right - row.Left + 1;
        if (row.Left == kEmptyRow || columns <= 0) continue;
        const TTexRow& tex = texRows_[y];
        // Texture coordinates per column across the row, truncated towards zero.
        const std::int64_t du = (tex.RightU - tex.LeftU) * kFixedOne / columns;
        const std::int64_t dv = (tex.RightV - tex.LeftV) * kFixedOne / columns;
        // Columns left of the surface only advance the coordinates; integer
        // steps make the jump exact.
        const std::int32_t first = std::max(row.Left, 0);
        std::int64_t u = tex.LeftU * kFixedOne + du * (first - row.Left);
        std::int64_t v = tex.LeftV * kFixedOne + dv * (first - row.Left);
        const std::int32_t last = std::min(row.Right, last_column);
        for (std::int32_t x = first; x <= last; ++x) {
            std::uint16_t texel = texture[(u / kFixedOne) * kTextureSize + v / kFixedOne];
            if (shades != nullptr) texel = ShadeTexel(*shades, texel, shade_level);
            surface.SetPixel(x, y, texel);
            u += du;
            v += dv;
        }
    }
}

}  // namespace zorva
