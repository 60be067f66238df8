// Start, Interrupt, Resume, Quit, step mode, the space key and closing,
// through the main window during a run of the test model.
#include <QCheckBox>
#include <QTest>
#include <QToolButton>

#include "ui_test_support.h"

namespace zorva::uitest {
namespace {

struct MenuState {
    bool start, interrupt, resume, quit;
    bool operator==(const MenuState&) const = default;
};

void PrintTo(const MenuState& m, std::ostream* os) {
    *os << "{start " << m.start << ", interrupt " << m.interrupt << ", resume " << m.resume << ", quit " << m.quit
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
        return {form->StartItem()->isEnabled(), form->InterruptItem()->isEnabled(), form->ResumeItem()->isEnabled(),
                form->QuitItem()->isEnabled()};
    }
};

TEST_F(RunControlTest, MenuFollowsStartInterruptResumeAndEnd) {
    EXPECT_EQ(Menu(), (MenuState{true, false, false, true}));
    std::vector<MenuState> seen;
    AtSimTime(3.0, [&] {
        seen.push_back(Menu());
        form->InterruptItem()->trigger();
        seen.push_back(Menu());
        EXPECT_EQ(RunState(), rsInterrupted);
        Post([&] {
            form->ResumeItem()->trigger();
            seen.push_back(Menu());
            EXPECT_EQ(RunState(), rsRunning);
            form->QuitItem()->trigger();
        });
    });
    RunThroughStart();
    EXPECT_EQ(seen, (std::vector<MenuState>{
                        {false, true, false, true}, {false, false, true, true}, {false, true, false, true}}));
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 3.0);
    EXPECT_EQ(Menu(), (MenuState{false, true, false, true}));
    // After the end Interrupt is offered but does nothing.
    form->InterruptItem()->trigger();
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(Menu(), (MenuState{false, true, false, true}));
    EXPECT_EQ(closings, 0);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(RunControlTest, StepModeBeforeStartWaitsForEveryStep) {
    form->TracePanel()->StepModeCheckBox()->click();
    EXPECT_EQ(RunState(), rsStepping);
    EXPECT_TRUE(form->TracePanel()->StepButton()->isVisible());
    // The run has left Idle: the model can no longer change the address.
    SetServerAddress("elsewhere");
    EXPECT_EQ(HeaderText(hsServerAddress), "ServerAddress: ");

    std::vector<int> currentLines;
    Post([&] {
        currentLines.push_back(MemoLinesContaining("is current now"));
        form->TracePanel()->StepButton()->click();
        Post([&] {
            currentLines.push_back(MemoLinesContaining("is current now"));
            form->TracePanel()->StepButton()->click();
            Post([&] {
                currentLines.push_back(MemoLinesContaining("is current now"));
                form->close();
            });
        });
    });
    RunThroughStart();
    EXPECT_EQ(currentLines, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(closings, 1);
    EXPECT_EQ(RunState(), rsEnded);
}

TEST_F(RunControlTest, SpaceTypedToTheWindowBreaksBeforeTheNextEvent) {
    double clockAtKey = -1;
    AtSimTime(4.0, [&] {
        form->setFocus();
        clockAtKey = SimTime();
        QTest::keyClick(form.get(), Qt::Key_Space);
        Post([&] {
            EXPECT_EQ(RunState(), rsInterrupted);
            EXPECT_TRUE(form->ResumeItem()->isEnabled());
            EXPECT_FALSE(form->InterruptItem()->isEnabled());
            form->QuitItem()->trigger();
            form->ResumeItem()->trigger();
        });
    });
    RunThroughStart();
    EXPECT_EQ(clockAtKey, 4.0);
    EXPECT_EQ(SimTime(), 4.0);
    EXPECT_EQ(MemoLinesContaining("        4.00 *** Interrupt ***"), 1);
}

TEST_F(RunControlTest, SpaceWhileACheckBoxHasTheFocusIsNoBreak) {
    QCheckBox* trace = form->TracePanel()->TraceCheckBox();
    AtSimTime(4.0, [&] {
        trace->setFocus();
        QTest::keyClick(form.get(), Qt::Key_Space);
        QTest::keyClick(trace, Qt::Key_Space);
    });
    AtSimTime(6.0, [&] { form->QuitItem()->trigger(); });
    RunThroughStart();
    EXPECT_EQ(SimTime(), 6.0);
    EXPECT_EQ(MemoLinesContaining("*** Interrupt ***"), 0);
    // The space went to the check box, which switched the trace off.
    EXPECT_FALSE(trace->isChecked());
    EXPECT_FALSE(form->TraceOn());
}

TEST_F(RunControlTest, FirstCloseWhileRunningIsDeferredUntilTheRunHasEnded) {
    bool visibleAfterClose = false;
    AtSimTime(5.0, [&] {
        form->close();
        visibleAfterClose = form->isVisible();
        EXPECT_TRUE(form->CloseRequested());
        EXPECT_EQ(closings, 0);
    });
    RunThroughStart();
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(closings, 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 5.0);
}

TEST_F(RunControlTest, CloseWhileInterruptedEndsTheProgramAtOnce) {
    AtSimTime(5.0, [&] {
        form->InterruptItem()->trigger();
        Post([&] {
            form->close();
            EXPECT_FALSE(form->isVisible());
            EXPECT_EQ(closings, 1);
        });
    });
    RunThroughStart();
    EXPECT_EQ(closings, 1);
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 5.0);
}

TEST_F(RunControlTest, CloseWhileWaitingForAStepEndsTheProgram) {
    AtSimTime(5.0, [&] {
        form->TracePanel()->StepModeCheckBox()->click();
        Post([&] { form->close(); });
    });
    RunThroughStart();
    EXPECT_EQ(closings, 1);
    EXPECT_EQ(RunState(), rsEnded);
}

TEST_F(RunControlTest, WholeRunUnconnectedToTheStopTime) {
    SetStopTime(10.0);
    RunThroughStart();
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(form->StatusBar()->PanelText(0), "Time: 10.00");
    // The generator is left, holding until 10.
    EXPECT_EQ(form->StatusBar()->PanelText(1), "Elements: 1");
    EXPECT_EQ(form->StatusBar()->PanelText(2), "Queues: 2");
    EXPECT_EQ(MemoLinesContaining("Customer5 to tail of Line"), 1);
    EXPECT_EQ(MemoLinesContaining("Generator is current now"), 5);
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace zorva::uitest
