// One hold-and-resume cycle: the process suspends (its stack segment is
// copied out), is scheduled, chosen, and restored. The benchmark loop runs
// inside the process itself, so each iteration is exactly one cycle and the
// run's start and end stay outside the measurement. The hold is of zero: a
// lone element's hold that ends later is the run's next event, which the
// engine continues without switching.

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>

#include "engine/engine.h"
#include "engine/process_element.h"

namespace zorva::bench {
namespace {

// The buffer lives in this frame across every hold, so each suspension saves
// and restores at least Bytes of stack on top of the shallow frames.
template <std::size_t Bytes>
[[gnu::noinline]] void HoldInLoop(benchmark::State& state) {
    std::array<unsigned char, Bytes> live;
    live.fill(0x5a);
    for (auto _ : state) {
        HoldProcess(0.0);
        benchmark::DoNotOptimize(live);
    }
    // Passivating at the same depth parks the segment in SavedStack, where
    // the benchmark reads how much stack each cycle really copied. The use
    // of the buffer after it keeps the call from becoming a tail call.
    PassivateProcess();
    benchmark::DoNotOptimize(live);
}

template <std::size_t Bytes>
class CyclingElement final : public ZorvaProcessElement {
public:
    explicit CyclingElement(benchmark::State& state) : ZorvaProcessElement("cycler", 0.0), state_(state) {}
    void Process() override { HoldInLoop<Bytes>(state_); }

private:
    benchmark::State& state_;
};

template <std::size_t Bytes>
void BM_ZorvaHoldCycle(benchmark::State& state) {
    ResetEngine();
    {
        CyclingElement<Bytes> element(state);
        element.ScheduleProcess(0.0);
        RunSimulation();
        state.counters["saved_bytes"] = static_cast<double>(element.SavedStack.Length());
    }
    state.SetItemsProcessed(state.iterations());
    ResetEngine();
}

BENCHMARK_TEMPLATE(BM_ZorvaHoldCycle, 0)->Name("zorva/hold_cycle/live_stack:0");
BENCHMARK_TEMPLATE(BM_ZorvaHoldCycle, 1024)->Name("zorva/hold_cycle/live_stack:1024");
BENCHMARK_TEMPLATE(BM_ZorvaHoldCycle, 8192)->Name("zorva/hold_cycle/live_stack:8192");

}  // namespace
}  // namespace zorva::bench
