// The queues' length traces that the live chart draws: what is recorded,
// and that a run of any length stays within the fixed budget with its peaks.

#include <algorithm>

#include "kernel_test_support.h"

namespace zorva::testing {
namespace {

using QueueLengthTraceTest = KernelTest;

TEST_F(QueueLengthTraceTest, UserQueuesRecordTheirLastLengthPerTimeOnlyWhileSwitchedOn) {
    ZorvaQueue lock("Lock");
    auto* a = Make("A");
    a->EnterQueue(lock);
    EXPECT_TRUE(lock.LengthTrace.Points().empty()) << "nothing is recorded while no chart asks";
    RecordQueueLengths(true);
    SetClock(2.0);
    a->LeaveQueue(lock);
    a->EnterQueue(lock);
    SetClock(3.0);
    a->LeaveQueue(lock);
    RecordQueueLengths(false);
    a->EnterQueue(lock);
    const auto& points = lock.LengthTrace.Points();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].Time, 0.0);  // where recording began
    EXPECT_EQ(points[0].Length, 1);
    EXPECT_EQ(points[1].Time, 2.0);  // out and in again at 2: one point
    EXPECT_EQ(points[1].Length, 1);
    EXPECT_EQ(points[2].Time, 3.0);
    EXPECT_EQ(points[2].Length, 0);
    EXPECT_TRUE(Elements().LengthTrace.Points().empty()) << "the kernel's own queues are not charted";
}

TEST(QueueLengthTrace, TenMillionChangesStayWithinTheBudgetAndKeepTheirPeak) {
    TQueueLengthTrace trace;
    constexpr int kChanges = 10'000'000;
    for (int i = 0; i < kChanges; ++i) trace.Record(i, i == 1234 ? 500 : static_cast<std::uint16_t>(i % 7));
    const auto& points = trace.Points();
    EXPECT_LE(points.size(), TQueueLengthTrace::kPointBudget);
    EXPECT_GE(points.size(), TQueueLengthTrace::kPointBudget / 2);
    EXPECT_EQ(points.front().Time, 0.0);
    EXPECT_EQ(
        std::max_element(points.begin(), points.end(), [](auto& a, auto& b) { return a.Length < b.Length; })->Length,
        500);
    EXPECT_TRUE(std::is_sorted(points.begin(), points.end(), [](auto& a, auto& b) { return a.Time < b.Time; }));
}

}  // namespace
}  // namespace zorva::testing
