// Frames of the waterway at the animation window's size (803 x 480): the west
// lock with three ships waiting during a changeover, seen from its overview
// camera. Once with every mesh drawn in each of the five render modes, and
// once as the window draws it: the model's updater, the meshes that moved
// prepared again, the scene's own modes.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "animation/animation_scene.h"
#include "animation/view_defaults.h"
#include "engine/engine.h"
#include "kernel/kernel.h"
#include "lock/lock_model.h"
#include "lock/lock_scene.h"

namespace zorva::bench {
namespace {

constexpr double kFrameTime = 134.0;  // ShipL3 to ShipL5 wait, the water falls
const TCameraPose kOverview{{0.0f, 12.0f, -5.0f}, {-50.0f, 0.0f, 0.0f}};

void NoHandOver(TLockModel&, TShip&) {}
constexpr TLockSide kWest{"ShipL", WestSide, EastSide, "brimeast", NoHandOver};

// The west lock run alone to the frame's time, shown in a scene.
struct TWaterway {
    TWaterway() {
        ResetKernel();
        InitKernel();
        ShowLockInScene(Scene, InstallLockModel(kWest));
        SetStopTime(kFrameTime);
        RunSimulation();
        Renderer->Resize(kDesignViewWidth, kDesignViewHeight);
        SetUpView(*Renderer);
        AimCamera(*Renderer, kOverview);
    }
    ~TWaterway() {
        Scene.Clear();
        ResetKernel();
    }
    TAnimationScene Scene;
    std::unique_ptr<TGMPRenderer> Renderer = std::make_unique<TGMPRenderer>();
};

void BM_WaterwayFrame(benchmark::State& state) {
    const auto mode = static_cast<TRenderMode>(state.range(0));
    TWaterway waterway;
    TGMPRenderer& renderer = *waterway.Renderer;
    waterway.Scene.Update(kFrameTime);
    std::vector<TDrawEntry> list = waterway.Scene.BuildDrawList(renderer, true);
    renderer.RenderMode = mode;
    for (TDrawEntry& entry : list) {
        renderer.SetMeshColor(*entry.Mesh, entry.Color);
        renderer.PrepareMesh(*entry.Mesh);
    }
    for (auto _ : state) {
        renderer.BeginFrame();
        for (const TDrawEntry& entry : list) renderer.RenderMesh(*entry.Mesh, true);
        renderer.Flip();
        benchmark::DoNotOptimize(renderer.Surface().Pixels());
        benchmark::ClobberMemory();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["meshes"] = static_cast<double>(list.size());
}
BENCHMARK(BM_WaterwayFrame)
    ->ArgName("mode")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->Name("animation/waterway_803x480");

void BM_WaterwaySceneFrame(benchmark::State& state) {
    TWaterway waterway;
    waterway.Scene.DrawFrame(*waterway.Renderer, kFrameTime, true);
    for (auto _ : state) {
        waterway.Scene.DrawFrame(*waterway.Renderer, kFrameTime, false);
        benchmark::DoNotOptimize(waterway.Renderer->Surface().Pixels());
        benchmark::ClobberMemory();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WaterwaySceneFrame)->Unit(benchmark::kMillisecond)->Name("animation/waterway_803x480_as_the_window");

}  // namespace
}  // namespace zorva::bench
