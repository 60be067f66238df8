#include "server_options.h"
#include "tcp_host.h"
#include "zorva/version.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

void Fail(const std::string& message) {
    std::fprintf(stderr, "zorva-server: %s\n", message.c_str());
}

// Turns SIGINT and SIGTERM into an orderly quit of the event loop: the
// handler only writes a byte that the loop then reads.
bool InstallSignalHandlers() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace zorva::server;
    // A client that vanishes while we write must not take the server along.
    std::signal(SIGPIPE, SIG_IGN);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParsedOptions parsed = ParseServerOptions(arguments);
    if (!parsed.Options) {
        Fail(parsed.Error);
        return 2;
    }
    const ServerOptions& options = *parsed.Options;
    if (options.Help) {
        std::fputs(ServerUsage().c_str(), stdout);
        return 0;
    }
    if (options.Version) {
        std::printf("zorva-server %s\n", zorva::kZorvaVersion);
        return 0;
    }
    QHostAddress address;
    if (options.Bind == "localhost") {
        address = QHostAddress(QHostAddress::LocalHost);
    } else if (!address.setAddress(QString::fromStdString(options.Bind))) {
        Fail("--bind needs an IP address such as 127.0.0.1, not '" + options.Bind + "'");
        return 2;
    }

    // Qt's own poll-based event loop: the server waits on sockets and
    // nothing else, and GLib's loop costs several system calls more per line.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    TcpHost host(options, [](int code) { QCoreApplication::exit(code); });
    std::string error;
    const std::string where = address.toString().toStdString() + ":" + std::to_string(options.Port);
    if (!host.Listen(address, options.Port, error)) {
        Fail("cannot listen on " + where + ": " + error);
        return 1;
    }
    if (!InstallSignalHandlers()) {
        Fail("cannot install signal handlers");
        return 1;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char byte;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        std::puts("stopping on a signal");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    std::printf("listening on %s\n", where.c_str());
    std::fflush(stdout);
    return app.exec();
}
