#include "connection/server_connection.h"

#include <QString>

#include <utility>

#include "connection/message_log.h"
#include "connection/messaging.h"
#include "engine/engine.h"
#include "engine/fatal_error.h"
#include "wire/line_kinds.h"

namespace zorva {
namespace {

constexpr int kSendRetries = 10;
// How long one round of a wait blocks on the socket: short enough for the
// window to stay responsive, long enough not to spin a core.
constexpr int kWaitSliceMs = 10;

}  // namespace

ServerConnection& TheServerConnection() {
    // Never destroyed: Close() releases the socket while Qt is still up.
    static ServerConnection* connection = new ServerConnection;
    return *connection;
}

void SendToServer(const std::string& line) {
    TheServerConnection().SendToServer(line);
}

void SetServerPort(std::uint16_t port) {
    TheServerConnection().SetPort(port);
}

bool ServerConnection::Connected() const {
    return !abandoned_ && socket_ && socket_->State() == TModelSocket::Link::Connected &&
           socket_->state() == QAbstractSocket::ConnectedState;
}

void ServerConnection::ConnectToServer() {
    const std::string& address = ZorvaStatus().ServerAddress;
    if (address.empty() || Connected()) return;
    do {
        if (!socket_) socket_ = std::make_unique<TModelSocket>();
        ShowConnectionStatus("Connection called");
        socket_->Open(QString::fromStdString(address), port_);
        while (!abandoned_ && socket_ && !socket_->Greeted() && socket_->State() != TModelSocket::Link::Closed)
            WaitForServer();
    } while (RetryAfterFailure());
}

// The run has not begun yet, so a failed connection can still be made again
// or given up for a run without the server; once the run has begun, a lost
// connection ends it.
bool ServerConnection::RetryAfterFailure() {
    if (abandoned_ || !socket_ || socket_->Greeted() || !connectFailed_) return false;
    switch (connectFailed_(socket_->Failure())) {
        case TConnectChoice::Retry:
            Close();
            return !abandoned_;
        case TConnectChoice::RunUnconnected:
            Close();
            AssignServerAddress(std::string());
            return false;
        case TConnectChoice::GiveUp:
            break;
    }
    return false;
}

void ServerConnection::SendContinue(double t) {
    SendToServer(Line(LineKind::Continue, FormatTime(t)));
}

void ServerConnection::SendNewEvent(double t) {
    SendToServer(Line(LineKind::NewEvent, FormatTime(t)));
}

void ServerConnection::HandOverToModel() {
    zorva::HandOverToModel();
}

bool ServerConnection::ConnectionClosed() const {
    return !Connected();
}

void ServerConnection::WaitForServer() {
    const std::size_t handledBefore = socket_ ? socket_->LinesHandled() : 0;
    if (socket_) socket_->ReleaseHeldLines();
    if (socket_ && socket_->LinesHandled() != handledBefore) return;
    const bool waitingBefore = std::exchange(waiting_, true);
    ProcessPendingEvents();
    waiting_ = waitingBefore;
    if (!socket_ || abandoned_) return;
    // The event processing may have handled the very line the caller waits
    // for; blocking now would add a whole slice to every round trip.
    if (socket_->LinesHandled() != handledBefore) return;
    // Lines may be waiting unread when this wait runs inside a handler of
    // an earlier line, where the socket does not signal again.
    if (socket_->bytesAvailable() > 0) {
        socket_->CheckServerAnswer();
        return;
    }
    const auto link = socket_->State();
    if (link == TModelSocket::Link::Connecting || link == TModelSocket::Link::Connected)
        socket_->waitForReadyRead(kWaitSliceMs);
}

void ServerConnection::SendToServer(const std::string& text) {
    // Nobody is left to read a warning about a line that was never sent.
    if (abandoned_) return;
    // A line end inside the text would cut it into two protocol lines.
    std::string line = text;
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    const std::string framed = line + "\r\n";
    LogMessage(framed, kSentSuffix);
    const QByteArray bytes(framed.data(), static_cast<qsizetype>(framed.size()));
    qint64 written = -1;
    for (int attempt = 0; attempt <= kSendRetries && written == -1; ++attempt)
        written = Connected() ? socket_->write(bytes) : -1;
    if (written != -1) {
        socket_->flush();
        return;
    }
    if (MessageLogOn())
        LogMessage("SendStr from model " + ModelName(), kErrorSuffix);
    else
        ShowWarning("Error sending message: " + line);
}

void ServerConnection::Close() {
    if (!socket_) return;
    // Closing at program end is no lost connection to report.
    QObject::disconnect(socket_.get(), nullptr, nullptr, nullptr);
    socket_->abort();
    socket_.reset();
}

}  // namespace zorva
