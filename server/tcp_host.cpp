#include "tcp_host.h"

#include "wire/protocol.h"

#include <QTimer>

#include <cstdio>

namespace zorva::server {

namespace {

void printLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

TcpHost::TcpHost(const ServerOptions& options, std::function<void(int)> onFinished)
    : verbose_(options.verbose),
      onFinished_(std::move(onFinished)),
      registrationTimeoutMs_(options.registrationTimeoutSeconds * 1000),
      room_(TimeServerConfig{options.models, options.until}, *this) {
    connect(&listener_, &QTcpServer::newConnection, this, [this] { acceptPending(); });
}

TcpHost::~TcpHost() {
    // Live sessions report to this host when they end, so they go while
    // the host is still whole rather than with its children.
    for (auto& [id, session] : sessions_) delete session;
    sessions_.clear();
}

bool TcpHost::listen(const QHostAddress& address, quint16 port, std::string& error) {
    if (listener_.listen(address, port)) return true;
    error = listener_.errorString().toStdString();
    return false;
}

void TcpHost::acceptPending() {
    while (QTcpSocket* socket = listener_.nextPendingConnection()) {
        if (sessions_.size() >= kMaxSessions && !makeRoom()) {
            report("connection refused: " + std::to_string(kMaxSessions) + " models are connected");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const ClientId id = nextId_++;
        auto* session = new TcpSession(id, socket, *this, this);
        sessions_[id] = session;
        QTimer::singleShot(registrationTimeoutMs_, session, [this, id] { closeUnregistered(id); });
        room_.connected(id, session->peer());
    }
}

// Every place is taken: the oldest connection that has not registered
// gives way, so a model can always get in while any place is idle.
bool TcpHost::makeRoom() {
    for (const auto& [id, session] : sessions_) {
        if (room_.hasRegistered(id)) continue;
        session->close("closed to make room for a new connection");
        return true;
    }
    return false;
}

void TcpHost::closeUnregistered(ClientId client) {
    const auto it = sessions_.find(client);
    if (it == sessions_.end() || room_.hasRegistered(client)) return;
    it->second->close("no registration within " + std::to_string(registrationTimeoutMs_ / 1000) + " s");
}

void TcpHost::deliver(ClientId client, const std::string& line) {
    const auto it = sessions_.find(client);
    if (it == sessions_.end()) return;
    if (verbose_) printLine("-> " + std::to_string(client) + " " + Sanitize(line));
    it->second->send(line);
}

void TcpHost::disconnect(ClientId client) {
    if (const auto it = sessions_.find(client); it != sessions_.end()) it->second->close("disconnected by the server");
}

void TcpHost::report(const std::string& text) {
    printLine(text);
}

void TcpHost::finished() {
    onFinished_(room_.modelLeftEarly() ? 1 : 0);
}

void TcpHost::lineReceived(ClientId client, const std::string& line) {
    if (verbose_) printLine("<- " + std::to_string(client) + " " + Sanitize(line));
    room_.received(client, line);
}

void TcpHost::lineDropped(ClientId client, std::size_t limit) {
    room_.lineDropped(client, limit);
}

void TcpHost::sessionEnded(ClientId client, const std::string& reason) {
    sessions_.erase(client);
    // The session may end inside a call from the time server; it hears of
    // the loss on the next turn of the event loop.
    QTimer::singleShot(0, this, [this, client, reason] { room_.disconnected(client, reason); });
}

}  // namespace zorva::server
