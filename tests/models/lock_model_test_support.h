#pragma once
// One lock model run alone against a message server played by the test: the
// server grants every request, answers the model's questions with a chosen
// text and can hand ships over at chosen times. No window: the display
// callback hands incoming texts straight to the model.

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "connection/message_log.h"
#include "connection/messaging.h"
#include "connection/server_connection.h"
#include "engine/engine.h"
#include "kernel/kernel.h"
#include "lock/lock_model.h"
#include "scripted_server.h"
#include "wire/number_text.h"

namespace zorva::testing {

// A "$$from:" line the server sends once the model asks for time At or later.
struct Delivery {
    double At;
    std::string Payload;  // what the sending model passed to SendToModel
};

class LockModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetKernel();
        InitKernel();
        ResetConnection();
        ResetMessageLog();
        SetEventProcessor([] { QCoreApplication::processEvents(); });
        server_.SetScript([this](ScriptedServer& s, const std::string& line) { Answer(s, line); });
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            timedOut_ = true;
            server_.Close();
        });
    }
    void TearDown() override {
        watchdog_.stop();
        EXPECT_FALSE(timedOut_) << "the watchdog had to close the connection";
        ResetConnection();
        ResetMessageLog();
        ResetKernel();
        SetEventProcessor(nullptr);
        SetDisplayCallback(nullptr);
    }

    // The model's own initialisation, then a connected run until stopTime,
    // one granted event at a time unless the model may run ahead.
    void Run(const std::function<void()>& initModel, double stopTime, bool mayRunAhead = false) {
        initModel();
        if (!mayRunAhead) SetLookahead(0.0);
        SetServerPort(server_.Port());
        SetServerAddress("127.0.0.1");
        SetStopTime(stopTime);
        watchdog_.start(5000);
        RunSimulation();
    }

    // The times at which the trace shows `name` followed by `event`.
    static std::vector<double> TraceTimes(const std::string& name, const std::string& event) {
        std::vector<double> times;
        const std::string tail = " " + name + " " + event;
        for (const std::string& line : TraceMemo().Lines()) {
            if (line.size() != 12 + tail.size() || line.compare(12, std::string::npos, tail) != 0) continue;
            const std::string stamp = line.substr(0, 12);
            times.push_back(*ParseNumber(stamp.substr(stamp.find_first_not_of(' '))));
        }
        return times;
    }

    // The lines the model sent that begin with prefix.
    std::vector<std::string> SentLines(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : server_.Lines())
            if (line.rfind(prefix, 0) == 0) found.push_back(line);
        return found;
    }

    // The line the model sent just before the first one beginning with prefix.
    std::string SentBefore(const std::string& prefix) const {
        const auto& lines = server_.Lines();
        for (std::size_t i = 1; i < lines.size(); ++i)
            if (lines[i].rfind(prefix, 0) == 0) return lines[i - 1];
        return {};
    }

    ScriptedServer server_;
    std::string answer_ = "Yes";
    std::deque<Delivery> deliveries_;
    QTimer watchdog_;
    bool timedOut_ = false;

private:
    void Answer(ScriptedServer& s, const std::string& line) {
        if (line.rfind("$$?", 0) == 0) {
            const std::string number = line.substr(3, line.find("!!") - 3);
            s.Send("$$!" + number + "!!peer!!" + answer_);
            return;
        }
        const bool asks = line.rfind("$$continue:", 0) == 0;
        if (!asks && line.rfind("$$newevent:", 0) != 0) return;
        const std::string requested = line.substr(line.find(':') + 1);
        // Like a real server, a due ship goes out instead of the grant: the
        // model's report of its earliest event then stands for its request.
        if (asks && !deliveries_.empty() && deliveries_.front().At <= *ParseNumber(requested)) {
            s.Send("$$from:" + FormatFixed(deliveries_.front().At) + "!!peer!!" + deliveries_.front().Payload);
            deliveries_.pop_front();
            return;
        }
        s.Send("$$continue:" + requested);
    }
};

}  // namespace zorva::testing
