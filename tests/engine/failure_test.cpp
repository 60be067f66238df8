// Misuse ends the program with exit code 255 and a message naming the
// element; the default process only warns.

#include "engine/fatal_error.h"
#include "engine_test_support.h"

namespace zorva::testing {
namespace {

using ::testing::ExitedWithCode;

class EngineDeathTest : public EngineTest {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EngineTest::SetUp();
    }
};

TEST_F(EngineDeathTest, NegativeHoldIsFatalAndNamesTheElement) {
    Start("Backwards", 2.0, [](LambdaElement&) { HoldProcess(-1.0); });
    EXPECT_EXIT(RunSimulation(), ExitedWithCode(255),
                "        2.00 Error\\(Hold\\): Backwards holds for a negative or invalid duration -1.00");
}

TEST_F(EngineDeathTest, HoldWithoutCurrentElementIsFatal) {
    EXPECT_EXIT(HoldProcess(1.0), ExitedWithCode(255), "Error\\(Hold\\): no current Element");
    EXPECT_EXIT(PassivateProcess(), ExitedWithCode(255), "Error\\(Passivate\\): no current Element");
    EXPECT_EXIT(FinishProcess(), ExitedWithCode(255), "Error\\(finish\\): no current Element");
}

class Returner : public ZorvaProcessElement {
public:
    Returner() : ZorvaProcessElement("Returner", 0.0) {}
    void Process() override {}
};

TEST_F(EngineDeathTest, AProcessThatReturnsIsFatal) {
    Returner returner;
    returner.ScheduleProcess(0.0);
    EXPECT_EXIT(RunSimulation(), ExitedWithCode(255), "the process of Returner returned");
}

TEST_F(EngineDeathTest, WaitingWithNobodyToResumeIsFatalNotAHang) {
    Start("A", 0.0, [](LambdaElement&) {});
    SetEventProcessor(nullptr);
    InterruptRun();
    EnterStepMode();
    EXPECT_EXIT(RunSimulation(), ExitedWithCode(255), "nothing processes window events");
}

TEST_F(EngineTest, DefaultProcessWarnsAndTheRunGoesOn) {
    std::vector<std::string> warnings;
    SetWarningHandler([&](const std::string& text) { warnings.push_back(text); });
    ZorvaProcessElement gate("Gate", 0.0);
    gate.ScheduleProcess(0.0);
    Start("After", 1.0, [this](LambdaElement&) { Note("After"); });
    RunSimulation();
    SetWarningHandler(nullptr);
    EXPECT_EQ(warnings, std::vector<std::string>{"      0.00 Warning: Gate has no process defined"});
    EXPECT_EQ(gate.Status, esCurrent);
    EXPECT_EQ(steps_, (std::vector<Step>{{"After", 1.0}}));
}

}  // namespace
}  // namespace zorva::testing
