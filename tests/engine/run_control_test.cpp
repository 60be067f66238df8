// Run control as the window drives it: break time, the space key, step mode,
// interruption before the start, Quit, and the end of a run.

#include "engine_test_support.h"

namespace zorva::testing {
namespace {

TEST_F(EngineTest, BreakTimeInterruptsAtTheBreakThenTheClockJumpsToTheEvent) {
    Start("E", 60.0, [this](LambdaElement&) { Note("E"); });
    SetBreakTime(50.0);
    std::vector<double> interruptedAt;
    onEvents_ = [&] {
        if (RunState() == rsInterrupted) {
            interruptedAt.push_back(SimTime());
            ResumeRun();
        }
    };
    RunSimulation();
    EXPECT_EQ(interruptedAt, std::vector<double>{50.0});
    EXPECT_EQ(steps_, (std::vector<Step>{{"E", 60.0}}));
    EXPECT_EQ(BreakTime(), -1.0);
}

TEST_F(EngineTest, BreakTimeBehindTheClockIsNoBreak) {
    Start("E", 0.0, [this](LambdaElement&) {
        HoldProcess(10.0);
        SetBreakTime(5.0);
        HoldProcess(10.0);
        Note("E");
    });
    int interruptions = 0;
    onEvents_ = [&] {
        if (RunState() == rsInterrupted) {
            ++interruptions;
            ResumeRun();
        }
    };
    RunSimulation();
    EXPECT_EQ(interruptions, 0);
    EXPECT_EQ(steps_, (std::vector<Step>{{"E", 20.0}}));
}

TEST_F(EngineTest, SpaceKeyInterruptsAtTheClockOfThePress) {
    Start("Ticker", 0.0, [](LambdaElement&) {
        for (int i = 0; i < 10; ++i) HoldProcess(1.0);
    });
    std::vector<double> interruptedAt;
    bool pressed = false;
    onEvents_ = [&] {
        if (RunState() == rsInterrupted) {
            interruptedAt.push_back(SimTime());
            ResumeRun();
        } else if (SimTime() == 3.0 && !pressed) {
            RequestKeyBreak('x');  // only the space key breaks
            RequestKeyBreak(' ');
            pressed = true;
        }
    };
    RunSimulation();
    EXPECT_EQ(interruptedAt, std::vector<double>{3.0});
    EXPECT_DOUBLE_EQ(SimTime(), NeverTime);
}

TEST_F(EngineTest, StepModeWaitsForEveryStepIncludingTheFirstAndTheLast) {
    Start("A", 1.0, [this](LambdaElement&) {
        Note("A");
        HoldProcess(1.0);
        Note("A");
    });
    EnterStepMode();
    std::vector<std::size_t> doneAtEachStep;
    onEvents_ = [&] {
        if (RunState() == rsStepping && !ZorvaStatus().Proceed) {
            doneAtEachStep.push_back(steps_.size());
            StepOnce();
        }
    };
    RunSimulation();
    // Nothing runs without a step: two resumptions of A, then the pass that ends the run.
    EXPECT_EQ(doneAtEachStep, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(steps_, (std::vector<Step>{{"A", 1.0}, {"A", 2.0}}));
    EXPECT_EQ(RunState(), rsEnded);
}

TEST_F(EngineTest, LeavingStepModeWhileInterruptedResumesTheRun) {
    Start("A", 0.0, [](LambdaElement&) {
        for (int i = 0; i < 3; ++i) HoldProcess(1.0);
    });
    SetBreakTime(1.0);
    EnterStepMode();
    int waits = 0;
    onEvents_ = [&] {
        if (RunState() == rsStepping && !ZorvaStatus().Proceed) StepOnce();
        if (RunState() == rsInterrupted) {
            ++waits;
            LeaveStepMode();
        }
    };
    RunSimulation();
    EXPECT_EQ(waits, 1);
    EXPECT_FALSE(StepMode());
    EXPECT_EQ(RunState(), rsEnded);
}

TEST_F(EngineTest, RunInterruptedBeforeTheStartWaitsForResume) {
    Start("A", 0.0, [this](LambdaElement&) { Note("A"); });
    EnterStepMode();
    InterruptRun();
    std::vector<int> states;
    onEvents_ = [&] {
        states.push_back(RunState());
        if (RunState() == rsInterrupted) {
            EXPECT_TRUE(steps_.empty());
            ResumeRun();
        } else if (!ZorvaStatus().Proceed) {
            StepOnce();
        }
    };
    RunSimulation();
    ASSERT_GE(states.size(), 2u);
    EXPECT_EQ(states[0], rsInterrupted);
    EXPECT_EQ(steps_, (std::vector<Step>{{"A", 0.0}}));
}

TEST_F(EngineTest, QuitEndsTheRunAtTheNextPassWithTheClockUnchanged) {
    Start("Forever", 0.0, [](LambdaElement&) {
        for (;;) HoldProcess(1.0);
    });
    onEvents_ = [&] {
        if (SimTime() == 5.0) SetStopTime(SimTime());
    };
    RunSimulation();
    EXPECT_DOUBLE_EQ(SimTime(), 5.0);
    EXPECT_EQ(RunState(), rsEnded);
}

TEST_F(EngineTest, EmptyRunEndsAtNeverTime) {
    int endCalls = 0;
    onDisplay_ = [&] {
        if (RunState() == rsEnded) ++endCalls;
    };
    RunSimulation();
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_DOUBLE_EQ(SimTime(), NeverTime);
    EXPECT_EQ(endCalls, 1);
}

TEST_F(EngineTest, DisplayIsToldOfEveryResumptionWhileSwitching) {
    std::vector<std::string> told;
    onDisplay_ = [&] {
        if (ZorvaStatus().Switching) told.push_back(CurrentElement()->Name);
    };
    Start("A", 0.0, [](LambdaElement&) { HoldProcess(2.0); });
    Start("B", 1.0, [](LambdaElement&) {});
    RunSimulation();
    EXPECT_EQ(told, (std::vector<std::string>{"A", "B", "A"}));
}

class Mortal : public ZorvaProcessElement {
public:
    Mortal(std::vector<std::string>& log) : ZorvaProcessElement("Mortal", SimTime()), log_(log) {}
    ~Mortal() override { log_.push_back("destroyed, current " + (CurrentElement() ? CurrentElement()->Name : "none")); }
    void Process() override {
        log_.push_back("last words of " + Name);
        FinishAndDestroyProcess();
    }

private:
    std::vector<std::string>& log_;
};

TEST_F(EngineTest, FinishAndDestroyDestroysOnlyAfterTheSwitch) {
    std::vector<std::string> log;
    auto* mortal = new Mortal(log);
    mortal->ScheduleProcess(1.0);
    Start("Witness", 1.0, [&](LambdaElement&) { log.push_back("witness"); });
    RunSimulation();
    EXPECT_EQ(log, (std::vector<std::string>{"last words of Mortal", "destroyed, current none", "witness"}));
}

TEST_F(EngineTest, FreeingAScheduledElementTakesItOutOfTheSequencingSet) {
    LambdaElement* doomed = Start("Doomed", 5.0, [this](LambdaElement&) { Note("Doomed"); });
    Start("Killer", 1.0,
          [&](LambdaElement&) { std::erase_if(elements_, [&](const auto& p) { return p.get() == doomed; }); });
    Start("Later", 6.0, [this](LambdaElement&) { Note("Later"); });
    RunSimulation();
    EXPECT_EQ(steps_, (std::vector<Step>{{"Later", 6.0}}));
}

}  // namespace
}  // namespace zorva::testing
