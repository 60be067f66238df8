#pragma once
// The model's TCP socket to the message server. Its events (connected, data
// available, closed) arrive through the event processing that the run loop
// and the connection's waits call.

#include <QTcpSocket>

#include <string>

#include "engine/connection/server_lines.h"

namespace zorva {

// How the link to the server failed, kept for the end of the program: a
// connection that could not be made, or one lost while the run still went on.
struct TConnectionFailure {
    enum Kind { None, NotConnected, Lost };
    Kind What = None;
    std::string Address;  // as connected to, with the port: "127.0.0.1:52623"
    std::string Reason;   // the socket's own words: "Connection refused"
    double LostAt = 0.0;  // the clock when the connection was lost
};

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
