// The software renderer at the animation window's size (803 x 480): whole
// frames of 100 meshes of 100 faces each in every render mode, and the cost
// of clearing the surface and depth buffer against a plain memset of the
// same bytes, which is the memory bandwidth limit for that step.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "animation/gmp_renderer.h"
#include "animation/mesh_builder.h"

namespace zorva::bench {
namespace {

constexpr int kViewWidth = 803;
constexpr int kViewHeight = 480;
constexpr int kMeshes = 100;
constexpr int kFacesPerMesh = 100;

// A 10 x 10 grid of meshes in front of the camera, each a 10 x 10 patch of
// quads with alternating tilts so that faces differ in shade and depth.
std::vector<std::unique_ptr<TMesh>> Scene() {
    std::vector<std::unique_ptr<TMesh>> meshes;
    for (int m = 0; m < kMeshes; ++m) {
        auto mesh = std::make_unique<TMesh>();
        for (int f = 0; f < kFacesPerMesh; ++f) {
            const float x = static_cast<float>(f % 10) * 0.1f;
            const float y = static_cast<float>(f / 10) * 0.1f;
            const float tilt = (f % 2 == 0) ? 0.05f : -0.05f;
            AddFace(*mesh, Quad({x, y, 0.0f}, {x + 0.1f, y, tilt}, {x + 0.1f, y + 0.1f, tilt}, {x, y + 0.1f, 0.0f}));
        }
        mesh->Position = {static_cast<float>(m % 10) * 1.1f - 5.5f, static_cast<float>(m / 10) * 0.7f - 3.5f,
                          -12.0f - static_cast<float>(m % 3)};
        mesh->Color = RGBColor(static_cast<std::uint8_t>(40 + 2 * m), 120, 200);
        meshes.push_back(std::move(mesh));
    }
    return meshes;
}

// range(0): the render mode; range(1): 1 when every mesh is prepared again
// each frame (the camera moves), 0 when the meshes are drawn as prepared.
void BM_RenderFrame(benchmark::State& state) {
    const auto mode = static_cast<TRenderMode>(state.range(0));
    const bool prepare_each_frame = state.range(1) != 0;
    auto renderer = std::make_unique<TGMPRenderer>();
    renderer->Resize(kViewWidth, kViewHeight);
    for (int i = 0; i < kTextureSize * kTextureSize; ++i) {
        renderer->Texture[i] = static_cast<std::uint16_t>((i / 16 + i / (16 * kTextureSize)) % 2 ? 0x7FFF : 0x1234);
    }
    auto meshes = Scene();
    renderer->RenderMode = mode;
    for (auto& mesh : meshes) renderer->PrepareMesh(*mesh);
    for (auto _ : state) {
        if (prepare_each_frame) {
            for (auto& mesh : meshes) renderer->PrepareMesh(*mesh);
        }
        renderer->BeginFrame();
        for (auto& mesh : meshes) {
            renderer->SetMeshColor(*mesh, mesh->Color);
            renderer->RenderMesh(*mesh, true);
        }
        renderer->Flip();
        benchmark::DoNotOptimize(renderer->Surface().Pixels());
        benchmark::ClobberMemory();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void RenderArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"mode", "prepare"});
    for (int mode = 0; mode <= 4; ++mode) {
        b->Args({mode, 0});
        b->Args({mode, 1});
    }
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_RenderFrame)->Apply(RenderArguments)->Name("animation/frame_803x480_100x100");

std::size_t ClearedBytes(const TDIB16bit& surface) {
    return static_cast<std::size_t>(surface.Stride()) * static_cast<std::size_t>(surface.Height()) +
           sizeof(float) * TDIB16bit::kDepthWidth * TDIB16bit::kDepthHeight;
}

void BM_ClearSurface(benchmark::State& state) {
    TDIB16bit surface(kViewHeight, kViewWidth);
    for (auto _ : state) {
        surface.ClearPixels(0x1234);
        surface.ClearDepth();
        benchmark::DoNotOptimize(surface.Pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * ClearedBytes(surface)));
}
BENCHMARK(BM_ClearSurface)->Name("animation/clear_pixels_and_depth");

void BM_MemsetSameBytes(benchmark::State& state) {
    const TDIB16bit surface(kViewHeight, kViewWidth);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(surface.Stride()) * kViewHeight);
    std::vector<unsigned char> depth(sizeof(float) * TDIB16bit::kDepthWidth * TDIB16bit::kDepthHeight);
    for (auto _ : state) {
        std::memset(pixels.data(), 0x34, pixels.size());
        std::memset(depth.data(), 0xFE, depth.size());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::DoNotOptimize(depth.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (pixels.size() + depth.size())));
}
BENCHMARK(BM_MemsetSameBytes)->Name("animation/memset_same_bytes");

}  // namespace
}  // namespace zorva::bench
