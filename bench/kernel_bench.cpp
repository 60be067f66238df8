// The kernel's per-operation costs that must not grow with a model's size:
// queue lookups and removals walk the element's own memberships, never the
// queue; and the price of one trace line in each destination.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kernel/kernel.h"

namespace zorva::bench {
namespace {

class TItem : public ZorvaElement {
public:
    explicit TItem(const std::string& name) : ZorvaElement(this, name) {}
};

// A queue of n members; returns its middle member, the one the
// benchmarks act on (neither end is a shortcut).
struct FilledQueue {
    explicit FilledQueue(std::size_t n) : queue("Line") {
        for (std::size_t i = 0; i < n; ++i) {
            auto* item = new TItem("Item");
            item->EnterQueue(queue);
            if (i == n / 2) middle = item;
        }
    }
    ~FilledQueue() { ResetKernel(); }
    ZorvaQueue queue;
    TItem* middle = nullptr;
};

// A queue holds at most 65 535 members (and so does Elements): 65 000 is the
// largest round size.
void QueueSizes(benchmark::internal::Benchmark* b) {
    b->Arg(10)->Arg(65000);
}

void BM_Successor(benchmark::State& state) {
    InitKernel();
    FilledQueue q(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(q.queue.Successor(*q.middle));
}
BENCHMARK(BM_Successor)->Name("kernel/queue/successor")->Apply(QueueSizes);

void BM_Contains(benchmark::State& state) {
    InitKernel();
    FilledQueue q(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(q.queue.Contains(q.middle));
}
BENCHMARK(BM_Contains)->Name("kernel/queue/contains")->Apply(QueueSizes);

// Remove cannot run alone without emptying the queue: each iteration takes
// the middle member out and puts it back at the tail, which is also the
// LeaveQueue/EnterQueue pair a model pays for.
void BM_RemoveAndEnter(benchmark::State& state) {
    InitKernel();
    FilledQueue q(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        q.middle->LeaveQueue(q.queue);
        q.middle->EnterQueue(q.queue);
    }
}
BENCHMARK(BM_RemoveAndEnter)->Name("kernel/queue/leave_and_enter")->Apply(QueueSizes);

void BM_TraceToMemo(benchmark::State& state) {
    InitKernel();
    SetTraceOn(true);
    for (auto _ : state) TraceLine(TimeString(), "ShipL2", "holds until", 12.5);
    ResetKernel();
}
BENCHMARK(BM_TraceToMemo)->Name("kernel/trace_line/memo");

// Opened, appended to and closed for every line, so each line is on disk
// before the next step: the system calls are the cost.
void BM_TraceToFile(benchmark::State& state) {
    InitKernel();
    SetTraceOn(true);
    const std::string path = "zorva_bench_trace.txt";
    std::remove(path.c_str());
    SetTraceFile(path);
    for (auto _ : state) TraceLine(TimeString(), "ShipL2", "holds until", 12.5);
    ResetKernel();
    std::remove(path.c_str());
}
BENCHMARK(BM_TraceToFile)->Name("kernel/trace_line/file");

}  // namespace
}  // namespace zorva::bench
