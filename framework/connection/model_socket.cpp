#include "connection/model_socket.h"

#include <sys/socket.h>

#include <string_view>

#include "connection/server_lines.h"
#include "engine/engine.h"
#include "wire/tcp_keepalive.h"

namespace zorva {

TModelSocket::TModelSocket() {
    connect(this, &QAbstractSocket::connected, this, [this] { RegisterConnection(0); });
    connect(this, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (link_ == Link::Connecting)
            RegisterConnection(static_cast<int>(error) + 1);
        else if (link_ == Link::Connected && state() != QAbstractSocket::ConnectedState)
            ConnectionEnded();
    });
    connect(this, &QAbstractSocket::disconnected, this, [this] {
        if (link_ == Link::Connected) ConnectionEnded();
    });
    connect(this, &QIODevice::readyRead, this, [this] { CheckServerAnswer(); });
}

void TModelSocket::Open(const QString& address, quint16 port) {
    link_ = Link::Connecting;
    reader_ = ServerLineReader();
    address_ = address.toStdString() + ":" + std::to_string(port);
    failure_ = TConnectionFailure();
    connectToHost(address, port);
}

void TModelSocket::RecordFailure(TConnectionFailure::Kind what) {
    // A server that closes without an error of the socket's own leaves
    // nothing better to say than that.
    const std::string reason =
        error() == QAbstractSocket::UnknownSocketError ? "the connection was closed" : errorString().toStdString();
    failure_ = TConnectionFailure{what, address_, reason, SimTime()};
}

void TModelSocket::RegisterConnection(int error) {
    if (error == 0) {
        link_ = Link::Connected;
        // A line written while Nagle's algorithm waits for the peer's delayed
        // acknowledgement stalls every round trip by tens of milliseconds.
        setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // A server machine that vanishes ends the run instead of a wait for ever.
        EnableTcpKeepAlive(static_cast<int>(socketDescriptor()));
        ShowConnectionStatus("Connected to Server");
    } else {
        link_ = Link::Closed;
        RecordFailure(TConnectionFailure::NotConnected);
        ShowConnectionStatus("Connection failed");
    }
}

qint64 TModelSocket::WriteNow(const std::string& bytes) {
    // Through the socket's own buffer every line switches its write
    // notifier on and off again, which wakes the event loop twice: a third
    // of the cost of a grant's round trip. A line that fits the kernel's
    // buffer goes out at once; only what is left takes the buffered path.
    std::size_t sent = 0;
    if (state() == QAbstractSocket::ConnectedState && bytesToWrite() == 0) {
        // A full kernel buffer or an error leaves everything to the buffered
        // path, which waits for room or reports the error as usual.
        const ssize_t n = ::send(static_cast<int>(socketDescriptor()), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) sent = static_cast<std::size_t>(n);
    }
    if (sent == bytes.size()) return static_cast<qint64>(sent);
    const qint64 rest = write(bytes.data() + sent, static_cast<qint64>(bytes.size() - sent));
    if (rest == -1) return sent > 0 ? static_cast<qint64>(sent) : -1;
    flush();
    return static_cast<qint64>(sent) + rest;
}

void TModelSocket::CheckServerAnswer() {
    const QByteArray bytes = readAll();
    reader_.Receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void TModelSocket::ConnectionEnded() {
    link_ = Link::Closed;
    // Once the run has ended the server owes the model nothing more.
    if (RunState() != rsEnded) RecordFailure(TConnectionFailure::Lost);
    CheckServerAnswer();
    reader_.EndOfStream();
    ShowConnectionStatus("Connection lost");
}

}  // namespace zorva
