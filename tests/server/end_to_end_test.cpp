// Starts the real zorva-server on a free loopback port and talks to it.
#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kWaitMs = 5000;

quint16 FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

class Server {
public:
    explicit Server(const QStringList& arguments) {
        process_.start(ZORVA_SERVER_EXECUTABLE, arguments);
        process_.waitForStarted(kWaitMs);
    }
    ~Server() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(kWaitMs);
        }
    }
    bool WaitForOutput(const QByteArray& text, int ms = kWaitMs) {
        QElapsedTimer timer;
        timer.start();
        while (!output_.contains(text) && timer.elapsed() < ms) {
            process_.waitForReadyRead(100);
            output_ += process_.readAllStandardOutput();
        }
        return output_.contains(text);
    }
    QProcess& Process() { return process_; }

private:
    QProcess process_;
    QByteArray output_;
};

class Client {
public:
    explicit Client(quint16 port) {
        socket_.connectToHost(QHostAddress::LocalHost, port);
        socket_.waitForConnected(kWaitMs);
    }
    void Send(const QByteArray& bytes) {
        socket_.write(bytes);
        socket_.waitForBytesWritten(kWaitMs);
    }
    QByteArray Line() {
        QElapsedTimer timer;
        timer.start();
        while (!socket_.canReadLine() && timer.elapsed() < kWaitMs) socket_.waitForReadyRead(100);
        return socket_.canReadLine() ? socket_.readLine() : QByteArray("(nothing)");
    }
    QTcpSocket& Socket() { return socket_; }

private:
    QTcpSocket socket_;
};

TEST(EndToEnd, TwoModelsRunToTheEndThroughBadInputAndTheServerExits) {
    const quint16 port = FreePort();
    ASSERT_NE(port, 0);
    Server server({"--port", QString::number(port), "--until", "30"});
    ASSERT_TRUE(server.WaitForOutput("listening on 127.0.0.1:" + QByteArray::number(port)));

    Client west(port);
    EXPECT_EQ(west.Line(), "$$hello:zorva-server!!0.00\r\n");
    west.Send("$$name:obrimwest\r\n");
    Client east(port);
    EXPECT_EQ(east.Line(), "$$hello:zorva-server!!0.00\r\n");
    east.Send("$$name:obrimeast\r\n");
    ASSERT_TRUE(server.WaitForOutput("model obrimeast registered"));

    west.Send("$$continue:5.00\r\n");
    east.Send("$$continue:10.00\r\n");
    EXPECT_EQ(west.Line(), "$$continue:5.00\r\n");

    // Garbage, an oversized line and a line in two pieces change nothing.
    west.Send(QByteArray("\x01\xff garbage\r\n") + QByteArray(70000, 'x') + "\r\n");
    west.Send("$$toclient: brim");
    west.Send("east!!ShipL3!!17.52!!104.37\r\n");
    EXPECT_EQ(east.Line(), "$$from:5.00!!obrimwest!!ShipL3!!17.52!!104.37\r\n");
    EXPECT_TRUE(server.WaitForOutput("dropped a line longer than 65536 bytes"));

    west.Send("$$continue:40.00\r\n");
    EXPECT_EQ(west.Line(), "$$stop:30.00\r\n");
    west.Send("$$continue:30.00\r\n");
    east.Send("$$newevent:25.00\r\n");
    EXPECT_EQ(east.Line(), "$$continue:25.00\r\n");
    east.Send("$$continue:30.00\r\n");
    EXPECT_EQ(east.Line(), "$$stop:30.00\r\n");
    east.Send("$$continue:30.00\r\n");
    EXPECT_EQ(west.Line(), "$$continue:30.00\r\n");
    EXPECT_EQ(east.Line(), "$$continue:30.00\r\n");
    EXPECT_TRUE(server.WaitForOutput("end of run at 30.00"));

    west.Socket().disconnectFromHost();
    east.Socket().disconnectFromHost();
    // Every "$$continue:" above, but not the garbage, was a round trip.
    EXPECT_TRUE(server.WaitForOutput("6 requests waited for an answer"));
    ASSERT_TRUE(server.Process().waitForFinished(kWaitMs));
    EXPECT_EQ(server.Process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server.Process().exitCode(), 0);
}

