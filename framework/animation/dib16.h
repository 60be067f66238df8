#pragma once

/// \file
/// The renderer's off-screen surface: 16-bit pixels plus a depth buffer of
/// fixed size.
///
/// Pixels are 5-5-5 RGB words (red in bits 10-14, green 5-9, blue 0-4, bit 15
/// unused). The memory is stored bottom-up: row 0 is the bottom line of the
/// displayed image, and row r starts Stride() bytes after row r - 1, each row
/// padded to a multiple of 4 bytes. A window layer shows it by wrapping Pixels()
/// with Stride() bytes per line as an RGB555 image and mirroring it vertically.
///
/// The depth buffer always covers 1024 x 768 positions, whatever the surface's
/// size, so depth-tested drawing stops at column 1023 and row 767.

#include <array>
#include <cstdint>
#include <vector>

namespace zorva {

class TDIB16bit {
public:
    static constexpr std::int32_t kRowCount = 1024;
    static constexpr std::int32_t kDepthWidth = 1024;
    static constexpr std::int32_t kDepthHeight = 768;
    /// The value ClearDepth() writes: farther than any finite depth a frame uses.
    static constexpr float kFarthestDepth = -1.0e38f;

    TDIB16bit() = default;
    TDIB16bit(std::int32_t height, std::int32_t width) { Create(height, width); }
    /// Rows() points into the pixel memory, so a surface is never copied or moved.
    TDIB16bit(const TDIB16bit&) = delete;
    TDIB16bit& operator=(const TDIB16bit&) = delete;

    /// A size of 0 or less in either direction gives a surface without pixels,
    /// on which DrawSpan() and ClearPixels() do nothing. The depth buffer starts
    /// at 0.0 everywhere.
    void Create(std::int32_t height, std::int32_t width);
    void Destroy();

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::int32_t Stride() const { return stride_; }
    std::uint16_t* Pixels() { return pixels_.empty() ? nullptr : pixels_.data(); }
    const std::uint16_t* Pixels() const { return pixels_.empty() ? nullptr : pixels_.data(); }

    /// Start of each row; entries at or beyond Height() are null rather than
    /// pointing past the pixel memory.
    const std::array<std::uint16_t*, kRowCount>& Rows() const { return rows_; }

    /// No bounds checks: callers keep 0 <= x < Width() and 0 <= y < Height().
    std::uint16_t GetPixel(std::int32_t x, std::int32_t y) const { return rows_[y][x]; }
    void SetPixel(std::int32_t x, std::int32_t y, std::uint16_t colour) { rows_[y][x] = colour; }

    /// Fills the whole pixel memory, row padding included.
    void ClearPixels(std::uint16_t colour);
    void ClearDepth();
    /// No bounds checks: 0 <= x < kDepthWidth, 0 <= y < kDepthHeight.
    float DepthAt(std::int32_t x, std::int32_t y) const { return depth_[y * kDepthWidth + x]; }

    /// Depth-tested span on row y. A depth greater than or equal to the stored
    /// one is nearer and wins; NaN never wins. The ends are clamped to the
    /// surface and to the depth buffer, and the depth is interpolated between
    /// the clamped ends. Filled, a span with x2 < x1 draws nothing; unfilled,
    /// only the two end pixels are drawn, with depths z1 and z2.
    void DrawSpan(std::int32_t y, std::int32_t x1, std::int32_t x2, float z1, float z2, std::uint16_t colour,
                  bool filled);

private:
    void Plot(std::int32_t x, std::int32_t y, float z, std::uint16_t colour);

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t stride_ = 0;
    std::vector<std::uint16_t> pixels_;
    std::vector<float> depth_;
    std::array<std::uint16_t*, kRowCount> rows_{};
};

}  // namespace zorva
