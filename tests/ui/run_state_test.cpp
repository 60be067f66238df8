// The run state in the status bar through connected runs with the real
// zorva-server, and the dialogs when the connection fails or is lost.
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>

#include "real_server.h"
#include "ui/connection_dialog.h"
#include "ui_test_support.h"

namespace zorva::uitest {
namespace {

using zorva::testing::ScriptedServer;

class RunStateTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        InitTestModel();
    }
    void ConnectTo(std::uint16_t port) {
        SetServerPort(port);
        form_->ApplyServerAddress("127.0.0.1");
    }
    std::string State() const { return form_->StatusBar()->PanelText(3); }
    bool MenuOffersInterruptOrResume() const {
        return form_->InterruptItem()->isEnabled() || form_->ResumeItem()->isEnabled();
    }
};

#ifdef ZORVA_SERVER_EXECUTABLE
TEST_F(RunStateTest, WholeConnectedRunThroughTheRealServer) {
    zorva::testing::RealServer server({"--models", "1", "--until", "10"});
    ConnectTo(server.Port());
    EXPECT_EQ(State(), "Idle");
    std::string midRun;
    AtSimTime(4.0, [&] {
        form_->LookAtRun();
        midRun = State();
    });
    RunThroughStart();
    EXPECT_EQ(midRun, "Running");
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(State(), "Ended");
    EXPECT_FALSE(MenuOffersInterruptOrResume());
}

TEST_F(RunStateTest, WaitingForAServerThatGrantsNothingYet) {
    zorva::testing::RealServer server({"--models", "2"});
    ConnectTo(server.Port());
    std::string waiting;
    QTimer::singleShot(300, form_.get(), [&] {
        form_->LookAtRun();
        form_->LookAtRun();
        waiting = State();
        form_->close();
    });
    RunThroughStart();
    EXPECT_EQ(waiting, "Waiting for the server");
}

TEST_F(RunStateTest, ServerKilledDuringTheRunLeavesItEndedWithTheConnectionLost) {
    SetBoxPresenter(nullptr);
    zorva::testing::RealServer server({"--models", "1"});
    ConnectTo(server.Port());
    AtSimTime(4.0, [&] { server.Kill(); });
    RunThroughStart();
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(State(), "Connection lost");
    EXPECT_EQ(MemoLinesContaining("Connection lost"), 1);
    EXPECT_FALSE(MenuOffersInterruptOrResume());
    const auto* box = form_->findChild<QMessageBox*>("ConnectionLostBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_NE(box->text().toStdString().find("Lost the connection to the message server at 127.0.0.1:"),
              std::string::npos);
}
#endif

// Nothing listens on the port at first: the dialog offers its three ways.
class ConnectionFailedTest : public RunStateTest {
protected:
    void SetUp() override {
        RunStateTest::SetUp();
        SetBoxPresenter(nullptr);
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost, 0);
            closedPort_ = probe.serverPort();
        }
        ConnectTo(closedPort_);
        SetStopTime(10.0);
    }
    // Clicks the button that choose picks as soon as the dialog is up,
    // after doing what before does (while the dialog waits).
    void AnswerWith(QPushButton* (TConnectionFailedDialog::*choose)() const, std::function<void()> before = {}) {
        auto* poll = new QTimer(form_.get());
        QObject::connect(poll, &QTimer::timeout, [=, this] {
            auto* dialog = qobject_cast<TConnectionFailedDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll->stop();
            asked_ = dialog->text().toStdString();
            stateWhileAsked_ = State();
            if (before) before();
            (dialog->*choose)()->click();
        });
        poll->start(20);
    }
    std::uint16_t closedPort_ = 0;
    std::string asked_;
    std::string stateWhileAsked_;
};

TEST_F(ConnectionFailedTest, RetryConnectsOnceTheServerIsThere) {
    ScriptedServer server;
    server.SetScript(&ScriptedServer::GrantAll);
    AnswerWith(&TConnectionFailedDialog::RetryButton, [&] { SetServerPort(server.Port()); });
    RunThroughStart();
    EXPECT_EQ(asked_, "Could not connect to 127.0.0.1:" + std::to_string(closedPort_) + ": Connection refused");
    EXPECT_EQ(stateWhileAsked_, "Failed");
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(server.Lines().back(), "$$continue:10.00");
    EXPECT_EQ(ConnectionFailure().What, TConnectionFailure::None);
    EXPECT_EQ(State(), "Ended");
}

TEST_F(ConnectionFailedTest, RunUnconnectedRunsTheModelAlone) {
    AnswerWith(&TConnectionFailedDialog::RunUnconnectedButton);
    RunThroughStart();
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(MemoLinesContaining("Customer5 to tail of Line"), 1);
    EXPECT_EQ(MemoLinesContaining("Connection failed"), 1);
    EXPECT_EQ(HeaderText(hsServerAddress), "ServerAddress: ");
    EXPECT_EQ(ConnectionFailure().What, TConnectionFailure::None);
    EXPECT_EQ(State(), "Ended");
}

TEST_F(ConnectionFailedTest, QuitEndsTheProgram) {
    AnswerWith(&TConnectionFailedDialog::QuitButton);
    RunThroughStart();
    EXPECT_EQ(closings_, 1);
    EXPECT_EQ(SimTime(), 0.0);
}

}  // namespace
}  // namespace zorva::uitest
