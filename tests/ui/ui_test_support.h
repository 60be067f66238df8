#pragma once
// A fresh main window per test, started as a program starts it, with the
// message boxes recorded instead of shown, and helpers that act on the
// window from inside a run the way a user does: as window events that the
// run loop dispatches between two process steps.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "connection/message_log.h"
#include "connection/messaging.h"
#include "connection/server_connection.h"
#include "kernel/kernel.h"
#include "test_model.h"
#include "ui/framework_setup.h"
#include "ui/header_strip.h"
#include "ui/message_boxes.h"
#include "ui/settings_panel.h"
#include "ui/trace_panel.h"
#include "ui/zorva_form.h"

namespace zorva::uitest {

struct Box {
    BoxKind Kind;
    std::string Text;
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        StopFramework();
        SetBoxPresenter([this](BoxKind kind, const std::string& text) { boxes_.push_back({kind, text}); });
        form_ = StartFramework();
        form_->SetClosedHook([this] { ++closings_; });
        form_->show();
        // However a test goes wrong, a run must end: the watchdog ends it
        // as a closed window would, and the test fails.
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            watchdogFired_ = true;
            TheServerConnection().Abandon();
            SetStopTime(SimTime());
            LeaveStepMode();
        });
    }
    void TearDown() override {
        watchdog_.stop();
        EXPECT_FALSE(watchdogFired_) << "the run had to be ended by the watchdog";
        StopFramework();
        ResetTestModel();
        form_.reset();
        SetBoxPresenter(nullptr);
    }

    // Chooses Start and returns when the run has ended (or after the
    // watchdog's time, when it did not).
    void RunThroughStart(int watchdogMs = 5000) {
        watchdog_.start(watchdogMs);
        form_->StartItem()->trigger();
        watchdog_.stop();
    }

    // The action runs as a window event once the clock has reached t: a
    // helper element holds until then and posts it.
    void AtSimTime(double t, std::function<void()> action);

public:
    // Runs action as a window event, dispatched at the run loop's next look.
    static void Post(std::function<void()> action) {
        QMetaObject::invokeMethod(qApp, std::move(action), Qt::QueuedConnection);
    }

protected:
    QPlainTextEdit* Memo() const { return form_->TracePanel()->TraceMemo(); }
    int MemoLinesContaining(const std::string& text) const;
    std::string HeaderText(int section) const { return form_->Header()->SectionText(section); }

    std::unique_ptr<TZorvaForm> form_;
    std::vector<Box> boxes_;
    int closings_ = 0;
    QTimer watchdog_;
    bool watchdogFired_ = false;
};

}  // namespace zorva::uitest
