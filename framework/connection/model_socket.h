#pragma once
// The model's TCP socket to the message server. Its events (connected, data
// available, closed) arrive through the event processing that the run loop
// and the connection's waits call.

#include <QTcpSocket>

#include <string>

#include "connection/connection_failure.h"
#include "connection/server_lines.h"

namespace zorva {

class TModelSocket : public QTcpSocket {
public:
    enum class Link { Idle, Connecting, Connected, Closed };

    TModelSocket();

    // Connection established (error 0) or failed (any other error).
    void RegisterConnection(int error);
    // Data available: reassembles the server's lines and handles each one.
    void CheckServerAnswer();
    // Handles the lines held back after a reply; every wait for the server
    // begins with it.
    void ReleaseHeldLines() { reader_.Release(); }

    // Writes the bytes, straight to the connection when nothing is queued
    // before them; -1 when the socket refused them.
    qint64 WriteNow(const std::string& bytes);

    void Open(const QString& address, quint16 port);
    Link State() const { return link_; }
    bool Greeted() const { return reader_.Greeted(); }
    std::size_t LinesHandled() const { return reader_.LinesHandled(); }
    const TConnectionFailure& Failure() const { return failure_; }

private:
    void ConnectionEnded();
    void RecordFailure(TConnectionFailure::Kind what);

    Link link_ = Link::Idle;
    ServerLineReader reader_;
    std::string address_;
    TConnectionFailure failure_;
};

}  // namespace zorva
