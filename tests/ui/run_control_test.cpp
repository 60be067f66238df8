// Start, Interrupt, Resume, Quit, step mode, the space key and closing,
// through the main window during a run of the test model.
#include <QCheckBox>
#include <QTest>
#include <QToolButton>

#include "ui_test_support.h"

namespace zorva::uitest {
namespace {

struct MenuState {
    bool Start, Interrupt, Resume, Quit;
    bool operator==(const MenuState&) const = default;
};

void PrintTo(const MenuState& m, std::ostream* os) {
    *os << "{start " << m.Start << ", interrupt " << m.Interrupt << ", resume " << m.Resume << ", quit " << m.Quit
        << "}";
}

class RunControlTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        InitTestModel();
        SetServerAddress("");
        // A run that nothing ends would never come back.
        SetStopTime(500.0);
    }
    MenuState Menu() const {
        return {form_->StartItem()->isEnabled(), form_->InterruptItem()->isEnabled(), form_->ResumeItem()->isEnabled(),
                form_->QuitItem()->isEnabled()};
    }
};

TEST_F(RunControlTest, MenuFollowsStartInterruptResumeAndEnd) {
    EXPECT_EQ(Menu(), (MenuState{true, false, false, true}));
    std::vector<MenuState> seen;
    AtSimTime(3.0, [&] {
        seen.push_back(Menu());
        form_->InterruptItem()->trigger();
        seen.push_back(Menu());
        EXPECT_EQ(RunState(), rsInterrupted);
        Post([&] {
            form_->ResumeItem()->trigger();
            seen.push_back(Menu());
            EXPECT_EQ(RunState(), rsRunning);
            form_->QuitItem()->trigger();
        });
    });
    RunThroughStart();
    EXPECT_EQ(seen, (std::vector<MenuState>{
                        {false, true, false, true}, {false, false, true, true}, {false, true, false, true}}));
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 3.0);
    // An ended run can be neither interrupted nor resumed.
    EXPECT_EQ(Menu(), (MenuState{false, false, false, true}));
    EXPECT_EQ(form_->StatusBar()->PanelText(3), "Ended");
    EXPECT_EQ(closings_, 0);
    EXPECT_TRUE(form_->isVisible());
}

TEST_F(RunControlTest, StepModeBeforeStartWaitsForEveryStep) {
    form_->TracePanel()->StepModeCheckBox()->click();
    EXPECT_EQ(RunState(), rsStepping);
    EXPECT_TRUE(form_->TracePanel()->StepButton()->isVisible());
    // The run has left Idle: the model can no longer change the address.
    SetServerAddress("elsewhere");
    EXPECT_EQ(HeaderText(hsServerAddress), "ServerAddress: ");

    std::vector<int> currentLines;
    Post([&] {
        currentLines.push_back(MemoLinesContaining("is current now"));
        form_->TracePanel()->StepButton()->click();
        Post([&] {
            currentLines.push_back(MemoLinesContaining("is current now"));
            form_->TracePanel()->StepButton()->click();
            Post([&] {
                currentLines.push_back(MemoLinesContaining("is current now"));
                form_->close();
            });
        });
    });
    RunThroughStart();
    EXPECT_EQ(currentLines, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(closings_, 1);
    EXPECT_EQ(RunState(), rsEnded);
}

TEST_F(RunControlTest, SpaceTypedToTheWindowBreaksBeforeTheNextEvent) {
    double clockAtKey = -1;
    AtSimTime(4.0, [&] {
        form_->setFocus();
        clockAtKey = SimTime();
        QTest::keyClick(form_.get(), Qt::Key_Space);
        Post([&] {
            EXPECT_EQ(RunState(), rsInterrupted);
            EXPECT_TRUE(form_->ResumeItem()->isEnabled());
            EXPECT_FALSE(form_->InterruptItem()->isEnabled());
            form_->QuitItem()->trigger();
            form_->ResumeItem()->trigger();
        });
    });
    RunThroughStart();
    EXPECT_EQ(clockAtKey, 4.0);
    EXPECT_EQ(SimTime(), 4.0);
    EXPECT_EQ(MemoLinesContaining("        4.00 *** Interrupt ***"), 1);
}

TEST_F(RunControlTest, SpaceWhileACheckBoxHasTheFocusIsNoBreak) {
    QCheckBox* trace = form_->TracePanel()->TraceCheckBox();
    AtSimTime(4.0, [&] {
        trace->setFocus();
        QTest::keyClick(form_.get(), Qt::Key_Space);
        QTest::keyClick(trace, Qt::Key_Space);
    });
    AtSimTime(6.0, [&] { form_->QuitItem()->trigger(); });
    RunThroughStart();
    EXPECT_EQ(SimTime(), 6.0);
    EXPECT_EQ(MemoLinesContaining("*** Interrupt ***"), 0);
    // The space went to the check box, which switched the trace off.
    EXPECT_FALSE(trace->isChecked());
    EXPECT_FALSE(form_->TraceOn());
}

TEST_F(RunControlTest, FirstCloseWhileRunningIsDeferredUntilTheRunHasEnded) {
    bool visibleAfterClose = false;
    AtSimTime(5.0, [&] {
        form_->close();
        visibleAfterClose = form_->isVisible();
        EXPECT_TRUE(form_->CloseRequested());
        EXPECT_EQ(closings_, 0);
    });
    RunThroughStart();
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(closings_, 1);
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 5.0);
}

TEST_F(RunControlTest, CloseWhileInterruptedEndsTheProgramAtOnce) {
    AtSimTime(5.0, [&] {
        form_->InterruptItem()->trigger();
        Post([&] {
            form_->close();
            EXPECT_FALSE(form_->isVisible());
            EXPECT_EQ(closings_, 1);
        });
    });
    RunThroughStart();
    EXPECT_EQ(closings_, 1);
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 5.0);
}

TEST_F(RunControlTest, CloseWhileWaitingForAStepEndsTheProgram) {
    AtSimTime(5.0, [&] {
        form_->TracePanel()->StepModeCheckBox()->click();
        Post([&] { form_->close(); });
    });
    RunThroughStart();
    EXPECT_EQ(closings_, 1);
    EXPECT_EQ(RunState(), rsEnded);
}

TEST_F(RunControlTest, WholeRunUnconnectedToTheStopTime) {
    SetStopTime(10.0);
    RunThroughStart();
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(form_->StatusBar()->PanelText(0), "Time: 10.00");
    // The generator is left, holding until 10.
    EXPECT_EQ(form_->StatusBar()->PanelText(1), "Elements: 1");
    EXPECT_EQ(form_->StatusBar()->PanelText(2), "Queues: 2");
    EXPECT_EQ(MemoLinesContaining("Customer5 to tail of Line"), 1);
    EXPECT_EQ(MemoLinesContaining("Generator is current now"), 5);
    EXPECT_TRUE(boxes_.empty());
}

}  // namespace
}  // namespace zorva::uitest
