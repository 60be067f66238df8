#pragma once
// The model's TCP socket to the message server. Its events (connected, data
// available, closed) arrive through the event processing that the run loop
// and the connection's waits call.

#include <QTcpSocket>

#include "engine/line_splitter.h"

namespace zorva {

class TModelSocket : public QTcpSocket {
public:
    enum class Link { Idle, Connecting, Connected, Closed };

    TModelSocket();

    // Connection established (error 0) or failed (any other error).
    void RegisterConnection(int error);
    // Data available: reassembles the server's lines and handles each one.
    void CheckServerAnswer();

    void Open(const QString& address, quint16 port);
    Link State() const { return link_; }
    bool Greeted() const { return greeted_; }
    void MarkGreeted() { greeted_ = true; }

private:
    void ConnectionEnded();

    Link link_ = Link::Idle;
    bool greeted_ = false;
    LineSplitter splitter_;
};

}  // namespace zorva
