#include "connection/server_connection.h"

#include <QString>

#include <algorithm>
#include <utility>

#include "connection/message_log.h"
#include "connection/messaging.h"
#include "connection/messaging_state.h"
#include "engine/engine.h"
#include "engine/fatal_error.h"
#include "wire/line_kinds.h"
#include "wire/protocol.h"

namespace zorva {
namespace {

constexpr int kSendRetries = 10;
// How long one round of a wait blocks on the socket: short enough for the
// window to stay responsive, long enough not to spin a core.
constexpr int kWaitSliceMs = 10;
// How long a wait first watches the socket alone.
constexpr int kQuickWaitMs = 1;

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
    if (socket_ && socket_->Greeted()) AgreeLookahead();
}

// Asked right after registering, as every server answers a question to
// itself: one that knows nothing of lookahead answers with an empty text.
void ServerConnection::AgreeLookahead() {
    MessagingState& m = TheMessaging();
    m.RunsAhead = false;
    m.Horizon = -1.0;
    if (!(m.Lookahead > 0)) return;
    const std::string agreed = std::string(kLookaheadQuestion) + " " + FormatTime(m.Lookahead);
    std::string answer = agreed;
    AskModel("server", answer);
    m.RunsAhead = answer == agreed;
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
    const MessagingState& m = TheMessaging();
    if (m.RunsAhead)
        SendToServer(Line(LineKind::Ahead, JoinFields({FormatTime(t), std::to_string(m.HandedOver)})));
    else
        SendToServer(Line(LineKind::Continue, FormatTime(t)));
}

void ServerConnection::SendNewEvent(double t) {
    SendToServer(Line(LineKind::NewEvent, FormatTime(t)));
}

void ServerConnection::HandOverToModel() {
    zorva::HandOverToModel();
}

bool ServerConnection::RunsAhead() const {
    return TheMessaging().RunsAhead;
}

bool ServerConnection::WithinHorizon(double t) const {
    const MessagingState& m = TheMessaging();
    return m.RunsAhead && t < m.Horizon;
}

bool ServerConnection::ConnectionClosed() const {
    return !Connected();
}

void ServerConnection::WaitForServer() {
    const std::size_t handledBefore = socket_ ? socket_->LinesHandled() : 0;
    if (socket_) socket_->ReleaseHeldLines();
    if (!socket_ || socket_->LinesHandled() != handledBefore) return;
    // Lines may be waiting unread when this wait runs inside a handler of
    // an earlier line, where the socket does not signal again.
    if (socket_->bytesAvailable() > 0) {
        socket_->CheckServerAnswer();
        return;
    }
    // A server answers within a fraction of a millisecond: wait on the
    // socket alone first, so that a round trip costs no pass of the event
    // loop; the window's events are processed when the answer takes longer
    // (and by the run loop at every pass).
    const auto link = socket_->State();
    const bool open = link == TModelSocket::Link::Connecting || link == TModelSocket::Link::Connected;
    if (open && socket_->waitForReadyRead(kQuickWaitMs)) return;
    // What the window draws while it is processed here shows the wait.
    const bool waitingBefore = std::exchange(waiting_, true);
    ProcessPendingEvents();
    waiting_ = waitingBefore;
    if (!socket_ || abandoned_ || socket_->LinesHandled() != handledBefore) return;
    if (socket_->bytesAvailable() > 0) {
        socket_->CheckServerAnswer();
        return;
    }
    if (open) socket_->waitForReadyRead(kWaitSliceMs);
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
    qint64 written = -1;
    for (int attempt = 0; attempt <= kSendRetries && written == -1; ++attempt)
        written = Connected() ? socket_->WriteNow(framed) : -1;
    if (written != -1) return;
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
