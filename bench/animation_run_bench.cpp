// What the animation costs a run: the west lock run unconnected to 10^5 by
// its main window, with the animation window open and its speed bar as it
// starts, and with the animation off. Each run is a process of its own (a
// program makes one run), the two kinds taking turns; printed are each run's
// wall time and frames, and the ratio of the two medians. Twice: with the
// trace in the window's memo, as the lock programs start, and with the trace
// going to a file, which makes the run itself much faster.
//
//   zorva_animation_run_bench [END_TIME [RUNS]]     (default 100000, 3)
//
// Without DISPLAY the windows are drawn offscreen.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "ui/framework_setup.h"
#include "ui/zorva_form.h"
#include "west/brim_west.h"

namespace {

using namespace zorva;

// One run in this process, its trace in the memo or in trace_file; prints
// "SECONDS FRAMES".
int RunOnce(double until, bool animation, const std::string& trace_file, int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::unique_ptr<TZorvaForm> form = StartFramework();
    form->show();
    InitBrimWest();
    form->ApplyServerAddress("none");
    if (!trace_file.empty()) form->ApplyOutput(trace_file);
    SetStopTime(until);
    long frames = 0;
    if (animation) {
        form->ApplyAnimationSetting(true);
        TGMP* view = form->AnimationWindows().Form()->GMPArea;
        view->BeforeFlip = [&frames, caption = view->BeforeFlip](QPainter& canvas) {
            caption(canvas);
            ++frames;
        };
    }
    QElapsedTimer timer;
    timer.start();
    form->StartSimulation();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("%.4f %ld\n", seconds, frames);
    StopFramework();
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs with and without the animation in turn; false when one failed.
bool Compare(double until, int runs, const QString& trace_file) {
    std::vector<double> on;
    std::vector<double> off;
    for (int i = 0; i < runs; ++i) {
        for (const bool animation : {false, true}) {
            if (!trace_file.isEmpty()) QFile::remove(trace_file);
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {"--run", QString::number(until, 'f', 2), animation ? "on" : "off", trace_file});
            if (!child.waitForFinished(600000) || child.exitCode() != 0) {
                std::fprintf(stderr, "a run failed: %s\n", child.readAllStandardError().constData());
                return false;
            }
            double seconds = 0.0;
            long frames = 0;
            std::sscanf(child.readAllStandardOutput().constData(), "%lf %ld", &seconds, &frames);
            (animation ? on : off).push_back(seconds);
            std::printf("  animation %-3s %8.3f s %7ld frames\n", animation ? "on" : "off", seconds, frames);
        }
    }
    if (!trace_file.isEmpty()) QFile::remove(trace_file);
    std::printf("  median: off %.3f s, on %.3f s, on / off %.2f\n", Median(off), Median(on), Median(on) / Median(off));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--run") {
        return RunOnce(std::atof(argv[2]), std::string(argv[3]) == "on", argv[4], argc, argv);
    }
    const double until = argc > 1 ? std::atof(argv[1]) : 1e5;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    if (!(until > 0) || runs < 1) {
        std::fprintf(stderr, "usage: %s [END_TIME [RUNS]]\n", argv[0]);
        return 2;
    }
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    std::printf("west lock alone to time %.0f, %d runs each way\n", until, runs);
    std::printf("trace in the main window's memo\n");
    if (!Compare(until, runs, QString())) return 1;
    std::printf("trace to a file\n");
    if (!Compare(until, runs, folder.filePath("west.trace"))) return 1;
    return 0;
}
