#pragma once

#include "server_options.h"
#include "tcp_session.h"
#include "time_server.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include <functional>
#include <map>
#include <string>

namespace zorva::server {

// Connects the time server to TCP: accepts connections, gives each a
// session, and passes lines both ways.
class TcpHost : public QObject, private ServerOutput, private SessionListener {
public:
    static constexpr std::size_t kMaxSessions = 256;

    // onFinished gets the exit code: non-zero when a model left early.
    TcpHost(const ServerOptions& options, std::function<void(int)> onFinished);
    ~TcpHost() override;

    bool Listen(const QHostAddress& address, quint16 port, std::string& error);

private:
    void AcceptPending();
    bool MakeRoom();
    void CloseUnregistered(ClientId client);

    void Deliver(ClientId client, const std::string& line) override;
    void Disconnect(ClientId client) override;
    void Report(const std::string& text) override;
    void Finished() override;

    void LineReceived(ClientId client, const std::string& line) override;
    void LineDropped(ClientId client, std::size_t limit) override;
    void SessionEnded(ClientId client, const std::string& reason) override;

    bool verbose_;
    std::function<void(int)> onFinished_;
    // A connection that has not registered by then is closed, so idle
    // sockets cannot hold places that models need.
    int registrationTimeoutMs_;
    QTcpServer listener_;
    TimeServer room_;
    std::map<ClientId, TcpSession*> sessions_;
    ClientId nextId_ = 1;
};

}  // namespace zorva::server
