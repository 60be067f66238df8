#pragma once

#include "time_server.h"
#include "wire/line_splitter.h"

#include <QObject>
#include <QTcpSocket>

#include <cstddef>
#include <string>

namespace zorva::server {

class SessionListener {
public:
    virtual ~SessionListener() = default;
    virtual void LineReceived(ClientId client, const std::string& line) = 0;
    virtual void LineDropped(ClientId client, std::size_t limit) = 0;
    // Called once per session, from whatever call stopped it.
    virtual void SessionEnded(ClientId client, const std::string& reason) = 0;
};

// One client connection: reads and splits lines, writes lines, and stops.
// Every way a session can end goes through stop(), which tells the listener
// once and deletes the session later, never inside the caller's stack.
class TcpSession : public QObject {
public:
    static constexpr qint64 kReadChunk = 64 * 1024;
    static constexpr qint64 kReadBuffer = 256 * 1024;
    static constexpr qint64 kMaxUnsent = 1024 * 1024;

    TcpSession(ClientId id, QTcpSocket* socket, SessionListener& listener, QObject* parent);

    void Send(const std::string& line);
    // Sends what is queued, then closes.
    void Close(const std::string& reason);
    std::string Peer() const;

private:
    void ReadSome();
    void PeerGone(const std::string& reason);
    void Stop(const std::string& reason, bool flush);

    ClientId id_;
    QTcpSocket* socket_;
    SessionListener& listener_;
    LineSplitter splitter_;
    bool stopped_ = false;
    bool readScheduled_ = false;
};

}  // namespace zorva::server
