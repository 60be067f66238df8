#include "tcp_session.h"

#include "wire/tcp_keepalive.h"

#include <QTimer>

namespace zorva::server {

namespace {

// How long a closing session may take to hand its last lines to the peer.
constexpr int kCloseGraceMs = 2000;

}  // namespace

TcpSession::TcpSession(ClientId id, QTcpSocket* socket, SessionListener& listener, QObject* parent)
    : QObject(parent), id_(id), socket_(socket), listener_(listener) {
    socket_->setParent(this);
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    EnableTcpKeepAlive(static_cast<int>(socket_->socketDescriptor()));
    // Qt stops reading from the kernel when this fills, so a flooding client
    // is slowed down by TCP instead of growing our memory.
    socket_->setReadBufferSize(kReadBuffer);
    connect(socket_, &QTcpSocket::readyRead, this, [this] { ReadSome(); });
    connect(socket_, &QTcpSocket::disconnected, this, [this] { PeerGone("closed by the peer"); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError) {
            PeerGone("closed by the peer");
        } else {
            Stop(socket_->errorString().toStdString(), false);
        }
    });
}

std::string TcpSession::Peer() const {
    return socket_->peerAddress().toString().toStdString() + ":" + std::to_string(socket_->peerPort());
}

void TcpSession::Send(const std::string& line) {
    if (stopped_) return;
    QByteArray data;
    data.reserve(static_cast<qsizetype>(line.size()) + 2);
    data.append(line.data(), static_cast<qsizetype>(line.size()));
    data.append("\r\n", 2);
    if (socket_->write(data) != data.size()) {
        Stop("write failed: " + socket_->errorString().toStdString(), false);
    } else if (socket_->bytesToWrite() > kMaxUnsent) {
        Stop("cut off: more than " + std::to_string(kMaxUnsent) + " bytes of output unread", false);
    }
    // Written at once rather than at the event loop's next turn: a grant
    // that waits for that turn adds to every round trip.
    if (!stopped_) socket_->flush();
}

void TcpSession::Close(const std::string& reason) {
    Stop(reason, true);
}

void TcpSession::ReadSome() {
    readScheduled_ = false;
    if (stopped_) return;
    const QByteArray chunk = socket_->read(kReadChunk);
    splitter_.Feed(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())));
    for (auto dropped = splitter_.TakeDroppedCount(); dropped > 0 && !stopped_; --dropped)
        listener_.LineDropped(id_, splitter_.MaxLine());
    while (!stopped_) {
        auto line = splitter_.TakeLine();
        if (!line) break;
        listener_.LineReceived(id_, *line);
    }
    // One chunk per turn of the event loop, so a busy client cannot starve
    // the others; the rest is read on the next turn.
    if (!stopped_ && !readScheduled_ && socket_->bytesAvailable() > 0) {
        readScheduled_ = true;
        QTimer::singleShot(0, this, [this] { ReadSome(); });
    }
}

void TcpSession::PeerGone(const std::string& reason) {
    // Lines the peer sent before closing still count.
    while (!stopped_ && socket_->bytesAvailable() > 0) ReadSome();
    Stop(reason, false);
}

void TcpSession::Stop(const std::string& reason, bool flush) {
    if (stopped_) return;
    stopped_ = true;
    disconnect(socket_, nullptr, this, nullptr);
    if (flush && socket_->state() == QAbstractSocket::ConnectedState) {
        connect(socket_, &QTcpSocket::disconnected, this, &QObject::deleteLater);
        QTimer::singleShot(kCloseGraceMs, this, &QObject::deleteLater);
        socket_->disconnectFromHost();
    } else {
        socket_->abort();
        deleteLater();
    }
    listener_.SessionEnded(id_, reason);
}

}  // namespace zorva::server
