// What the run dashboard costs: the west lock alone (unconnected, trace
// off) to a large end time in the main window, with the dashboard shown (the
// queues recording their lengths, the chart redrawn four times a second)
// and hidden, alternately in one process so that both see the same machine.
// Prints every run and the ratio of the medians, shown / hidden.
//
//   dashboard_bench [END_TIME [ROUNDS]]      (default 1000000, 5)

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "connection/messaging.h"
#include "engine/engine.h"
#include "ui/framework_setup.h"
#include "ui/run_dashboard.h"
#include "ui/zorva_form.h"
#include "west/brim_west.h"

namespace {

using namespace zorva;

struct Run {
    double Seconds;  // processor time of the program, user and system
    double WallSeconds;
    std::uint64_t Events;
};

// Processor time rather than wall-clock time: the machine is shared, and
// what others run must not count as the dashboard's cost.
double ProcessorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

Run RunWestLock(bool dashboardShown, double until) {
    std::unique_ptr<TZorvaForm> form = StartFramework();
    form->show();
    SetModelName("obrimwest");
    InitBrimWest();
    form->SetTrace(false);
    SetServerAddress("");
    SetStopTime(until);
    form->Dashboard()->setVisible(dashboardShown);
    QApplication::processEvents();
    const auto begin = std::chrono::steady_clock::now();
    const double processorBegin = ProcessorSeconds();
    form->GoStartSimulation();
    const double processor = ProcessorSeconds() - processorBegin;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    const Run run{processor, took.count(), form->Dashboard()->Events()};
    StopFramework();
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const double until = argc > 1 ? std::atof(argv[1]) : 1e6;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<double> shown;
    std::vector<double> hidden;
    for (int round = 0; round < rounds; ++round) {
        // Alternating which goes first cancels a drift of the machine.
        for (const bool show : round % 2 == 0 ? std::vector<bool>{true, false} : std::vector<bool>{false, true}) {
            const Run run = RunWestLock(show, until);
            (show ? shown : hidden).push_back(run.Seconds);
            std::printf("dashboard %-6s %10llu events %8.3f s processor %8.3f s wall %10.0f events/s\n",
                        show ? "shown" : "hidden", static_cast<unsigned long long>(run.Events), run.Seconds,
                        run.WallSeconds, static_cast<double>(run.Events) / run.Seconds);
        }
    }
    std::printf("median processor time shown %.3f s, hidden %.3f s, ratio shown/hidden %.3f\n", Median(shown),
                Median(hidden), Median(shown) / Median(hidden));
    return 0;
}
