// What one element does to another, and what the running element does to
// itself, seen through the clock, the status and the trace.

#include <algorithm>

#include "kernel_test_support.h"

namespace zorva::testing {
namespace {

using Steps = std::vector<std::string>;

class ProcessControl : public KernelTest {
protected:
    bool Traced(const std::string& line) const {
        const auto lines = Memo();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(ProcessControl, StartBeforeTheClockGoesOnTheStateListAndMinusOnePrintsNoValue) {
    SetClock(5.0);
    auto* early = Make("Early");
    early->Start(2.0);
    auto* odd = Make("Odd");
    odd->Start(-1.0);
    auto* late = Make("Late");
    late->Start(8.0);
    EXPECT_EQ(early->Status, esScheduledOnState);
    EXPECT_EQ(late->Status, esScheduledOnTime);
    EXPECT_EQ(late->EventTime, 8.0);
    EXPECT_TRUE(Traced("        5.00 Early starts at       2.00"));
    EXPECT_TRUE(Traced("        5.00 Odd starts at"));
}

TEST_F(ProcessControl, InterruptKeepsTheRestOfAHold) {
    auto* a = Make("A", [this](TestElement&) {
        Note("A begins");
        Hold(10.0);
        Note("A holds no more");
    });
    Make("B", [&, a](TestElement&) {
        Hold(7.0);
        a->Interrupt();
        EXPECT_EQ(a->Status, esInterrupted);
        EXPECT_EQ(a->RemainingTime, 3.0);
        EXPECT_EQ(a->EventTime, NeverTime);
        Hold(13.0);
        a->Resume(20.0);
        EXPECT_EQ(a->EventTime, 23.0);
        EXPECT_EQ(a->RemainingTime, -1.0);
    })->Start(0.0);
    a->Start(0.0);
    RunSimulation();
    EXPECT_EQ(steps_, (Steps{"A begins@0.00", "A holds no more@23.00"}));
    EXPECT_TRUE(Traced("        0.00 A holds until      10.00"));
    EXPECT_TRUE(Traced("        7.00 A  interrupted"));
    EXPECT_TRUE(Traced("       20.00 A resumes"));
}

TEST_F(ProcessControl, AnElementInterruptedOnStateReturnsToStateNowOrToTimeLater) {
    bool go = false;
    auto* waiter = Make("Waiter", [&](TestElement&) {
        while (!go) StandBy();
        Note("Waiter goes");
    });
    Make("Boss", [&, waiter](TestElement&) {
        Hold(1.0);
        waiter->Interrupt();
        EXPECT_EQ(waiter->RemainingTime, -2.0);
        waiter->Resume(SimTime());
        EXPECT_EQ(waiter->Status, esScheduledOnState);
        Hold(1.0);
        waiter->Pause();
        waiter->Resume(6.0);
        EXPECT_EQ(waiter->Status, esScheduledOnTime);
        EXPECT_EQ(waiter->EventTime, 6.0);
        go = true;
    })->Start(0.0);
    waiter->Start(0.0);
    RunSimulation();
    EXPECT_EQ(steps_, (Steps{"Waiter goes@6.00"}));
}

TEST_F(ProcessControl, CancelKeepsTheSuspendedProcessAndStopDiscardsIt) {
    for (const bool stop : {false, true}) {
        steps_.clear();
        auto* a = Make("A", [this](TestElement&) {
            Note("A begins");
            Hold(10.0);
            Note("A holds no more");
        });
        Make("B", [&, a](TestElement&) {
            Hold(2.0);
            if (stop)
                a->Stop();
            else
                a->Cancel();
            EXPECT_EQ(a->Status, esData);
            EXPECT_EQ(static_cast<bool>(a->SavedStack), !stop);
            Hold(3.0);
            a->Start(SimTime());
        })->Start(0.0);
        a->Start(0.0);
        RunSimulation();
        if (stop) {
            EXPECT_EQ(steps_, (Steps{"A begins@0.00", "A begins@5.00", "A holds no more@15.00"}));
            EXPECT_TRUE(Traced("        2.00 A  finished"));
        } else {
            EXPECT_EQ(steps_, (Steps{"A begins@0.00", "A holds no more@5.00"}));
        }
        ResetKernel();
        SetTraceOn(true);
    }
}

TEST_F(ProcessControl, PassiveAndClaimingElementsAreResumedAtTheGivenTime) {
    auto* worker = Make("Worker", [this](TestElement& self) {
        Passivate();
        Note("Worker resumed");
        self.EnterQueue(Claimers());
        EXPECT_TRUE(self.ClaimFlag);
        Passivate();
        Note("Claim granted");
        EXPECT_FALSE(self.ClaimFlag);
    });
    Make("Boss", [&, worker](TestElement&) {
        Hold(4.0);
        EXPECT_EQ(worker->Status, esPassive);
        worker->Resume(6.0);
        Hold(4.0);
        EXPECT_EQ(worker->Status, esClaiming);
        worker->LeaveQueue(Claimers());
        worker->Resume(SimTime());
    })->Start(0.0);
    worker->Start(0.0);
    RunSimulation();
    EXPECT_EQ(steps_, (Steps{"Worker resumed@6.00", "Claim granted@8.00"}));
    EXPECT_TRUE(Traced("        0.00 Worker suspends"));
    EXPECT_TRUE(Traced("        4.00 Worker resumes at        6.00"));
    EXPECT_TRUE(Traced("        6.00 Worker starts claiming"));
    EXPECT_TRUE(Traced("        8.00 Worker  finished"));
}

TEST_F(ProcessControl, StopEndsTheProcessOfClaimingAndInterruptedElements) {
    auto* claimer = Make("Claimer", [this](TestElement& self) {
        Note("Claimer begins");
        self.EnterQueue(Claimers());
        Passivate();
        Note("Claimer claimed");
    });
    auto* holder = Make("Holder", [this](TestElement&) {
        Note("Holder begins");
        Hold(10.0);
        Note("Holder held");
    });
    Make("Boss", [&, claimer, holder](TestElement&) {
        Hold(1.0);
        holder->Interrupt();
        holder->Stop();
        claimer->Stop();
        EXPECT_EQ(holder->Status, esData);
        EXPECT_EQ(claimer->Status, esData);
        EXPECT_FALSE(holder->SavedStack);
        EXPECT_FALSE(claimer->SavedStack);
        EXPECT_EQ(holder->RemainingTime, -1.0);
        claimer->LeaveQueue(Claimers());
        holder->Start(SimTime());
        claimer->Start(SimTime());
    })->Start(0.0);
    claimer->Start(0.0);
    holder->Start(0.0);
    RunSimulation();
    EXPECT_EQ(steps_, (Steps{"Claimer begins@0.00", "Holder begins@0.00", "Holder begins@1.00", "Claimer begins@1.00",
                             "Holder held@11.00"}));
}

TEST_F(ProcessControl, StopOfItselfFinishesAndStopAndLeaveDestroysAtTheNextPass) {
    auto* quitter = Make("Quitter", [this](TestElement& self) {
        Hold(1.0);
        self.Stop();
        Note("never");
    });
    auto* leaver = Make("Leaver", [](TestElement& self) {
        Hold(2.0);
        self.StopAndLeave();
    });
    quitter->Start(0.0);
    leaver->Start(0.0);
    Make("Watcher", [&](TestElement&) {
        Hold(3.0);
        EXPECT_EQ(quitter->Status, esData);
        EXPECT_EQ(Elements().Length, 2);
    })->Start(0.0);
    RunSimulation();
    EXPECT_TRUE(steps_.empty());
    EXPECT_TRUE(Traced("        1.00 Quitter  finished"));
    EXPECT_TRUE(Traced("        2.00 Leaver  finished and destroyed"));
    EXPECT_EQ(Elements().Length, 2);
}

TEST_F(ProcessControl, StopAndLeaveOfAnotherElementDestroysItAtOnce) {
    auto* sleeper = Make("Sleeper", [](TestElement&) { Passivate(); });
    auto* holder = Make("Holder", [this](TestElement&) {
        Hold(5.0);
        Note("Holder held");
    });
    sleeper->Start(0.0);
    holder->Start(0.0);
    Make("Boss", [&](TestElement&) {
        Hold(1.0);
        sleeper->StopAndLeave();
        holder->StopAndLeave();
        EXPECT_EQ(Elements().Length, 1);
    })->Start(0.0);
    RunSimulation();
    EXPECT_TRUE(steps_.empty());
    EXPECT_TRUE(Traced("        1.00 Holder  finished"));
    EXPECT_TRUE(Traced("        1.00 Holder out of Elements"));
    EXPECT_TRUE(Traced("        1.00 Sleeper out of Elements"));
}

// Freeing an element directly must neither run a freed process nor leak one.
TEST_F(ProcessControl, DeletingAScheduledOrSuspendedElementLeavesNothingBehind) {
    auto* sleeper = Make("Sleeper", [](TestElement&) { Passivate(); });
    auto* interrupted = Make("Interrupted", [](TestElement&) { Hold(10.0); });
    auto* pending = Make("Pending", [this](TestElement&) { Note("Pending runs"); });
    sleeper->Start(0.0);
    interrupted->Start(0.0);
    pending->Start(4.0);
    Make("Boss", [&](TestElement&) {
        Hold(1.0);
        interrupted->Interrupt();
        delete sleeper;
        delete interrupted;
        delete pending;
    })->Start(0.0);
    RunSimulation();
    EXPECT_TRUE(steps_.empty());
    EXPECT_EQ(Elements().Length, 1);
}

TEST_F(ProcessControl, QueueTimeIsTheEntryOfTheOldestMembership) {
    ZorvaQueue dock("Dock");
    auto* ship = Make("Ship");
    SetClock(2.0);
    ship->EnterQueue(dock);
    SetClock(3.0);
    ship->EnterQueue(dock);
    EXPECT_EQ(ship->QueueTime(dock), 2.0);
    ship->LeaveQueue(dock);
    EXPECT_EQ(ship->QueueTime(dock), 3.0);
}

TEST_F(ProcessControl, WriteTraceIgnoresTheTraceSwitch) {
    SetTraceOn(false);
    SetClock(3.0);
    Make("Ship")->WriteTrace("waits for the lock");
    EXPECT_EQ(Memo(), (std::vector<std::string>{"        3.00 Ship waits for the lock"}));
}

}  // namespace
}  // namespace zorva::testing
