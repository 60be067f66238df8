#pragma once

/// \file
/// Scan conversion of one face at a time. Each edge leaves, per screen row,
/// the leftmost and rightmost column of the face and the depth or texture
/// coordinate there; the rows are then filled with one span each.

#include <array>
#include <cstdint>

#include "animation/dib16.h"

namespace zorva {

inline constexpr std::int32_t kTextureSize = 128;
/// Texels row-major: entry u * kTextureSize + v is texture row u, column v.
using TTexture = std::array<std::uint16_t, kTextureSize * kTextureSize>;

class TShadeTable;

struct TScreenPoint {
    std::int32_t X = 0;  // column, growing to the right
    std::int32_t Y = 0;  // row, growing upwards from the bottom line
};

struct TTexCoord {
    std::int32_t U = 0;  // texture row, 0..127
    std::int32_t V = 0;  // texture column, 0..127
};

struct TRowExtent {
    std::int32_t Left = 0;
    std::int32_t Right = 0;
    float LeftDepth = 0.0f;
    float RightDepth = 0.0f;
};

struct TTexRow {
    std::int32_t LeftU = 0;
    std::int32_t LeftV = 0;
    std::int32_t RightU = 0;
    std::int32_t RightV = 0;
};

class TRowRasterizer {
public:
    static constexpr std::int32_t kMaxRows = 768;
    static constexpr std::int32_t kEmptyRow = -16000;  // Left of a row no edge has reached

    /// The view's height is held at kMaxRows at most.
    void SetView(std::int32_t width, std::int32_t height);
    void ResetRows();

    /// A depth-carrying edge. A horizontal edge is drawn at once as a filled
    /// span in wire frame and ignored otherwise.
    void EdgeToRows(TScreenPoint a, TScreenPoint b, float za, float zb, TDIB16bit& surface, std::uint16_t colour,
                    bool wireframe);
    /// One depth-tested span per touched row; unfilled spans show the two ends.
    void FillRows(TDIB16bit& surface, std::uint16_t colour, bool filled) const;

    /// A texture-carrying edge; horizontal ones add nothing.
    void TexturedEdge(TScreenPoint a, TScreenPoint b, TTexCoord ta, TTexCoord tb);
    /// Every reached row gets the texture, interpolated along the row, without a
    /// depth test; with a shade table every texel is shaded at shade_level.
    void FillTexture(TDIB16bit& surface, const TTexture& texture, const TShadeTable* shades,
                     std::int32_t shade_level) const;

    const TRowExtent& Row(std::int32_t y) const { return rows_[y]; }
    const TTexRow& TexRow(std::int32_t y) const { return texRows_[y]; }
    std::int32_t FirstRow() const { return firstRow_; }
    std::int32_t LastRow() const { return lastRow_; }

private:
    std::int32_t LastColumn() const { return viewWidth_ - 1; }

    std::int32_t viewWidth_ = 0;
    std::int32_t viewHeight_ = 0;
    std::int32_t firstRow_ = 1;
    std::int32_t lastRow_ = -1;
    std::array<TRowExtent, kMaxRows> rows_{};
    std::array<TTexRow, kMaxRows> texRows_{};
};

}  // namespace zorva
