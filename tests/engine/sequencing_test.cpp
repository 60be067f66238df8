// Order of events: first come, first served among equal times, holds of zero
// behind everything at that instant, the state list examined once between
// timed events.

#include <map>
#include <random>

#include "engine_test_support.h"

namespace zorva::testing {
namespace {

TEST_F(EngineTest, EqualTimesRunInSchedulingOrderAndHoldZeroGoesLast) {
    Start("A", 5.0, [this](LambdaElement&) {
        Note("A");
        HoldProcess(0.0);
        Note("A again");
    });
    Start("B", 5.0, [this](LambdaElement&) { Note("B"); });
    Start("C", 5.0, [this](LambdaElement&) { Note("C"); });
    RunSimulation();
    EXPECT_EQ(steps_, (std::vector<Step>{{"A", 5}, {"B", 5}, {"C", 5}, {"A again", 5}}));
}

TEST_F(EngineTest, SchedulingAtTheClockQueuesBehindThatInstantAndBeforeItGoesToStateList) {
    LambdaElement* late = Make("Late", [this](LambdaElement&) { Note("Late"); });
    LambdaElement* past = Make("Past", [this](LambdaElement&) { Note("Past"); });
    Start("Trigger", 3.0, [&](LambdaElement&) {
        Note("Trigger");
        late->ScheduleProcess(3.0);
        EXPECT_EQ(late->Status, esScheduledOnTime);
        past->ScheduleProcess(1.0);
        EXPECT_EQ(past->Status, esScheduledOnState);
        EXPECT_DOUBLE_EQ(past->EventTime, 3.0);
    });
    Start("Other", 3.0, [this](LambdaElement&) { Note("Other"); });
    RunSimulation();
    // The state list is examined before the next timed event.
    EXPECT_EQ(steps_, (std::vector<Step>{{"Trigger", 3}, {"Past", 3}, {"Other", 3}, {"Late", 3}}));
}

TEST_F(EngineTest, StateListIsExaminedOnceBetweenTimedEventsAndDoesNotKeepTheRunAlive) {
    int examinations = 0;
    bool condition = false;
    Start("Waiter", 0.0, [&](LambdaElement&) {
        while (!condition) {
            ++examinations;
            Note("examined");
            StandByProcess();
        }
        Note("satisfied");
    });
    Start("Ticker", 1.0, [this](LambdaElement&) {
        for (int i = 0; i < 3; ++i) {
            Note("tick");
            HoldProcess(1.0);
        }
    });
    RunSimulation();
    // At time 0 the waiter runs once as a timed event and once in the
    // state-list pass that follows, before the tick at 1.
    EXPECT_EQ(steps_, (std::vector<Step>{{"examined", 0},
                                         {"examined", 0},
                                         {"tick", 1},
                                         {"examined", 1},
                                         {"tick", 2},
                                         {"examined", 2},
                                         {"tick", 3},
                                         {"examined", 3},
                                         {"examined", 4}}));
    EXPECT_EQ(examinations, 6);
    // Nothing timed is left: the waiter alone does not keep the run going.
    EXPECT_DOUBLE_EQ(SimTime(), NeverTime);
}

TEST_F(EngineTest, StandByReentryKeepsItsPlaceInThePass) {
    // An element that stands by again during a pass goes back where it was,
    // before the pass's scan position: the elements behind it are still
    // examined in this pass, and it is not examined twice.
    auto waiter = [this](int times) {
        return [this, times](LambdaElement& self) {
            for (int i = 0; i < times; ++i) {
                Note(self.Name);
                StandByProcess();
            }
        };
    };
    Start("S1", 0.0, waiter(3));
    Start("S2", 0.0, waiter(3));
    Start("T", 1.0, [this](LambdaElement&) { Note("T"); });
    RunSimulation();
    EXPECT_EQ(steps_, (std::vector<Step>{{"S1", 0}, {"S1", 0}, {"S2", 0}, {"S1", 0}, {"S2", 0}, {"T", 1}, {"S2", 1}}));
}

TEST_F(EngineTest, RandomHoldsResumeInTimeThenSchedulingOrder) {
    // Many processes holding random, often equal, durations. A plain priority
    // queue keyed by (time, order of scheduling) replays the same run; the two
    // orders of resumption must agree step for step.
    constexpr int kProcesses = 200;
    constexpr int kRounds = 5;
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> quarters(0, 12);
    std::vector<std::pair<double, int>> seen;
    for (int i = 0; i < kProcesses; ++i) {
        Start("R", 0.0, [&, i](LambdaElement&) {
            for (int round = 0; round < kRounds; ++round) {
                seen.push_back({SimTime(), i});
                HoldProcess(quarters(random) * 0.25);
            }
        });
    }
    RunSimulation();

    std::mt19937 replayRandom(12345);
    std::map<std::pair<double, long>, int> pending;
    std::vector<int> rounds(kProcesses, 0);
    long order = 0;
    for (int i = 0; i < kProcesses; ++i) pending[{0.0, order++}] = i;
    std::vector<std::pair<double, int>> expected;
    while (!pending.empty()) {
        auto [key, who] = *pending.begin();
        pending.erase(pending.begin());
        if (rounds[who]++ == kRounds) continue;
        expected.push_back({key.first, who});
        pending[{key.first + quarters(replayRandom) * 0.25, order++}] = who;
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(EngineTest, HoldsThatEndNextRunAsWithFullPasses) {
    // Without a window's hooks, a hold that ends at the run's next event
    // continues without a switch. A run with the hooks (every pass complete)
    // and one without must see the same clock, order and element states:
    // a stand-by element is still examined between the holds, an equal time
    // still lets the notice already there go first, and the stop time still
    // ends the run.
    auto run = [this] {
        std::vector<std::string> log;
        auto note = [&](const ZorvaProcessElement& self) {
            log.push_back(self.Name + "@" + std::to_string(SimTime()) + " status " + std::to_string(self.Status) +
                          (self.EventTime != NeverTime ? " pending" : ""));
        };
        Start("Solo", 0.0, [&](LambdaElement& self) {
            for (int round = 0; round < 8; ++round) {
                HoldProcess(0.5);
                note(self);
            }
        });
        Start("Waiter", 0.0, [&](LambdaElement& self) {
            for (int round = 0; round < 3; ++round) {
                StandByProcess();
                note(self);
            }
        });
        Start("Tie", 2.5, [&](LambdaElement& self) { note(self); });
        SetStopTime(2.75);
        RunSimulation();
        log.push_back("end@" + std::to_string(SimTime()));
        elements_.clear();
        ResetEngine();
        return log;
    };
    const std::vector<std::string> withPasses = run();
    SetEventProcessor(nullptr);
    SetDisplayCallback(nullptr);
    EXPECT_EQ(run(), withPasses);
}

}  // namespace
}  // namespace zorva::testing
