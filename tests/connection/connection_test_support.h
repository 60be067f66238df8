#pragma once
// A model connected to a scripted server: the engine fixture with Qt's event
// processing as the window's, the model's handlers recording what reaches
// them, and a watchdog that closes the connection when a run would hang.

#include <QTimer>

#include "connection/message_log.h"
#include "connection/messaging.h"
#include "connection/server_connection.h"
#include "engine_test_support.h"
#include "scripted_server.h"

namespace zorva::testing {

class ConnectionTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ResetConnection();
        ResetMessageLog();
        onEvents = [] { QCoreApplication::processEvents(); };
        onDisplay = [this] {
            if (std::string text = TakeStatusText(); !text.empty()) statusTexts.push_back(text);
        };
        SetMessageHandler([this](const std::string& text) {
            messages.push_back(text);
            if (onMessage) onMessage(text);
        });
        SetServerPort(server.Port());
        SetServerAddress("127.0.0.1");
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            timedOut = true;
            server.Close();
        });
        watchdog.start(4000);
    }
    void TearDown() override {
        watchdog.stop();
        EXPECT_FALSE(timedOut) << "the watchdog had to close the connection";
        ResetConnection();
        ResetMessageLog();
        EngineTest::TearDown();
    }

    // Connects outside a run, as RunSimulation's first step does.
    void Connect() { TheServerConnection().ConnectToServer(); }

    ScriptedServer server;
    QTimer watchdog;
    bool timedOut = false;
    std::vector<std::string> messages;
    std::vector<std::string> statusTexts;
    std::function<void(const std::string&)> onMessage;
};

}  // namespace zorva::testing
