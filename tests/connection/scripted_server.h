#pragma once
// A message server played by the test: it listens on a free loopback port,
// records every line the model sends and answers through a script.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <string>
#include <vector>

namespace zorva::testing {

class ScriptedServer {
public:
    using Script = std::function<void(ScriptedServer&, const std::string& line)>;

    ScriptedServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { Accept(); });
    }

    std::uint16_t Port() const { return server_.serverPort(); }
    void SetGreeting(std::string greeting) { greeting_ = std::move(greeting); }
    void SetScript(Script script) { script_ = std::move(script); }
    // Raw bytes, written at once (no line end added).
    void Write(const std::string& bytes) {
        if (!peer_) return;
        peer_->write(bytes.data(), static_cast<qint64>(bytes.size()));
        peer_->flush();
    }
    void Send(const std::string& line) { Write(line + "\r\n"); }
    void Close() {
        if (peer_) peer_->abort();
        server_.close();
    }
    const std::vector<std::string>& Lines() const { return lines_; }
    bool Connected() const { return peer_ != nullptr; }

    // The answer of a server that grants every request at once.
    static void GrantAll(ScriptedServer& s, const std::string& line) {
        for (const char* keyword : {"$$continue:", "$$newevent:"})
            if (line.rfind(keyword, 0) == 0) s.Send("$$continue:" + line.substr(std::string(keyword).size()));
    }

private:
    void Accept() {
        peer_ = server_.nextPendingConnection();
        if (!peer_) return;
        peer_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QObject::connect(peer_, &QIODevice::readyRead, [this] { Read(); });
        if (!greeting_.empty()) Send(greeting_);
    }
    void Read() {
        buffer_ += peer_->readAll().toStdString();
        for (auto end = buffer_.find("\r\n"); end != std::string::npos; end = buffer_.find("\r\n")) {
            const std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 2);
            lines_.push_back(line);
            if (script_) script_(*this, line);
        }
    }

    QTcpServer server_;
    QTcpSocket* peer_ = nullptr;  // owned by server_
    std::string greeting_ = "$$hello:test!!0.00";
    std::string buffer_;
    std::vector<std::string> lines_;
    Script script_;
};

// Processes events until the condition holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

}  // namespace zorva::testing
