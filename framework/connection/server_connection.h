#pragma once
// The run loop's link to the message server over the model's socket.

#include <cstdint>
#include <memory>
#include <string>

#include "connection/connection_watch.h"
#include "connection/model_socket.h"
#include "engine/server_link.h"
#include "wire/protocol.h"

namespace zorva {

class ServerConnection final : public ServerLink {
public:
    // Connects to ServerAddress and waits for the greeting. The wait ends
    // too when the connection fails or closes, so the run can end instead
    // of waiting for a server that is gone; a connect-failed handler may
    // first have it try again, or run the model alone.
    void ConnectToServer() override;
    void SendContinue(double t) override;
    void SendNewEvent(double t) override;
    bool ConnectionClosed() const override;
    void WaitForServer() override;
    void HandOverToModel() override;
    bool RunsAhead() const override;
    bool WithinHorizon(double t) const override;

    // Logs and sends one line, retrying a failed send ten times.
    void SendToServer(const std::string& line);

    TModelSocket* Socket() { return socket_.get(); }
    const TModelSocket* Socket() const { return socket_.get(); }
    bool Waiting() const { return waiting_; }
    void SetConnectFailedHandler(ConnectFailedHandler handler) { connectFailed_ = std::move(handler); }
    // Whether the connection could not be made or was lost during the run;
    // Close at program end is no loss.
    TConnectionFailure Failure() const { return socket_ ? socket_->Failure() : TConnectionFailure(); }
    void SetPort(std::uint16_t port) { port_ = port; }
    // Program end: closes the connection and forgets the socket.
    void Close();
    // The program is ending (its window was closed): every wait for the
    // server ends at its next round, as if the connection had closed, and
    // nothing more is sent. Safe inside a handler of the socket's own lines.
    void Abandon() { abandoned_ = true; }
    // A fresh start-up after Abandon (tests).
    void Readmit() { abandoned_ = false; }

private:
    bool Connected() const;
    void AgreeLookahead();
    bool RetryAfterFailure();

    std::unique_ptr<TModelSocket> socket_;
    std::uint16_t port_ = kDefaultPort;
    bool abandoned_ = false;
    bool waiting_ = false;
    ConnectFailedHandler connectFailed_;
};

ServerConnection& TheServerConnection();
void SendToServer(const std::string& line);

// For tests only: the product always uses kDefaultPort.
void SetServerPort(std::uint16_t port);

}  // namespace zorva
