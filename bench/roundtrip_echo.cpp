#include "roundtrip_echo.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <string_view>
#include <thread>

namespace zorva::bench {
namespace {

class Socket {
public:
    explicit Socket(int fd = -1) : fd_(fd) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

void NoDelay(const Socket& socket) {
    const int on = 1;
    ::setsockopt(socket.fd(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool SendAll(const Socket& socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto sent = ::send(socket.fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Reads until `pending` holds a whole line; false once the peer has gone.
bool ReadLine(const Socket& socket, std::string& pending, std::string& line) {
    char buffer[4096];
    for (;;) {
        if (const auto end = pending.find('\n'); end != std::string::npos) {
            line = pending.substr(0, end + 1);
            pending.erase(0, end + 1);
            return true;
        }
        const auto got = ::recv(socket.fd(), buffer, sizeof buffer, 0);
        if (got <= 0) return false;
        pending.append(buffer, static_cast<std::size_t>(got));
    }
}

void Echo(int listener) {
    Socket peer(::accept(listener, nullptr, nullptr));
    if (!peer.valid()) return;
    NoDelay(peer);
    std::string pending;
    std::string line;
    while (ReadLine(peer, pending, line))
        if (!SendAll(peer, line)) return;
}

}  // namespace

std::optional<EchoResult> MeasureEcho(long roundTrips, std::chrono::seconds limit) {
    Socket listener(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (!listener.valid() || ::bind(listener.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener.fd(), 1) != 0 ||
        ::getsockname(listener.fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return std::nullopt;
    std::thread server(Echo, listener.fd());

    Socket client(::socket(AF_INET, SOCK_STREAM, 0));
    const bool connected =
        client.valid() && ::connect(client.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    EchoResult result;
    if (connected) {
        NoDelay(client);
        // The same size as a grant line.
        const std::string request = "$$continue:12345.00\r\n";
        std::string pending;
        std::string answer;
        const auto start = std::chrono::steady_clock::now();
        auto now = start;
        while (result.roundTrips < roundTrips && now - start < limit) {
            if (!SendAll(client, request) || !ReadLine(client, pending, answer)) break;
            ++result.roundTrips;
            now = std::chrono::steady_clock::now();
        }
        result.seconds = std::chrono::duration<double>(now - start).count();
    }
    // Ends the echo thread whether it waits in accept or in recv.
    ::shutdown(client.fd(), SHUT_RDWR);
    ::shutdown(listener.fd(), SHUT_RDWR);
    server.join();
    if (!connected || result.roundTrips == 0) return std::nullopt;
    return result;
}

}  // namespace zorva::bench
