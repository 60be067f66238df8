// Processes suspend and resume by copying their stacks: locals, references
// and pointers into a process's own stack, floating-point state and control
// words must all come back intact.

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>

#include "engine_test_support.h"

namespace zorva::testing {
namespace {

// Suspends from several calls deep with locals at every level.
int DeepHold(int depth, std::vector<std::string>& trail) {
    int local = depth * 1000 + 7;
    int* pointer = &local;
    int& reference = local;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "level %d", depth);
    if (depth > 0) {
        const int below = DeepHold(depth - 1, trail);
        trail.push_back(buffer);
        return below + *pointer + reference;
    }
    HoldProcess(1.0);
    trail.push_back(buffer);
    return *pointer + reference;
}

TEST_F(EngineTest, SuspensionFromNestedCallsKeepsLocalsReferencesAndPointers) {
    std::vector<std::string> trail;
    int result = 0;
    Start("Deep", 0.0, [&](LambdaElement&) { result = DeepHold(5, trail); });
    // A second process runs in the same region while Deep is suspended and
    // overwrites it with its own frames.
    Start("Scribbler", 0.5, [](LambdaElement&) {
        volatile char scribble[4096];
        for (auto& c : scribble) c = 0x5a;
        HoldProcess(0.0);
    });
    RunSimulation();
    const int expected = 2 * (7 + 1007 + 2007 + 3007 + 4007 + 5007);
    EXPECT_EQ(result, expected);
    EXPECT_EQ(trail, (std::vector<std::string>{"level 0", "level 1", "level 2", "level 3", "level 4", "level 5"}));
}

TEST_F(EngineTest, TwoElementsOfOneClassKeepSeparateLocals) {
    auto body = [this](LambdaElement& self) {
        int counter = self.Name == "A" ? 100 : 200;
        for (int i = 0; i < 5; ++i) {
            ++counter;
            HoldProcess(1.0);
        }
        steps_.push_back({self.Name + std::to_string(counter), SimTime()});
    };
    Start("A", 0.0, body);
    Start("B", 0.0, body);
    RunSimulation();
    EXPECT_EQ(steps_, (std::vector<Step>{{"A105", 5.0}, {"B205", 5.0}}));
}

TEST_F(EngineTest, FloatingPointWorkAcrossSwitchesIsExact) {
    // Formatting and parsing doubles uses SSE and 16-byte aligned stack
    // slots: a misaligned or clobbered stack shows up here.
    std::string texts[2];
    for (int k = 0; k < 2; ++k) {
        Start("F" + std::to_string(k), 0.0, [&texts, k](LambdaElement&) {
            double value = 1.0 / (k + 3);
            for (int i = 0; i < 20; ++i) {
                char buffer[64];
                std::snprintf(buffer, sizeof buffer, "%.17g", value);
                HoldProcess(0.25);
                value = std::strtod(buffer, nullptr) * 1.5 + std::sqrt(value);
            }
            char out[64];
            std::snprintf(out, sizeof out, "%.6f", value);
            texts[k] = out;
        });
    }
    RunSimulation();
    for (int k = 0; k < 2; ++k) {
        double value = 1.0 / (k + 3);
        for (int i = 0; i < 20; ++i) value = value * 1.5 + std::sqrt(value);
        char out[64];
        std::snprintf(out, sizeof out, "%.6f", value);
        EXPECT_EQ(texts[k], out) << "process " << k;
    }
}

TEST_F(EngineTest, EachProcessKeepsItsOwnRoundingMode) {
    int seenUp = -1, seenDown = -1;
    Start("Up", 0.0, [&](LambdaElement&) {
        std::fesetround(FE_UPWARD);
        HoldProcess(1.0);
        seenUp = std::fegetround();
        std::fesetround(FE_TONEAREST);
    });
    Start("Down", 0.0, [&](LambdaElement&) {
        std::fesetround(FE_DOWNWARD);
        HoldProcess(1.0);
        seenDown = std::fegetround();
        std::fesetround(FE_TONEAREST);
    });
    RunSimulation();
    EXPECT_EQ(seenUp, FE_UPWARD);
    EXPECT_EQ(seenDown, FE_DOWNWARD);
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
}

TEST_F(EngineTest, PassivatedElementContinuesAfterItsPassivateCall) {
    LambdaElement* sleeper = Start("Sleeper", 0.0, [this](LambdaElement& self) {
        Note("before");
        self.Status = esPassive;  // the kernel's Passivate sets it before suspending
        PassivateProcess();
        Note("after");
    });
    Start("Waker", 3.0, [&](LambdaElement&) {
        EXPECT_EQ(sleeper->Status, esPassive);
        EXPECT_TRUE(sleeper->SavedStack);
        sleeper->ScheduleProcess(4.0);
    });
    RunSimulation();
    EXPECT_EQ(steps_, (std::vector<Step>{{"before", 0.0}, {"after", 4.0}}));
}

TEST_F(EngineTest, DiscardedSegmentRestartsProcessFromTheTop) {
    int starts = 0;
    LambdaElement* worker = Start("Worker", 0.0, [&](LambdaElement&) {
        ++starts;
        Note("start");
        HoldProcess(10.0);
        Note("end");
    });
    Start("Boss", 1.0, [&](LambdaElement&) {
        worker->RemoveProcess(true);  // discards the held process
        EXPECT_EQ(worker->Status, esData);
        worker->ScheduleProcess(2.0);
    });
    RunSimulation();
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(steps_, (std::vector<Step>{{"start", 0.0}, {"start", 2.0}, {"end", 12.0}}));
}

TEST_F(EngineTest, CancelResumeDiscardsAPassiveProcess) {
    int starts = 0;
    LambdaElement* worker = Start("Worker", 0.0, [&](LambdaElement&) {
        ++starts;
        PassivateProcess();
        Note("resumed");
    });
    Start("Boss", 1.0, [&](LambdaElement&) {
        worker->CancelResume();
        EXPECT_FALSE(worker->SavedStack);
        worker->ScheduleProcess(2.0);
    });
    RunSimulation();
    EXPECT_EQ(starts, 2);
    EXPECT_TRUE(steps_.empty());
}

TEST_F(EngineTest, InterruptKeepsTheSuspendedProcess) {
    LambdaElement* worker = Start("Worker", 0.0, [this](LambdaElement&) {
        int kept = 42;
        HoldProcess(10.0);
        steps_.push_back({"kept" + std::to_string(kept), SimTime()});
    });
    Start("Boss", 1.0, [&](LambdaElement&) {
        worker->InterruptProcess();
        EXPECT_EQ(worker->Status, esInterrupted);
        EXPECT_EQ(worker->EventTime, NeverTime);
        HoldProcess(1.0);
        worker->ScheduleProcess(5.0);
    });
    RunSimulation();
    EXPECT_EQ(steps_, (std::vector<Step>{{"kept42", 5.0}}));
}

TEST_F(EngineTest, ProcessWithQuarterMegabyteOfLiveStack) {
    constexpr std::size_t kBytes = 256 * 1024;
    std::size_t sums[2] = {};
    for (int k = 0; k < 2; ++k) {
        Start("Big" + std::to_string(k), 0.0, [&sums, k](LambdaElement&) {
            unsigned char block[kBytes];
            for (std::size_t i = 0; i < kBytes; ++i) block[i] = static_cast<unsigned char>(i * 31 + k);
            HoldProcess(1.0);
            sums[k] = std::accumulate(block, block + kBytes, std::size_t{0});
        });
    }
    RunSimulation();
    for (int k = 0; k < 2; ++k) {
        std::size_t expected = 0;
        for (std::size_t i = 0; i < kBytes; ++i) expected += static_cast<unsigned char>(i * 31 + k);
        EXPECT_EQ(sums[k], expected);
    }
}

TEST_F(EngineTest, HundredThousandProcessesAliveAtOnce) {
    constexpr int kCount = 100000;
    long finished = 0;
    long checksum = 0;
    for (int i = 0; i < kCount; ++i) {
        Start("P", 0.0, [&finished, &checksum, i](LambdaElement&) {
            const int mine = i;
            HoldProcess(1.0 + (i % 7));
            HoldProcess(1.0);
            checksum += mine;
            ++finished;
        });
    }
    RunSimulation();
    EXPECT_EQ(finished, kCount);
    EXPECT_EQ(checksum, static_cast<long>(kCount) * (kCount - 1) / 2);
    EXPECT_DOUBLE_EQ(SimTime(), NeverTime);
}

TEST_F(EngineTest, CurrentElementAndStatusWhileRunning) {
    LambdaElement* self = nullptr;
    self = Start("Me", 2.0, [&](LambdaElement& me) {
        EXPECT_EQ(CurrentElement(), &me);
        EXPECT_EQ(me.Status, esCurrent);
        EXPECT_EQ(me.EventTime, NeverTime);
        EXPECT_FALSE(me.Scheduled());
        HoldProcess(1.5);
        EXPECT_DOUBLE_EQ(SimTime(), 3.5);
    });
    EXPECT_EQ(self->Status, esScheduledOnTime);
    EXPECT_DOUBLE_EQ(self->EventTime, 2.0);
    RunSimulation();
    EXPECT_EQ(self->Status, esData);
    EXPECT_EQ(CurrentElement(), nullptr);
}

}  // namespace
}  // namespace zorva::testing
