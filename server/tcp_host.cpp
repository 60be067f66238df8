#include "tcp_host.h"

#include "protocol.h"

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

TcpHost::TcpHost(const ServerOptions& options, std::function<void()> onFinished)
    : verbose_(options.verbose),
      onFinished_(std::move(onFinished)),
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
    if (sessions_.size() >= kMaxSessions) {
      report("connection refused: " + std::to_string(kMaxSessions) + " connections are open");
      socket->abort();
      socket->deleteLater();
      continue;
    }
    const ClientId id = nextId_++;
    auto* session = new TcpSession(id, socket, *this, this);
    sessions_[id] = session;
    room_.connected(id, session->peer());
  }
}

void TcpHost::deliver(ClientId client, const std::string& line) {
  const auto it = sessions_.find(client);
  if (it == sessions_.end()) return;
  if (verbose_) printLine("-> " + std::to_string(client) + " " + sanitize(line));
  it->second->send(line);
}

void TcpHost::disconnect(ClientId client) {
  if (const auto it = sessions_.find(client); it != sessions_.end())
    it->second->close("disconnected by the server");
}

void TcpHost::report(const std::string& text) { printLine(text); }

void TcpHost::finished() { onFinished_(); }

void TcpHost::lineReceived(ClientId client, const std::string& line) {
  if (verbose_) printLine("<- " + std::to_string(client) + " " + sanitize(line));
  room_.received(client, line);
}

void TcpHost::lineDropped(ClientId client, std::size_t limit) { room_.lineDropped(client, limit); }

void TcpHost::sessionEnded(ClientId client, const std::string& reason) {
  sessions_.erase(client);
  // The session may end inside a call from the time server; it hears of
  // the loss on the next turn of the event loop.
  QTimer::singleShot(0, this, [this, client, reason] { room_.disconnected(client, reason); });
}

}  // namespace zorva::server
