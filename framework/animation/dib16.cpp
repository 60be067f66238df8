#include "animation/dib16.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zorva {

void TDIB16bit::Create(std::int32_t height, std::int32_t width) {
    Destroy();
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    // Bits per row rounded up to whole 32-bit words, expressed in bytes.
    stride_ = static_cast<std::int32_t>((static_cast<std::int64_t>(width_) * 16 + 31) / 32 * 4);
    if (width_ > 0 && height_ > 0) {
        pixels_.assign(static_cast<std::size_t>(stride_ / 2) * static_cast<std::size_t>(height_), 0);
    }
    depth_.assign(static_cast<std::size_t>(kDepthWidth) * kDepthHeight, 0.0f);
    const std::int32_t stored_rows = pixels_.empty() ? 0 : std::min(height_, kRowCount);
    for (std::int32_t r = 0; r < stored_rows; ++r) {
        rows_[r] = pixels_.data() + static_cast<std::size_t>(r) * (stride_ / 2);
    }
}

void TDIB16bit::Destroy() {
    width_ = height_ = stride_ = 0;
    pixels_ = {};
    depth_ = {};
    rows_.fill(nullptr);
}

namespace {

// Fills by doubling: the filled front is copied onto what follows it, so
// the work is done by memcpy, which runs at memory speed with any compiler,
// where a plain element loop is left unvectorised by some.
template <class T>
void FillByDoubling(std::vector<T>& values, T value) {
    if (values.empty()) return;
    values[0] = value;
    std::size_t filled = 1;
    while (filled < values.size()) {
        const std::size_t step = std::min(filled, values.size() - filled);
        std::memcpy(values.data() + filled, values.data(), step * sizeof(T));
        filled += step;
    }
}

}  // namespace

void TDIB16bit::ClearPixels(std::uint16_t colour) {
    FillByDoubling(pixels_, colour);
}

void TDIB16bit::ClearDepth() {
    FillByDoubling(depth_, kFarthestDepth);
}

void TDIB16bit::Plot(std::int32_t x, std::int32_t y, float z, std::uint16_t colour) {
    float& stored = depth_[y * kDepthWidth + x];
    if (z >= stored) {
        rows_[y][x] = colour;
        stored = z;
    }
}

void TDIB16bit::DrawSpan(std::int32_t y, std::int32_t x1, std::int32_t x2, float z1, float z2, std::uint16_t colour,
                         bool filled) {
    if (y < 0 || y >= kDepthHeight || y >= height_ || pixels_.empty()) return;
    const std::int32_t last_column = std::min(kDepthWidth, width_) - 1;
    x1 = std::clamp(x1, 0, last_column);
    x2 = std::clamp(x2, 0, last_column);
    if (!filled) {
        Plot(x1, y, z1, colour);
        Plot(x2, y, z2, colour);
        return;
    }
    // Depth changes linearly with the column between the clamped ends.
    const float step = x1 == x2 ? 0.0f : (z1 - z2) / static_cast<float>(x1 - x2);
    if (x2 < x1) return;
    std::uint16_t* row = rows_[y];
    float* depth = &depth_[y * kDepthWidth];
    float z = z1;
    for (std::int32_t x = x1; x <= x2; ++x) {
        if (z >= depth[x]) {
            row[x] = colour;
            depth[x] = z;
        }
        z += step;
    }
}

}  // namespace zorva
