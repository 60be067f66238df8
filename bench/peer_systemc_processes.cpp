// Peer of the N-process workload: N modules with one SC_THREAD each, calling
// wait() for the same exponential durations as Zorva's holders. SystemC
// elaborates once per program, so each N is its own invocation:
//
//   peer_systemc_processes N [holds_per_process [stack_bytes]]
//
// Fewer holds than the shared workload's keep a large N within the time a
// benchmark run may take.
//
// It prints one line: events, CPU seconds and events per second for the whole
// run (thread start-up included, as in Zorva's figure) and for the steady
// part after every thread has reached its first wait.

#include <systemc>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "bench_workload.h"

namespace {

using zorva::bench::ExponentialDurations;

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

bool ParseCount(const char* text, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value > 0;
}

// One time unit of the shared workload is one microsecond here: at the
// default resolution of 1 ps a duration keeps six significant digits.
struct Holder : sc_core::sc_module {
    SC_HAS_PROCESS(Holder);
    Holder(sc_core::sc_module_name name, long holds, long stackBytes, ExponentialDurations& durations, long& events)
        : sc_core::sc_module(name), holds_(holds), durations_(durations), events_(events) {
        SC_THREAD(Hold);
        if (stackBytes > 0) set_stack_size(static_cast<std::size_t>(stackBytes));
    }

    void Hold() {
        ++events_;
        for (long i = 0; i < holds_; ++i) {
            wait(sc_core::sc_time(durations_.Next(), sc_core::SC_US));
            ++events_;
        }
    }

private:
    long holds_;
    ExponentialDurations& durations_;
    long& events_;
};

}  // namespace

int sc_main(int argc, char* argv[]) {
    long processes = 0;
    long holds = 0;
    long stackBytes = 0;
    if (argc < 2 || argc > 4 || !ParseCount(argv[1], processes) || (argc >= 3 && !ParseCount(argv[2], holds)) ||
        (argc == 4 && !ParseCount(argv[3], stackBytes))) {
        std::fprintf(stderr, "usage: %s N [holds_per_process [stack_bytes]]   (positive whole numbers)\n", argv[0]);
        return 2;
    }
    if (holds == 0) holds = zorva::bench::HoldsPerProcess(processes);
    ExponentialDurations durations;
    long events = 0;
    std::vector<std::unique_ptr<Holder>> holders;
    holders.reserve(static_cast<std::size_t>(processes));
    for (long i = 0; i < processes; ++i)
        holders.push_back(
            std::make_unique<Holder>(sc_core::sc_gen_unique_name("holder"), holds, stackBytes, durations, events));

    const double start = CpuSeconds();
    sc_core::sc_start(sc_core::SC_ZERO_TIME);
    const double started = CpuSeconds();
    const long startEvents = events;
    sc_core::sc_start();
    const double end = CpuSeconds();

    const long expected = processes * (holds + 1);
    if (events != expected) {
        std::fprintf(stderr, "peer_systemc_processes: %ld events instead of %ld\n", events, expected);
        return 1;
    }
    const double whole = end - start;
    const double steady = end - started;
    std::printf(
        "systemc/processes/n:%ld holds:%ld stack:%s events:%ld cpu_s:%.3f events_per_s:%.4g steady_events_per_s:%.4g\n",
        processes, holds, stackBytes > 0 ? std::to_string(stackBytes).c_str() : "default", events, whole,
        static_cast<double>(events) / whole, static_cast<double>(events - startEvents) / steady);
    return 0;
}
