// Events per second: N unconnected processes, each holding for exponential
// durations in a loop, without trace. Making the elements is not measured;
// starting them and the whole run are.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench_workload.h"
#include "engine/engine.h"
#include "engine/process_element.h"

namespace zorva::bench {
namespace {

class ExponentialHolder final : public ZorvaProcessElement {
public:
    ExponentialHolder(ExponentialDurations& durations, long holds)
        : ZorvaProcessElement("holder", 0.0), durations_(durations), holds_(holds) {}

    void Process() override {
        for (long i = 0; i < holds_; ++i) HoldProcess(durations_.Next());
        FinishProcess();
    }

private:
    ExponentialDurations& durations_;
    long holds_;
};

void BM_ZorvaProcesses(benchmark::State& state) {
    const long processes = state.range(0);
    const long holds = HoldsPerProcess(processes);
    ExponentialDurations durations;
    std::vector<std::unique_ptr<ExponentialHolder>> elements;
    elements.reserve(static_cast<std::size_t>(processes));
    for (auto _ : state) {
        state.PauseTiming();
        elements.clear();
        ResetEngine();
        for (long i = 0; i < processes; ++i) elements.push_back(std::make_unique<ExponentialHolder>(durations, holds));
        state.ResumeTiming();
        for (auto& element : elements) element->ScheduleProcess(0.0);
        RunSimulation();
    }
    elements.clear();
    ResetEngine();
    state.SetItemsProcessed(state.iterations() * EventsPerRun(processes));
    state.counters["holds_per_process"] = static_cast<double>(holds);
}

BENCHMARK(BM_ZorvaProcesses)
    ->Name("zorva/processes")
    ->ArgName("n")
    ->Arg(10)
    ->Arg(1000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorva::bench
