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
#include "kernel/kernel.h"
#include "ui/framework_setup.h"
#include "ui/queue_chart.h"
#include "ui/run_dashboard.h"
#include "ui/zorva_form.h"
#include "west/brim_west.h"

namespace {

using namespace zorva;

struct Run {
    double Seconds;  // processor time of the program, user and system
    double WallSeconds;
    std::uint64_t Events;
    double RedrawSeconds;  // one refresh and redraw of the full chart
};

// Processor time rather than wall-clock time: the machine is shared, and
// what others run must not count as the dashboard's cost.
double ProcessorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The chart's own cost, free of the machine's noise: the queues' traces are
// full after a long run; each round adds a point to each and redraws.
double RedrawSeconds(TZorvaForm& form) {
    constexpr int kRounds = 40;
    TQueueChart& chart = *form.Dashboard()->Chart();
    const double begin = ProcessorSeconds();
    for (int round = 1; round <= kRounds; ++round) {
        for (ZorvaQueue* queue : RegisteredQueues()) queue->LengthTrace.Record(SimTime() + round, queue->Length);
        form.LookAtRun();
        chart.repaint();
    }
    return (ProcessorSeconds() - begin) / kRounds;
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
    const Run run{processor, took.count(), form->Dashboard()->Events(), dashboardShown ? RedrawSeconds(*form) : 0.0};
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
    std::vector<double> redraws;
    for (int round = 0; round < rounds; ++round) {
        // Alternating which goes first cancels a drift of the machine.
        for (const bool show : round % 2 == 0 ? std::vector<bool>{true, false} : std::vector<bool>{false, true}) {
            const Run run = RunWestLock(show, until);
            (show ? shown : hidden).push_back(run.Seconds);
            if (show) redraws.push_back(run.RedrawSeconds);
            std::printf("dashboard %-6s %10llu events %8.3f s processor %8.3f s wall %10.0f events/s\n",
                        show ? "shown" : "hidden", static_cast<unsigned long long>(run.Events), run.Seconds,
                        run.WallSeconds, static_cast<double>(run.Events) / run.Seconds);
        }
    }
    std::printf("median processor time shown %.3f s, hidden %.3f s, ratio shown/hidden %.3f\n", Median(shown),
                Median(hidden), Median(shown) / Median(hidden));
    const double redraw = Median(redraws);
    std::printf("one refresh and redraw of the full chart %.2f ms: %.1f %% of the processor at %d a second\n",
                redraw * 1e3, redraw * 100.0 * 1000.0 / TRunDashboard::kRefreshMs, 1000 / TRunDashboard::kRefreshMs);
    return 0;
}
