#pragma once
// What the run loop needs from the connection to the message server. The
// distribution layer implements it; an unconnected model has none.

namespace zorva {

class ServerLink {
public:
    virtual ~ServerLink() = default;
    // Connects and waits for the server's greeting (processing window events).
    virtual void ConnectToServer() = 0;
    // Asks for permission to advance to time t.
    virtual void SendContinue(double t) = 0;
    // Tells the server of the earliest event after an incoming text changed it.
    virtual void SendNewEvent(double t) = 0;
    virtual bool ConnectionClosed() const = 0;
    // One round of a wait for the server: processes window events and, when
    // no line has come, waits a little for one instead of spinning.
    virtual void WaitForServer() = 0;
    // Hands a pending incoming question, then a pending text, to the model's
    // handlers. The engine calls it before every call of the display
    // callback, so a program with or without a window gets the same
    // delivery.
    virtual void HandOverToModel() = 0;
    // With a lookahead agreed with the server, the model runs every event
    // before the horizon it was granted without asking, and counts instead
    // of reporting what it handled.
    virtual bool RunsAhead() const { return false; }
    virtual bool WithinHorizon(double) const { return false; }
};

}  // namespace zorva
