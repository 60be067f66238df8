#include "tcp_host.h"

#include "wire/protocol.h"

#include <QTimer>

#include <cstdio>

namespace zorva::server {

namespace {

void PrintLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

TcpHost::TcpHost(const ServerOptions& options, std::function<void(int)> onFinished)
    : verbose_(options.Verbose),
      onFinished_(std::move(onFinished)),
      registrationTimeoutMs_(options.RegistrationTimeoutSeconds * 1000),
      room_(TimeServerConfig{options.Models, options.Until}, *this) {
    connect(&listener_, &QTcpServer::newConnection, this, [this] { AcceptPending(); });
}

TcpHost::~TcpHost() {
    // Live sessions report to this host when they end, so they go while
    // the host is still whole rather than with its children.
    for (auto& [id, session] : sessions_) delete session;
    sessions_.clear();
}

bool TcpHost::Listen(const QHostAddress& address, quint16 port, std::string& error) {
    if (listener_.listen(address, port)) return true;
    error = listener_.errorString().toStdString();
    return false;
}

void TcpHost::AcceptPending() {
    while (QTcpSocket* socket = listener_.nextPendingConnection()) {
        if (sessions_.size() >= kMaxSessions && !MakeRoom()) {
            Report("connection refused: " + std::to_string(kMaxSessions) + " models are connected");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const ClientId id = nextId_++;
        auto* session = new TcpSession(id, socket, *this, this);
        sessions_[id] = session;
        QTimer::singleShot(registrationTimeoutMs_, session, [this, id] { CloseUnregistered(id); });
        room_.Connected(id, session->Peer());
    }
}

// Every place is taken: the oldest connection that has not registered
// gives way, so a model can always get in while any place is idle.
bool TcpHost::MakeRoom() {
    for (const auto& [id, session] : sessions_) {
        if (room_.HasRegistered(id)) continue;
        session->Close("closed to make room for a new connection");
        return true;
    }
    return false;
}

void TcpHost::CloseUnregistered(ClientId client) {
    const auto it = sessions_.find(client);
    if (it == sessions_.end() || room_.HasRegistered(client)) return;
    it->second->Close("no registration within " + std::to_string(registrationTimeoutMs_ / 1000) + " s");
}

void TcpHost::Deliver(ClientId client, const std::string& line) {
    const auto it = sessions_.find(client);
    if (it == sessions_.end()) return;
    if (verbose_) PrintLine("-> " + std::to_string(client) + " " + Sanitize(line));
    it->second->Send(line);
}

void TcpHost::Disconnect(ClientId client) {
    if (const auto it = sessions_.find(client); it != sessions_.end()) it->second->Close("disconnected by the server");
}

void TcpHost::Report(const std::string& text) {
    PrintLine(text);
}

void TcpHost::Finished() {
    onFinished_(room_.ModelLeftEarly() ? 1 : 0);
}

void TcpHost::LineReceived(ClientId client, const std::string& line) {
    if (verbose_) PrintLine("<- " + std::to_string(client) + " " + Sanitize(line));
    room_.Received(client, line);
}

void TcpHost::LineDropped(ClientId client, std::size_t limit) {
    room_.LineDropped(client, limit);
}

void TcpHost::SessionEnded(ClientId client, const std::string& reason) {
    sessions_.erase(client);
    // The session may end inside a call from the time server; it hears of
    // the loss on the next turn of the event loop.
    QTimer::singleShot(0, this, [this, client, reason] { room_.Disconnected(client, reason); });
}

}  // namespace zorva::server
