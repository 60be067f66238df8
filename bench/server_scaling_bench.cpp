// How zorva-server's grants scale with the number of models: 2, 10 and 100
// models in a ring, each event handing a text to the next model, once with
// one grant per event and once with lookahead. The models are threads of
// this program with their own sockets (see ring_model.h); the server is
// the real zorva-server, whose CPU time is taken from the kernel when it
// exits.

#include "ring_model.h"
#include "wire/protocol.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace zorva::bench {
namespace {

using Clock = std::chrono::steady_clock;

std::uint16_t FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

bool Accepts(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

pid_t StartServer(const char* server, std::uint16_t port, int models, double until) {
    const std::string portText = std::to_string(port);
    const std::string modelsText = std::to_string(models);
    const std::string untilText = zorva::FormatTime(until);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Its log would fill a pipe nobody reads.
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl(server, server, "--port", portText.c_str(), "--models", modelsText.c_str(), "--until",
                untilText.c_str(), "--registration-timeout", "60", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

struct Measured {
    long Events = 0;
    long Grants = 0;
    double Seconds = 0;
    double ServerCpuSeconds = 0;
    bool Complete = true;
};

Measured RunRing(const char* server, int models, long events, double lookahead) {
    Measured measured;
    const double period = lookahead > 0 ? lookahead / 4 : 1.0;
    const double until = static_cast<double>(events) / models * period;
    const std::uint16_t port = FreeLoopbackPort();
    const pid_t pid = StartServer(server, port, models, until);
    // A probe that connects and leaves is a connection the server forgets.
    for (int tries = 0; tries < 500 && !Accepts(port); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    std::vector<RingModelResult> results(static_cast<std::size_t>(models));
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int i = 0; i < models; ++i) {
        char name[16], next[16];
        std::snprintf(name, sizeof name, "m%03d", i);
        std::snprintf(next, sizeof next, "m%03d", (i + 1) % models);
        // Every model's events at times of their own, so that no two share
        // a time and the order of steps is the server's choice.
        const RingModelPlan plan{port, name, next, 0.01 * (i + 1), period, until, lookahead};
        threads.emplace_back([plan, &results, i] { results[static_cast<std::size_t>(i)] = RunRingModel(plan); });
    }
    for (std::thread& thread : threads) thread.join();
    measured.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (const RingModelResult& result : results) {
        measured.Events += result.Events;
        measured.Grants += result.Grants;
        if (!result.Problem.empty()) {
            if (measured.Complete) std::fprintf(stderr, "a model did not finish: %s\n", result.Problem.c_str());
            measured.Complete = false;
        }
    }
    int status = 0;
    rusage usage{};
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (Clock::now() > deadline) ::kill(pid, SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    measured.ServerCpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                                static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    return measured;
}

}  // namespace
}  // namespace zorva::bench

int main(int argc, char** argv) {
    using namespace zorva::bench;
    const char* server = ZORVA_SERVER_EXECUTABLE;
    long events = 20'000;
    std::vector<int> modelCounts{2, 10, 100};
    std::vector<double> lookaheads{0.0, 1.0};
    const auto usage = [&] {
        std::fprintf(stderr, "usage: %s [--server PATH] [--events PER_RUN] [--models N] [--mode exact|lookahead]\n",
                     argv[0]);
        return 2;
    };
    if (argc % 2 == 0) return usage();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--server") {
            server = argv[i + 1];
        } else if (option == "--models") {
            modelCounts = {std::max(1, std::atoi(argv[i + 1]))};
        } else if (option == "--mode" &&
                   (std::string(argv[i + 1]) == "exact" || std::string(argv[i + 1]) == "lookahead")) {
            lookaheads = {std::string(argv[i + 1]) == "exact" ? 0.0 : 1.0};
        } else if (option == "--events") {
            events = std::max(100L, std::atol(argv[i + 1]));
        } else {
            return usage();
        }
    }
    std::printf("%-9s %6s %10s %12s %12s %16s\n", "mode", "models", "events", "events/s", "grants/s",
                "server us/grant");
    int status = 0;
    for (const double lookahead : lookaheads) {
        for (const int models : modelCounts) {
            const Measured m = RunRing(server, models, events, lookahead);
            if (!m.Complete || m.Grants == 0) status = 1;
            std::printf("%-9s %6d %10ld %12.0f %12.0f %16.2f\n", lookahead > 0 ? "lookahead" : "exact", models,
                        m.Events, m.Events / m.Seconds, m.Grants / m.Seconds,
                        m.Grants > 0 ? m.ServerCpuSeconds * 1e6 / m.Grants : 0.0);
            std::fflush(stdout);
        }
    }
    return status;
}
