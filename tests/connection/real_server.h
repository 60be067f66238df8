#pragma once
// The real zorva-server as a process on a free loopback port, and scripted
// peers that speak to it as other models would.

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <string>
#include <vector>

#include "scripted_server.h"

namespace zorva::testing {

class RealServer {
public:
    explicit RealServer(QStringList arguments) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port_ = probe.serverPort();
        probe.close();
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(ZORVA_SERVER_EXECUTABLE, arguments << "--port" << QString::number(port_));
        PumpUntil([this] {
            process_.waitForReadyRead(10);
            output_ += process_.readAll().toStdString();
            return output_.find("listening on") != std::string::npos;
        });
    }
    ~RealServer() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    std::uint16_t Port() const { return port_; }
    void Kill() { process_.kill(); }

private:
    std::uint16_t port_ = 0;
    QProcess process_;
    std::string output_;
};

// A model played by the test: it registers under its name and answers each
// line the server sends through its script, inside whatever processes Qt's
// events (the model under test's waits, say).
class ScriptedPeer {
public:
    using Script = std::function<void(ScriptedPeer&, const std::string& line)>;

    ScriptedPeer(std::uint16_t port, std::string name, Script script)
        : name_(std::move(name)), script_(std::move(script)) {
        QObject::connect(&socket_, &QIODevice::readyRead, [this] { Read(); });
        QObject::connect(&socket_, &QAbstractSocket::connected,
                         [this] { socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1); });
        socket_.connectToHost(QHostAddress::LocalHost, port);
    }
    // Several lines go in one write, so the server reads them together.
    void Send(std::initializer_list<std::string> lines) {
        std::string framed;
        for (const std::string& line : lines) framed += line + "\r\n";
        socket_.write(framed.data(), static_cast<qint64>(framed.size()));
        socket_.flush();
    }
    void Send(const std::string& line) { Send({line}); }
    // Handles what has arrived for this peer alone, without turning Qt's
    // event loop: the model under test stays where it is.
    void ReadNow(int ms) { socket_.waitForReadyRead(ms); }
    const std::vector<std::string>& Lines() const { return lines_; }
    bool Received(const std::string& prefix) const {
        for (const std::string& line : lines_)
            if (line.rfind(prefix, 0) == 0) return true;
        return false;
    }

private:
    void Read() {
        buffer_ += socket_.readAll().toStdString();
        for (auto end = buffer_.find("\r\n"); end != std::string::npos; end = buffer_.find("\r\n")) {
            const std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 2);
            lines_.push_back(line);
            if (line.rfind("$$hello:", 0) == 0) Send("$$name:" + name_);
            if (script_) script_(*this, line);
        }
    }

    std::string name_;
    Script script_;
    QTcpSocket socket_;
    std::string buffer_;
    std::vector<std::string> lines_;
};

}  // namespace zorva::testing
