// A single-server queue written as a model, run for a fixed simulated time.
// Its queue statistics must equal those worked out here from the same random
// streams with the recurrence start = max(arrival, previous end).

#include <algorithm>
#include <utility>

#include "kernel_test_support.h"

namespace zorva::testing {
namespace {

constexpr std::int32_t kArrivalSeed = 12345;
constexpr std::int32_t kServiceSeed = 67890;
constexpr double kMeanInterarrival = 1.0;
constexpr double kMeanService = 0.8;
constexpr double kStopTime = 200.0;

struct Mm1 {
    ZorvaQueue waiting{"Waiting"};
    TExponentialDistribution arrivals{kArrivalSeed, kMeanInterarrival};
    TExponentialDistribution service{kServiceSeed, kMeanService};
    ZorvaElement* server = nullptr;
};

class TCustomer : public ZorvaElement {
public:
    TCustomer(Mm1& model) : ZorvaElement(this, "Customer"), model_(model) {}
    void Process() override {
        EnterQueue(model_.waiting);
        if (model_.server->Status == esPassive) model_.server->Resume(SimTime());
        Passivate();
    }

private:
    Mm1& model_;
};

class TServer : public ZorvaElement {
public:
    TServer(Mm1& model) : ZorvaElement(this, "Server"), model_(model) {}
    void Process() override {
        for (;;) {
            while (!model_.waiting.FirstElement()) Passivate();
            ZorvaElement* customer = model_.waiting.FirstElement();
            customer->LeaveQueue(model_.waiting);
            Hold(model_.service.Sample());
            customer->StopAndLeave();
        }
    }

private:
    Mm1& model_;
};

class TGenerator : public ZorvaElement {
public:
    TGenerator(Mm1& model) : ZorvaElement(this, "Generator"), model_(model) {}
    void Process() override {
        for (;;) {
            (new TCustomer(model_))->Start(SimTime());
            Hold(model_.arrivals.Sample());
        }
    }

private:
    Mm1& model_;
};

struct Expected {
    double avgLength = 0, avgWait = 0, maxWait = 0, minWait = NeverTime;
    std::int64_t passed = 0, direct = 0;
    int maxLength = 0, length = 0;
};

Expected WorkOut() {
    TExponentialDistribution arrivals(kArrivalSeed, kMeanInterarrival);
    TExponentialDistribution service(kServiceSeed, kMeanService);
    std::vector<std::pair<double, int>> changes;  // time, +1 arrival / -1 service start
    Expected x;
    double end = 0.0;
    for (double arrival = 0.0; arrival < kStopTime; arrival += arrivals.Sample()) {
        changes.push_back({arrival, +1});
        const double start = std::max(arrival, end);
        if (start >= kStopTime) continue;
        changes.push_back({start, -1});
        const double wait = start - arrival;
        ++x.passed;
        x.direct += wait == 0.0;
        x.avgWait += wait;
        x.maxWait = std::max(x.maxWait, wait);
        x.minWait = std::min(x.minWait, wait);
        end = start + service.Sample();
    }
    x.avgWait /= x.passed;
    std::sort(changes.begin(), changes.end(),
              [](auto& l, auto& r) { return l.first < r.first || (l.first == r.first && l.second > r.second); });
    double area = 0.0;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i > 0) area += x.length * (changes[i].first - changes[i - 1].first);
        x.length += changes[i].second;
        x.maxLength = std::max(x.maxLength, x.length);
    }
    x.avgLength = area / changes.back().first;
    return x;
}

using Mm1Model = KernelTest;

TEST_F(Mm1Model, QueueStatisticsMatchTheRecurrence) {
    SetTraceOn(false);
    Mm1 model;
    model.server = new TServer(model);
    model.server->Start(0.0);
    (new TGenerator(model))->Start(0.0);
    SetStopTime(kStopTime);
    RunSimulation();

    const Expected x = WorkOut();
    ASSERT_GT(x.passed, 150);
    ASSERT_GT(x.direct, 0);
    const ZorvaQueue& q = model.waiting;
    EXPECT_EQ(q.TotalPassed, x.passed);
    EXPECT_EQ(q.Direct, x.direct);
    EXPECT_EQ(q.Length, x.length);
    EXPECT_EQ(q.MaxLength, x.maxLength);
    EXPECT_EQ(q.MinLength, 0);
    EXPECT_NEAR(q.AvgWaitingTime, x.avgWait, 1e-9 * x.avgWait);
    EXPECT_DOUBLE_EQ(q.MaxWaitingTime, x.maxWait);
    EXPECT_EQ(q.MinWaitingTime, 0.0);
    EXPECT_NEAR(q.AvgLength, x.avgLength, 1e-9 * x.avgLength);
    ResetKernel();  // the elements go before the queue they wait in
}

}  // namespace
}  // namespace zorva::testing
