// The two-lock waterway to a large end time, four ways in one run: each
// lock model alone (unconnected), then both coupled through zorva-server,
// one granted event at a time and running ahead with their lookahead.
// Prints events per second for each, and for the coupled runs the protocol
// round trips (requests that wait for the server's answer) per event.
//
//   locks_bench [END_TIME]        (default 1000000)
//
// The coupled models run as two further instances of this program.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "connection/messaging.h"
#include "connection/server_connection.h"
#include "east/brim_east.h"
#include "engine/engine.h"
#include "kernel/kernel.h"
#include "west/brim_west.h"

namespace {

using namespace zorva;

struct Figures {
    long events = 0;
    double seconds = 0.0;
};

// One model's run; connected when port is not 0. The trace stays off: it
// is the scheduling and the protocol that are measured.
Figures RunModel(const std::function<void()>& initModel, const std::string& name, double until, quint16 port,
                 bool ahead) {
    ResetKernel();
    InitKernel();
    ResetConnection();
    long events = 0;
    SetEventProcessor([] { QCoreApplication::processEvents(); });
    SetDisplayCallback([&events] {
        if (ZorvaStatus().Switching) ++events;
    });
    SetModelName(name);
    initModel();
    if (!ahead) SetLookahead(0.0);
    SetTraceOn(false);
    if (port == 0) {
        SetServerAddress("");
    } else {
        SetServerPort(port);
        SetServerAddress("127.0.0.1");
    }
    SetStopTime(until);
    const auto begin = std::chrono::steady_clock::now();
    RunSimulation();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    ResetConnection();
    ResetKernel();
    return {events, took.count()};
}

std::function<void()> ModelInit(const std::string& side) {
    return side == "west" ? InitBrimWest : InitBrimEast;
}

void Print(const char* what, const Figures& f) {
    std::printf("%-28s %10ld events %9.3f s %12.0f events/s\n", what, f.events, f.seconds,
                f.seconds > 0 ? static_cast<double>(f.events) / f.seconds : 0.0);
}

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Both models as children of this program, through a fresh server; the
// rate of events.
double RunCoupled(double until, bool ahead) {
    const quint16 port = FreePort();
    const QString end = QString::number(until, 'f', 2);
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(ZORVA_SERVER_EXECUTABLE, {"--port", QString::number(port), "--until", end});
    if (!server.waitForStarted(5000) || !server.waitForReadyRead(5000)) {
        std::fprintf(stderr, "locks_bench: zorva-server did not start\n");
        return 1;
    }
    QElapsedTimer wall;
    wall.start();
    QProcess west;
    QProcess east;
    for (auto [process, side] : {std::pair{&west, "west"}, std::pair{&east, "east"}})
        process->start(QCoreApplication::applicationFilePath(),
                       {"--model", side, QString::number(port), end, ahead ? "ahead" : "exact"});
    server.waitForFinished(-1);
    // Every request that waits for an answer is one round trip; the server
    // counts them, so that it need not print every line for the count.
    long roundTrips = 0;
    const std::string output = server.readAll().toStdString();
    const std::string requests = " requests waited for an answer";
    if (const auto at = output.find(requests); at != std::string::npos)
        roundTrips = std::atol(output.c_str() + output.rfind('\n', at) + 1);
    west.waitForFinished(-1);
    east.waitForFinished(-1);
    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
    const long events =
        std::atol(west.readAllStandardOutput().constData()) + std::atol(east.readAllStandardOutput().constData());
    Print(ahead ? "running ahead (lookahead)" : "coupled through the server", {events, seconds});
    std::printf("round trips per event        %10.3f\n", static_cast<double>(roundTrips) / static_cast<double>(events));
    const bool ok = server.exitCode() == 0 && west.exitCode() == 0 && east.exitCode() == 0;
    return ok ? static_cast<double>(events) / seconds : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 6 && std::string(argv[1]) == "--model") {
        const Figures f = RunModel(ModelInit(argv[2]), std::string("obrim") + argv[2], std::atof(argv[4]),
                                   static_cast<quint16>(std::atoi(argv[3])), std::string(argv[5]) == "ahead");
        std::printf("%ld\n", f.events);
        return 0;
    }
    const double until = argc > 1 ? std::atof(argv[1]) : 1e6;
    if (!(until > 0)) {
        std::fprintf(stderr, "usage: %s [END_TIME]\n", argv[0]);
        return 2;
    }
    std::printf("two-lock waterway to time %.0f\n", until);
    const Figures west = RunModel(InitBrimWest, "obrimwest", until, 0, false);
    Print("west lock alone", west);
    const Figures east = RunModel(InitBrimEast, "obrimeast", until, 0, false);
    Print("east lock alone", east);
    const double aloneRate = static_cast<double>(west.events + east.events) / (west.seconds + east.seconds);
    const double exactRate = RunCoupled(until, false);
    const double aheadRate = RunCoupled(until, true);
    std::printf("coupled / unconnected rate   %10.4f\n", exactRate / aloneRate);
    std::printf("lookahead / unconnected rate %10.4f\n", aheadRate / aloneRate);
    return exactRate > 0 && aheadRate > 0 ? 0 : 1;
}
