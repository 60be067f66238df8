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
    ZorvaQueue Waiting{"Waiting"};
    TExponentialDistribution Arrivals{kArrivalSeed, kMeanInterarrival};
    TExponentialDistribution Service{kServiceSeed, kMeanService};
    ZorvaElement* Server = nullptr;
};

class TCustomer : public ZorvaElement {
public:
    TCustomer(Mm1& model) : ZorvaElement(this, "Customer"), model_(model) {}
    void Process() override {
        EnterQueue(model_.Waiting);
        if (model_.Server->Status == esPassive) model_.Server->Resume(SimTime());
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
            while (!model_.Waiting.FirstElement()) Passivate();
            ZorvaElement* customer = model_.Waiting.FirstElement();
            customer->LeaveQueue(model_.Waiting);
            Hold(model_.Service.Sample());
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
            Hold(model_.Arrivals.Sample());
        }
    }

private:
    Mm1& model_;
};

struct Expected {
    double AvgLength = 0, AvgWait = 0, MaxWait = 0, MinWait = NeverTime;
    std::int64_t Passed = 0, Direct = 0;
    int MaxLength = 0, Length = 0;
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
        ++x.Passed;
        x.Direct += wait == 0.0;
        x.AvgWait += wait;
        x.MaxWait = std::max(x.MaxWait, wait);
        x.MinWait = std::min(x.MinWait, wait);
        end = start + service.Sample();
    }
    x.AvgWait /= x.Passed;
    std::sort(changes.begin(), changes.end(),
              [](auto& l, auto& r) { return l.first < r.first || (l.first == r.first && l.second > r.second); });
    double area = 0.0;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i > 0) area += x.Length * (changes[i].first - changes[i - 1].first);
        x.Length += changes[i].second;
        x.MaxLength = std::max(x.MaxLength, x.Length);
    }
    x.AvgLength = area / changes.back().first;
    return x;
}

using Mm1Model = KernelTest;

TEST_F(Mm1Model, QueueStatisticsMatchTheRecurrence) {
    SetTraceOn(false);
    Mm1 model;
    model.Server = new TServer(model);
    model.Server->Start(0.0);
    (new TGenerator(model))->Start(0.0);
    SetStopTime(kStopTime);
    RunSimulation();

    const Expected x = WorkOut();
    ASSERT_GT(x.Passed, 150);
    ASSERT_GT(x.Direct, 0);
    const ZorvaQueue& q = model.Waiting;
    EXPECT_EQ(q.TotalPassed, x.Passed);
    EXPECT_EQ(q.Direct, x.Direct);
    EXPECT_EQ(q.Length, x.Length);
    EXPECT_EQ(q.MaxLength, x.MaxLength);
    EXPECT_EQ(q.MinLength, 0);
    EXPECT_NEAR(q.AvgWaitingTime, x.AvgWait, 1e-9 * x.AvgWait);
    EXPECT_DOUBLE_EQ(q.MaxWaitingTime, x.MaxWait);
    EXPECT_EQ(q.MinWaitingTime, 0.0);
    EXPECT_NEAR(q.AvgLength, x.AvgLength, 1e-9 * x.AvgLength);
    ResetKernel();  // the elements go before the queue they wait in
}

}  // namespace
}  // namespace zorva::testing
