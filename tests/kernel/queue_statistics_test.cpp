// Queue statistics: the time-weighted mean length, the waiting times of the
// departures, and what a reset starts afresh. Expected values are worked out
// by hand from the length history.

#include "kernel_test_support.h"

namespace zorva::testing {
namespace {

using QueueStatistics = KernelTest;

TEST_F(QueueStatistics, MeanLengthIsTimeWeightedAndUpdatedOnlyAtChanges) {
    ZorvaQueue lock("Lock");
    auto* a = Make("A");
    auto* b = Make("B");
    auto* c = Make("C");
    a->EnterQueue(lock);
    b->EnterQueue(lock);
    SetClock(10.0);
    a->LeaveQueue(lock);
    b->LeaveQueue(lock);
    SetClock(15.0);
    EXPECT_EQ(lock.AvgLength, 2.0);  // as of time 10, the last change
    SetClock(20.0);
    c->EnterQueue(lock);
    EXPECT_DOUBLE_EQ(lock.AvgLength, 1.0);  // 2 for 10, then 0 for 10
    SetClock(25.0);
    c->LeaveQueue(lock);
    EXPECT_DOUBLE_EQ(lock.AvgLength, 25.0 / 25.0);  // + 1 for 5
    EXPECT_EQ(lock.MaxLength, 2);
    EXPECT_EQ(lock.MinLength, 0);
    EXPECT_EQ(lock.TotalPassed, 3);
    EXPECT_DOUBLE_EQ(lock.AvgWaitingTime, (10.0 + 10.0 + 5.0) / 3);
    EXPECT_EQ(lock.MinWaitingTime, 5.0);
    EXPECT_EQ(lock.MaxWaitingTime, 10.0);
    EXPECT_EQ(lock.Direct, 0);
}

TEST_F(QueueStatistics, ADepartureAtTheEntryInstantIsDirect) {
    ZorvaQueue lock("Lock");
    EXPECT_EQ(lock.MinWaitingTime, NeverTime);
    EXPECT_EQ(lock.MaxWaitingTime, 0.0);
    auto* a = Make("A");
    SetClock(3.0);
    a->EnterQueue(lock);
    a->LeaveQueue(lock);
    EXPECT_EQ(lock.TotalPassed, 1);
    EXPECT_EQ(lock.Direct, 1);
    EXPECT_EQ(lock.MinWaitingTime, 0.0);
    EXPECT_EQ(lock.AvgWaitingTime, 0.0);
}

TEST_F(QueueStatistics, ResetStartsFromTheCurrentLength) {
    ZorvaQueue lock("Lock");
    auto* a = Make("A");
    auto* b = Make("B");
    auto* c = Make("C");
    a->EnterQueue(lock);
    b->EnterQueue(lock);
    SetClock(4.0);
    a->LeaveQueue(lock);
    SetClock(6.0);
    lock.ResetStatistics();
    EXPECT_EQ(lock.AvgLength, 1.0);
    EXPECT_EQ(lock.MinLength, 1);
    EXPECT_EQ(lock.MaxLength, 1);
    EXPECT_EQ(lock.TotalPassed, 0);
    EXPECT_EQ(lock.StatisticsStart, 6.0);
    EXPECT_EQ(lock.LastChange, 4.0);
    // Changes at the reset instant leave the mean alone; the length reached
    // then counts from the reset on.
    c->EnterQueue(lock);
    a->EnterQueue(lock);
    EXPECT_EQ(lock.AvgLength, 1.0);
    EXPECT_EQ(lock.MaxLength, 3);
    SetClock(8.0);
    b->LeaveQueue(lock);
    EXPECT_DOUBLE_EQ(lock.AvgLength, 3.0);
    EXPECT_EQ(lock.MinLength, 1);
    EXPECT_EQ(lock.TotalPassed, 1);
    EXPECT_DOUBLE_EQ(lock.AvgWaitingTime, 8.0);  // B waited since 0, before the reset
    SetClock(12.0);
    c->LeaveQueue(lock);
    EXPECT_DOUBLE_EQ(lock.AvgLength, (2 * 3.0 + 4 * 2.0) / 6);
    a->LeaveQueue(lock);
    EXPECT_EQ(lock.MinLength, 0);
}

TEST_F(QueueStatistics, ANewQueueStartsItsStatisticsAtTheClock) {
    SetClock(5.0);
    ZorvaQueue lock("Lock");
    EXPECT_EQ(lock.StatisticsStart, 5.0);
    EXPECT_EQ(lock.LastChange, 5.0);
    auto* a = Make("A");
    SetClock(7.0);
    a->EnterQueue(lock);
    SetClock(9.0);
    a->LeaveQueue(lock);
    EXPECT_DOUBLE_EQ(lock.AvgLength, 0.5);
}

}  // namespace
}  // namespace zorva::testing