TEST(EndToEnd, AClientThatStopsReadingIsCutOffAndTheOthersGoOn) {
    const quint16 port = FreePort();
    ASSERT_NE(port, 0);
    Server server({"--port", QString::number(port), "--models", "1"});
    ASSERT_TRUE(server.WaitForOutput("listening on"));
    Client stalled(port);
    stalled.Send("$$name:stalled\r\n");
    Client other(port);
    EXPECT_EQ(other.Line(), "$$hello:zorva-server!!0.00\r\n");
    other.Send("$$name:other\r\n");

    // Texts to itself that it never reads pile up in the server (the test's
    // own socket would otherwise take them all in).
    stalled.Socket().setReadBufferSize(1024);
    const QByteArray text = "$$toclient: stalled!!" + QByteArray(60000, 'y') + "\r\n";
    for (int i = 0; i < 1000 && stalled.Socket().state() == QAbstractSocket::ConnectedState; ++i) {
        stalled.Socket().write(text);
        stalled.Socket().waitForBytesWritten(200);
    }
    EXPECT_TRUE(server.WaitForOutput("bytes of output unread"));
    other.Send("$$?1!!server!!time\r\n");
    EXPECT_EQ(other.Line(), "$$!1!!server!!0.00\r\n");
}

TEST(EndToEnd, IdleConnectionsNeverLockTheModelsOut) {
    const quint16 port = FreePort();
    ASSERT_NE(port, 0);
    Server server({"--port", QString::number(port), "--registration-timeout", "60"});
    ASSERT_TRUE(server.WaitForOutput("listening on"));
    std::vector<std::unique_ptr<Client>> idle;
    for (int i = 0; i < 256; ++i) idle.push_back(std::make_unique<Client>(port));
    ASSERT_TRUE(server.WaitForOutput("connection 256 from", 30000));
    Client model(port);
    EXPECT_EQ(model.Line(), "$$hello:zorva-server!!0.00\r\n");
    EXPECT_TRUE(server.WaitForOutput("disconnect 1: closed to make room for a new connection"));
}

TEST(EndToEnd, AConnectionThatDoesNotRegisterIsClosed) {
    const quint16 port = FreePort();
    ASSERT_NE(port, 0);
    Server server({"--port", QString::number(port), "--registration-timeout", "1"});
    ASSERT_TRUE(server.WaitForOutput("listening on"));
    Client idle(port);
    Client model(port);
    model.Send("$$name:obrimwest\r\n");
    EXPECT_TRUE(server.WaitForOutput("disconnect 1: no registration within 1 s"));
    EXPECT_FALSE(server.WaitForOutput("disconnect 2", 500));
}

TEST(EndToEnd, ABusyPortAndBadOptionsEndWithAClearMessage) {
    QTcpServer occupant;
    ASSERT_TRUE(occupant.listen(QHostAddress::LocalHost, 0));
    QProcess busy;
    busy.start(ZORVA_SERVER_EXECUTABLE, {"--port", QString::number(occupant.serverPort())});
    ASSERT_TRUE(busy.waitForFinished(kWaitMs));
    EXPECT_EQ(busy.exitCode(), 1);
    const QByteArray busyMessage = busy.readAllStandardError();
    EXPECT_TRUE(busyMessage.startsWith("zorva-server: cannot listen on")) << busyMessage.data();
    EXPECT_EQ(busyMessage.count('\n'), 1);

    QProcess bad;
    bad.start(ZORVA_SERVER_EXECUTABLE, {"--models", "many"});
    ASSERT_TRUE(bad.waitForFinished(kWaitMs));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("--models"));
}

}  // namespace
