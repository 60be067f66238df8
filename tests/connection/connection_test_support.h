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
        onEvents_ = [] { QCoreApplication::processEvents(); };
        onDisplay_ = [this] {
            if (std::string text = TakeStatusText(); !text.empty()) statusTexts_.push_back(text);
        };
        SetMessageHandler([this](const std::string& text) {
            messages_.push_back(text);
            if (onMessage_) onMessage_(text);
        });
        SetServerPort(server_.Port());
        SetServerAddress("127.0.0.1");
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            timedOut_ = true;
            server_.Close();
        });
        watchdog_.start(4000);
    }
    void TearDown() override {
        watchdog_.stop();
        EXPECT_FALSE(timedOut_) << "the watchdog had to close the connection";
        ResetConnection();
        ResetMessageLog();
        EngineTest::TearDown();
    }

    // Connects outside a run, as RunSimulation's first step does.
    void Connect() { TheServerConnection().ConnectToServer(); }

    ScriptedServer server_;
    QTimer watchdog_;
    bool timedOut_ = false;
    std::vector<std::string> messages_;
    std::vector<std::string> statusTexts_;
    std::function<void(const std::string&)> onMessage_;
};

}  // namespace zorva::testing
