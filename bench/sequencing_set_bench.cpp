// The sequencing set alone, with and without the ordered index beside the
// time list: the classic hold model. The earliest notice is taken out and its
// element goes back at the clock plus an exponential duration, so the list
// keeps its length and every insertion lands at a random place in it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "bench_workload.h"
#include "engine/process_element.h"
#include "engine/sequencing_set.h"

namespace zorva::bench {
namespace {

class HoldModel {
public:
    HoldModel(bool indexed, long length) : set_(indexed) {
        std::vector<double> times(static_cast<std::size_t>(length));
        for (double& t : times) t = durations_.Next();
        // Latest first: each notice then goes right before the insertion
        // point, so filling a long list costs no walk.
        std::sort(times.begin(), times.end(), std::greater<>());
        for (double t : times) {
            elements_.push_back(std::make_unique<ZorvaProcessElement>("notice", 0.0));
            set_.InsertTimed(elements_.back().get(), t, clock_, StackSegment());
        }
    }
    HoldModel(const HoldModel&) = delete;
    HoldModel& operator=(const HoldModel&) = delete;
    // The elements point at notices of this set, not of the engine's: they
    // must leave it before they are destroyed.
    ~HoldModel() { set_.Clear(); }

    void Step() {
        EventNotice* first = set_.FirstTimed();
        // As the run loop does on choosing a notice: the clock moves to it
        // and the insertion point behind it.
        if (clock_ != first->Time) {
            clock_ = first->Time;
            set_.InsertionPoint = first->Next;
        }
        if (set_.InsertionPoint == first) set_.InsertionPoint = first->Next;
        ZorvaProcessElement* element = first->Element;
        set_.Unlink(first);
        delete first;
        set_.InsertTimed(element, clock_ + durations_.Next(), clock_, StackSegment());
    }

    bool Indexed() const { return set_.Indexed(); }

private:
    ExponentialDurations durations_;
    double clock_ = 0.0;
    std::vector<std::unique_ptr<ZorvaProcessElement>> elements_;
    SequencingSet set_;
};

void BM_SequencingSetHold(benchmark::State& state) {
    HoldModel model(state.range(0) != 0, state.range(1));
    for (auto _ : state) model.Step();
    state.SetItemsProcessed(state.iterations());
    state.counters["index_active"] = model.Indexed() ? 1 : 0;
}

BENCHMARK(BM_SequencingSetHold)
    ->Name("sequencing_set/hold")
    ->ArgNames({"indexed", "notices"})
    ->ArgsProduct({{0, 1}, {10, 32, 64, 100, 1000, 10000, 100000}});

}  // namespace
}  // namespace zorva::bench
