// Misuse of a kernel operation ends the program with exit code 255 and one
// exact message on standard error.

#include <cstdio>

#include "kernel_test_support.h"

namespace zorva::testing {
namespace {

using ::testing::ExitedWithCode;
using KernelDeathTest = KernelTest;

TEST_F(KernelDeathTest, StartOfAScheduledOrPassiveElement) {
    auto* a = Make("A", [](TestElement&) { Passivate(); });
    a->Start(0.0);
    EXPECT_EXIT(a->Start(1.0), ExitedWithCode(255), Exactly("        0.00 Error(StartProcess): A already scheduled"));
    Make("B", [a](TestElement&) {
        Hold(2.0);
        a->Start(5.0);
    })->Start(0.0);
    EXPECT_EXIT(RunSimulation(), ExitedWithCode(255),
                Exactly("        2.00 Error(StartProcess): A passive or waiting"));
}

TEST_F(KernelDeathTest, ResumeOfAnElementThatIsNotWaiting) {
    auto* a = Make("A", [](TestElement&) { Passivate(); });
    EXPECT_EXIT(a->Resume(1.0), ExitedWithCode(255), Exactly("        0.00 Error(ResumeProcess): A not passive"));
    a->Start(3.0);
    EXPECT_EXIT(a->Resume(4.0), ExitedWithCode(255), Exactly("        0.00 Error(ResumeProcess): A not passive"));
    Make("B", [a](TestElement&) {
        Hold(4.0);
        a->Resume(3.5);
    })->Start(0.0);
    EXPECT_EXIT(RunSimulation(), ExitedWithCode(255),
                Exactly("        4.00 Error(ResumeProcess): A resumes before now"));
}

TEST_F(KernelDeathTest, StopAndStopAndLeaveOfADataElement) {
    auto* a = Make("A");
    EXPECT_EXIT(a->Stop(), ExitedWithCode(255), Exactly("Error(Stop): State of A is DATA"));
    EXPECT_EXIT(a->StopAndLeave(), ExitedWithCode(255), Exactly("Error(Stop): State of A is DATA"));
}

TEST_F(KernelDeathTest, CancelOfADataClaimingOrCurrentElement) {
    const std::string message = Exactly("Error(Cancel): A is not scheduled or interrupted");
    auto* a = Make("A", [](TestElement& self) {
        self.EnterQueue(Claimers());
        Passivate();
    });
    EXPECT_EXIT(a->Cancel(), ExitedWithCode(255), message);
    a->Start(0.0);
    Make("B", [a](TestElement&) {
        Hold(1.0);
        a->Cancel();
    })->Start(0.0);
    EXPECT_EXIT(RunSimulation(), ExitedWithCode(255), message);
}

TEST_F(KernelDeathTest, CancelOfItselfIsFatal) {
    Make("A", [](TestElement& self) { self.Cancel(); })->Start(0.0);
    EXPECT_EXIT(RunSimulation(), ExitedWithCode(255), Exactly("Error(Cancel): A is not scheduled or interrupted"));
}

TEST_F(KernelDeathTest, InterruptOfAnElementThatIsNotScheduled) {
    const std::string message = Exactly("Error(Interrupt): A is not scheduled or already interrupted");
    auto* a = Make("A");
    EXPECT_EXIT(a->Interrupt(), ExitedWithCode(255), message);
    EXPECT_EXIT(a->Pause(), ExitedWithCode(255), message);
    a->Start(2.0);
    a->Interrupt();
    EXPECT_EXIT(a->Interrupt(), ExitedWithCode(255), message);
}

TEST_F(KernelDeathTest, InterruptOfTheCurrentElementIsRejected) {
    Make("A", [](TestElement& self) {
        Hold(1.5);
        self.Interrupt();
    })->Start(0.0);
    EXPECT_EXIT(RunSimulation(), ExitedWithCode(255),
                Exactly("        1.50 Error(Interrupt): A is the current element and cannot be interrupted"));
}

TEST_F(KernelDeathTest, QueueTimeOfElementsOrOfAnotherQueue) {
    ZorvaQueue dock("Dock");
    auto* a = Make("A");
    EXPECT_EXIT(a->QueueTime(Elements()), ExitedWithCode(255),
                Exactly("Error(GetQueueTime): A is not in queue Elements"));
    EXPECT_EXIT(a->QueueTime(dock), ExitedWithCode(255), Exactly("Error(GetQueueTime): A is not in queue Dock"));
}

TEST_F(KernelDeathTest, SelfOperationsWithoutACurrentElement) {
    EXPECT_EXIT(Hold(1.0), ExitedWithCode(255), Exactly("Error(Hold): no current Element"));
    EXPECT_EXIT(StandBy(), ExitedWithCode(255), Exactly("Error(StandBy): no current Element"));
    EXPECT_EXIT(Passivate(), ExitedWithCode(255), Exactly("Error(Passivate): no current Element"));
    EXPECT_EXIT(Finish(), ExitedWithCode(255), Exactly("Error(finish): no current Element"));
    EXPECT_EXIT(FinishAndDestroy(), ExitedWithCode(255), Exactly("Error(FinishAndDestroy): no current Element"));
}

TEST_F(KernelDeathTest, DeletingTheRunningElementIsFatal) {
    Make("A", [](TestElement& self) {
        Hold(2.0);
        delete &self;
    })->Start(0.0);
    EXPECT_EXIT(RunSimulation(), ExitedWithCode(255),
                Exactly("        2.00 Error(Destroy): A is destroyed while its process runs"));
}

TEST_F(KernelDeathTest, LookupsOfANonMember) {
    ZorvaQueue dock("Dock");
    auto* a = Make("A");
    auto* b = Make("B");
    SetClock(1.25);
    EXPECT_EXIT(a->LeaveQueue(dock), ExitedWithCode(255),
                Exactly("        1.25 Error(Remove): A cannot be removed  from Dock"));
    EXPECT_EXIT(a->Successor(dock), ExitedWithCode(255), Exactly("        1.25 Error(Successor): A is not in Dock"));
    EXPECT_EXIT(a->Predecessor(dock), ExitedWithCode(255),
                Exactly("        1.25 Error(Predecessor): A is not in Dock"));
    EXPECT_EXIT(dock.AddBefore(*a, *b), ExitedWithCode(255),
                Exactly("        1.25 Error(AddBefore): BeforeComp B not in Dock"));
    EXPECT_EXIT(dock.AddAfter(*a, *b), ExitedWithCode(255),
                Exactly("        1.25 Error(AddAfter): AfterComp B not in Dock"));
}

TEST_F(KernelDeathTest, AQueueHoldsAtMost65535Members) {
    SetTraceOn(false);
    ZorvaQueue crowd("Crowd");
    auto* a = Make("A");
    for (int i = 0; i < 65535; ++i) a->EnterQueue(crowd);
    EXPECT_EQ(crowd.Length, 65535);
    EXPECT_EQ(crowd.MaxLength, 65535);
    EXPECT_EXIT(a->EnterQueueInFront(crowd), ExitedWithCode(255),
                Exactly("        0.00 Error(AddToHead): A cannot enter Crowd, which already holds 65535 members"));
}

TEST_F(KernelDeathTest, TheTraceFileKeepsTheLinesWrittenBeforeAFatalError) {
    const std::string path = ::testing::TempDir() + "kernel_fatal_trace.txt";
    std::remove(path.c_str());
    SetTraceOn(false);
    SetTraceFile(path);
    EXPECT_EXIT(
        {
            Make("A")->WriteTrace("before the end");
            Make("A")->Stop();
        },
        ExitedWithCode(255), Exactly("Error(Stop): State of A2 is DATA"));
    std::FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    std::fclose(file);
    std::remove(path.c_str());
    EXPECT_STREQ(line + 13, "A before the end\n");
}

}  // namespace
}  // namespace zorva::testing
