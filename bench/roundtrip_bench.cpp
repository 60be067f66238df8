// Round trips per second of the message server's time grants, for one and
// for two models holding in a loop, next to a plain TCP echo round trip
// measured in the same run. Everything stays on 127.0.0.1.
//
// The engine makes one run per program, so each model is a second instance
// of this program (--holding-model NAME PORT) and the server is the real
// zorva-server on a free port.

#include <QCoreApplication>
#include <QProcess>
#include <QTcpServer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "connection/messaging.h"
#include "connection/server_connection.h"
#include "engine/engine.h"
#include "engine/process_element.h"
#include "roundtrip_echo.h"

namespace zorva::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kEchoLimit = std::chrono::seconds(20);
constexpr int kRunLimitMs = 60'000;

Clock::time_point firstStep;
long holdsResumed = 0;

// Every hold is one "$$continue:" request and its grant.
class Holder : public ZorvaProcessElement {
public:
    using ZorvaProcessElement::ZorvaProcessElement;
    void Process() override {
        firstStep = Clock::now();
        for (;;) {
            HoldProcess(1.0);
            ++holdsResumed;
        }
    }
};

int RunHoldingModel(const std::string& name, const std::string& port) {
    SetEventProcessor([] { QCoreApplication::processEvents(); });
    SetDisplayCallback([] { TakeStatusText(); });
    SetModelName(name);
    SetServerPort(static_cast<std::uint16_t>(std::atoi(port.c_str())));
    SetServerAddress("127.0.0.1");
    (new Holder("Holder", 0.0))->ScheduleProcess(0.0);
    RunSimulation();
    const double seconds = std::chrono::duration<double>(Clock::now() - firstStep).count();
    std::printf("grants %ld seconds %.6f\n", holdsResumed, seconds);
    std::fflush(stdout);
    ResetConnection();
    return holdsResumed > 0 ? 0 : 1;
}

struct GrantResult {
    std::vector<double> perModel;  // round trips per second of each model
    double total = 0.0;            // grants per second over all models
};

quint16 FreeLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool WaitForLine(QProcess& process, int limitMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!process.canReadLine() && Clock::now() < end)
        if (!process.waitForReadyRead(50) && process.state() == QProcess::NotRunning) return false;
    return process.canReadLine();
}

std::optional<GrantResult> MeasureGrants(const QString& server, int models, long grants) {
    const QString port = QString::number(FreeLoopbackPort());
    QProcess host;
    host.start(server, {"--port", port, "--models", QString::number(models), "--until", QString::number(grants)});
    if (!host.waitForStarted(3000) || !WaitForLine(host, 5000)) {
        std::fprintf(stderr, "zorva-server did not start: %s\n", qPrintable(server));
        host.kill();
        return std::nullopt;
    }
    std::vector<std::unique_ptr<QProcess>> modelProcesses;
    for (int i = 0; i < models; ++i) {
        auto model = std::make_unique<QProcess>();
        model->start(QCoreApplication::applicationFilePath(),
                     {"--holding-model", QString("holder%1").arg(i + 1), port});
        modelProcesses.push_back(std::move(model));
    }
    GrantResult result;
    bool complete = true;
    long grantsSeen = 0;
    double longest = 0.0;
    for (auto& model : modelProcesses) {
        if (!model->waitForFinished(kRunLimitMs)) model->kill();
        long count = 0;
        double seconds = 0.0;
        const std::string out = model->readAllStandardOutput().toStdString();
        if (std::sscanf(out.c_str(), "grants %ld seconds %lf", &count, &seconds) != 2 || count == 0 || seconds <= 0) {
            complete = false;
            continue;
        }
        result.perModel.push_back(static_cast<double>(count) / seconds);
        grantsSeen += count;
        longest = std::max(longest, seconds);
    }
    if (!host.waitForFinished(5000)) host.kill();
    if (!complete) {
        std::fprintf(stderr, "a model did not finish its %ld grants\n", grants);
        return std::nullopt;
    }
    result.total = static_cast<double>(grantsSeen) / longest;
    return result;
}

int RunBenchmark(const QString& server, long count) {
    const auto echo = MeasureEcho(count, kEchoLimit);
    if (!echo) {
        std::fprintf(stderr, "the loopback echo could not be set up\n");
        return 1;
    }
    const double echoRate = static_cast<double>(echo->roundTrips) / echo->seconds;
    std::printf("tcp echo, TCP_NODELAY     %9.0f round trips/s (%ld in %.2f s)\n", echoRate, echo->roundTrips,
                echo->seconds);
    int status = 0;
    for (int models = 1; models <= 2; ++models) {
        const auto grants = MeasureGrants(server, models, count);
        if (!grants) {
            status = 1;
            continue;
        }
        for (std::size_t i = 0; i < grants->perModel.size(); ++i)
            std::printf("%d model(s), model %zu       %9.0f grants/s   ratio to echo %.2f\n", models, i + 1,
                        grants->perModel[i], grants->perModel[i] / echoRate);
        if (models > 1) std::printf("%d models, all grants      %9.0f grants/s\n", models, grants->total);
    }
    return status;
}

}  // namespace
}  // namespace zorva::bench

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments[1] == "--holding-model")
        return zorva::bench::RunHoldingModel(arguments[2].toStdString(), arguments[3].toStdString());
    QString server = ZORVA_SERVER_EXECUTABLE;
    long count = 20'000;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == "--server")
            server = arguments[i + 1];
        else if (arguments[i] == "--count")
            count = std::max(1L, arguments[i + 1].toLong());
        else {
            std::fprintf(stderr, "usage: %s [--server PATH] [--count ROUND_TRIPS]\n", argv[0]);
            return 2;
        }
    }
    if (arguments.size() % 2 == 0) {
        std::fprintf(stderr, "usage: %s [--server PATH] [--count ROUND_TRIPS]\n", argv[0]);
        return 2;
    }
    return zorva::bench::RunBenchmark(server, count);
}
