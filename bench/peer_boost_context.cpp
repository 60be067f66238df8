// Peer of the hold-and-resume cycle: a bare Boost.Context fibre round trip
// (into the fibre and back), with the same live buffers. A fibre keeps its
// own stack, so nothing is copied and nothing is scheduled: this is the floor
// a switching design without copying reaches.

#include <benchmark/benchmark.h>

#include <array>
#include <boost/context/fiber.hpp>
#include <cstddef>
#include <utility>

namespace zorva::bench {
namespace {

namespace context = boost::context;

template <std::size_t Bytes>
void BM_BoostFiberRoundTrip(benchmark::State& state) {
    bool stop = false;
    context::fiber fibre{[&stop](context::fiber&& back) {
        if constexpr (Bytes == 0) {
            while (!stop) back = std::move(back).resume();
        } else {
            std::array<unsigned char, Bytes> live;
            live.fill(0x5a);
            while (!stop) {
                back = std::move(back).resume();
                benchmark::DoNotOptimize(live);
            }
        }
        return std::move(back);
    }};
    for (auto _ : state) fibre = std::move(fibre).resume();
    // Let the fibre return normally rather than unwinding it on destruction.
    stop = true;
    fibre = std::move(fibre).resume();
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_TEMPLATE(BM_BoostFiberRoundTrip, 0)->Name("boost_fiber/round_trip/live_stack:0");
BENCHMARK_TEMPLATE(BM_BoostFiberRoundTrip, 1024)->Name("boost_fiber/round_trip/live_stack:1024");
BENCHMARK_TEMPLATE(BM_BoostFiberRoundTrip, 8192)->Name("boost_fiber/round_trip/live_stack:8192");

}  // namespace
}  // namespace zorva::bench
