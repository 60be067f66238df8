// Two models through the real zorva-server: the west model runs in this
// process, the east model in a second instance of this program.

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include <cstdio>

#include "connection_test_support.h"
#include "end_to_end_model.h"
#include "kernel/msg_string.h"
#include "wire/number_text.h"

namespace zorva::testing {

namespace {

class Ship : public ZorvaProcessElement {
public:
    using ZorvaProcessElement::ZorvaProcessElement;
    void Process() override {
        std::printf("%s arrived at %s\n", Name.c_str(), FormatFixed(SimTime()).c_str());
        std::fflush(stdout);
        FinishAndDestroyProcess();
    }
};

}  // namespace

int RunEastModel(const char* port) {
    SetEventProcessor([] { QCoreApplication::processEvents(); });
    SetModelName("obrimeast");
    SetServerPort(static_cast<std::uint16_t>(std::atoi(port)));
    SetServerAddress("127.0.0.1");
    SetQuestionHandler([](TMsgString&, const std::string& asker) { SendAnswer(asker, "Yes"); });
    SetMessageHandler([](const std::string& text) {
        if (text.rfind("$$from:", 0) != 0) return;
        TMsgString message(text.substr(7));
        message.GetString();  // the sender
        const std::string name = message.GetString();
        const double handedOver = message.GetDouble();
        if (message.ReadError()) return;
        (new Ship(name, SimTime()))->ScheduleProcess(handedOver + 20.0);
    });
    RunSimulation();
    std::printf("east ended at %s\n", FormatFixed(SimTime()).c_str());
    ResetConnection();
    return 0;
}

namespace {

#ifdef ZORVA_SERVER_EXECUTABLE

TEST_F(EngineTest, TwoModelsHandAShipOverThroughTheServer) {
    const std::uint16_t port = [] {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }();
    QProcess server;
    server.start(ZORVA_SERVER_EXECUTABLE, {"--port", QString::number(port), "--until", "40"});
    ASSERT_TRUE(server.waitForStarted(3000));
    ASSERT_TRUE(PumpUntil([&] {
        server.waitForReadyRead(10);
        return server.canReadLine();
    }));
    QProcess east;
    east.start(QCoreApplication::applicationFilePath(), {"--east-model", QString::number(port)});
    ASSERT_TRUE(east.waitForStarted(3000));
    // Whatever goes wrong, the run must not hang: without the server every
    // wait ends.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] { server.kill(); });
    watchdog.start(8000);

    ResetConnection();
    onEvents_ = [] { QCoreApplication::processEvents(); };
    SetModelName("obrimwest");
    SetServerPort(port);
    SetServerAddress("127.0.0.1");
    std::vector<std::string> answers;
    Start("Generator", 0.0, [&](LambdaElement&) {
        for (int i = 1; i <= 2; ++i) {
            HoldProcess(5.0);
            std::string text = "Can you receive a ship?";
            AskModel("brimeast", text);
            answers.push_back(text);
            if (text.rfind("Yes", 0) == 0)
                SendToModel("brimeast", "Ship" + std::to_string(i) + "!!" + FormatFixed(SimTime()));
        }
    });
    RunSimulation();
    const bool watchdogFired = !watchdog.isActive();
    watchdog.stop();
    EXPECT_FALSE(watchdogFired);
    EXPECT_EQ(SimTime(), 40.0);
    EXPECT_EQ(answers, (std::vector<std::string>{"Yes", "Yes"}));
    ResetConnection();

    // The run loop processes Qt's events, so the finish may already be known:
    // waitForFinished answers false for a process that has already finished.
    const auto finished = [](QProcess& p) { return p.state() == QProcess::NotRunning || p.waitForFinished(5000); };
    ASSERT_TRUE(finished(east));
    EXPECT_EQ(east.readAllStandardOutput().toStdString(),
              "Ship1 arrived at 25.00\nShip2 arrived at 30.00\neast ended at 40.00\n");
    EXPECT_TRUE(finished(server));
    EXPECT_EQ(server.exitCode(), 0);
}

#endif

}  // namespace
}  // namespace zorva::testing
