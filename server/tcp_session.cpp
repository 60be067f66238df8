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
    connect(socket_, &QTcpSocket::readyRead, this, [this] { readSome(); });
    connect(socket_, &QTcpSocket::disconnected, this, [this] { peerGone("closed by the peer"); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError) {
            peerGone("closed by the peer");
        } else {
            stop(socket_->errorString().toStdString(), false);
        }
    });
}

std::string TcpSession::peer() const {
    return socket_->peerAddress().toString().toStdString() + ":" + std::to_string(socket_->peerPort());
}

void TcpSession::send(const std::string& line) {
    if (stopped_) return;
    QByteArray data;
    data.reserve(static_cast<qsizetype>(line.size()) + 2);
    data.append(line.data(), static_cast<qsizetype>(line.size()));
    data.append("\r\n", 2);
    if (socket_->write(data) != data.size()) {
        stop("write failed: " + socket_->errorString().toStdString(), false);
    } else if (socket_->bytesToWrite() > kMaxUnsent) {
        stop("cut off: more than " + std::to_string(kMaxUnsent) + " bytes of output unread", false);
    }
}

void TcpSession::close(const std::string& reason) {
    stop(reason, true);
}

void TcpSession::readSome() {
    readScheduled_ = false;
    if (stopped_) return;
    const QByteArray chunk = socket_->read(kReadChunk);
    splitter_.feed(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())));
    for (auto dropped = splitter_.takeDroppedCount(); dropped > 0 && !stopped_; --dropped)
        listener_.lineDropped(id_, splitter_.maxLine());
    while (!stopped_) {
        auto line = splitter_.takeLine();
        if (!line) break;
        listener_.lineReceived(id_, *line);
    }
    // One chunk per turn of the event loop, so a busy client cannot starve
    // the others; the rest is read on the next turn.
    if (!stopped_ && !readScheduled_ && socket_->bytesAvailable() > 0) {
        readScheduled_ = true;
        QTimer::singleShot(0, this, [this] { readSome(); });
    }
}

void TcpSession::peerGone(const std::string& reason) {
    // Lines the peer sent before closing still count.
    while (!stopped_ && socket_->bytesAvailable() > 0) readSome();
    stop(reason, false);
}

void TcpSession::stop(const std::string& reason, bool flush) {
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
    listener_.sessionEnded(id_, reason);
}

}  // namespace zorva::server
