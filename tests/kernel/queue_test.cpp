// Queue membership: where each add operation links, duplicate memberships,
// lookups through the element, copying and moving, and the registry.

#include "kernel_test_support.h"

namespace zorva::testing {
namespace {

using Names = std::vector<std::string>;

class QueueOps : public KernelTest {
protected:
    static Names Members(const ZorvaQueue& queue) {
        Names names;
        for (const TNode* n = queue.Head.QueueNext; n != &queue.Head; n = n->QueueNext)
            names.push_back(n->QueueElement->Name);
        return names;
    }
    static Names MembersBackwards(const ZorvaQueue& queue) {
        Names names;
        for (ZorvaElement* e = queue.LastElement(); e; e = e->Predecessor(queue)) names.push_back(e->Name);
        return names;
    }
};

class TCargo : public ZorvaElement {
public:
    TCargo(std::string_view name, double weight) : ZorvaElement(this, name), Weight(weight) {}
    void Process() override { Finish(); }
    double Weight;
};

bool Heavier(ZorvaElement* inserted, ZorvaElement* member) {
    return static_cast<TCargo*>(inserted)->Weight > static_cast<TCargo*>(member)->Weight;
}

TEST_F(QueueOps, EachAddLinksWhereItSaysAndTracesIt) {
    ZorvaQueue lock("Lock");
    auto* a = Make("A");
    auto* b = Make("B");
    auto* c = Make("C");
    auto* d = Make("D");
    auto* e = Make("E");
    TraceMemo().Clear();
    a->EnterQueue(lock);
    b->EnterQueueInFront(lock);
    lock.AddBefore(*c, *a);
    lock.AddAfter(*d, *a);
    lock.AddAfter(*e, *d);
    EXPECT_EQ(Members(lock), (Names{"B", "C", "A", "D", "E"}));
    EXPECT_EQ(MembersBackwards(lock), (Names{"E", "D", "A", "C", "B"}));
    EXPECT_EQ(Memo(), (Names{"        0.00 A to tail of Lock", "        0.00 B to head of Lock",
                             "        0.00 C  put before A in Lock", "        0.00 D  put after A in Lock",
                             "        0.00 E  put after D in Lock"}));
    EXPECT_EQ(lock.Length, 5);
}

TEST_F(QueueOps, SortedEntryKeepsEqualMembersInOrderOfArrival) {
    ZorvaQueue hold("Hold");
    for (auto [name, weight] : {std::pair{"W5", 5.0}, {"W9", 9.0}, {"W1", 1.0}, {"V5", 5.0}, {"W7", 7.0}})
        (new TCargo(name, weight))->EnterQueueSorted(hold, Heavier);
    EXPECT_EQ(Members(hold), (Names{"W9", "W7", "W5", "V5", "W1"}));
    EXPECT_EQ(Memo().back(), "        0.00 W7 to sort of Hold");
    auto* last = new TCargo("Last", 0.0);
    last->EnterQueueSorted(hold, [](ZorvaElement*, ZorvaElement*) { return false; });
    EXPECT_EQ(hold.LastElement(), last);
}

TEST_F(QueueOps, ADuplicateMembershipCountsTwiceAndTheOlderOneLeavesFirst) {
    ZorvaQueue lock("Lock");
    auto* a = Make("A");
    auto* b = Make("B");
    a->EnterQueue(lock);
    SetClock(1.0);
    b->EnterQueue(lock);
    SetClock(2.0);
    a->EnterQueue(lock);
    EXPECT_EQ(lock.Length, 3);
    EXPECT_EQ(Members(lock), (Names{"A", "B", "A"}));
    EXPECT_EQ(a->Successor(lock), b);  // found through A's older membership
    SetClock(4.0);
    a->LeaveQueue(lock);
    EXPECT_EQ(Members(lock), (Names{"B", "A"}));
    EXPECT_EQ(lock.MaxWaitingTime, 4.0);
    EXPECT_EQ(a->QueueTime(lock), 2.0);
    EXPECT_TRUE(a->IsInQueue(lock));
    a->LeaveQueue(lock);
    EXPECT_FALSE(a->IsInQueue(lock));
    EXPECT_EQ(lock.Length, 1);
}

TEST_F(QueueOps, EndsOfTheQueueAndContains) {
    ZorvaQueue lock("Lock");
    EXPECT_EQ(lock.FirstElement(), nullptr);
    EXPECT_EQ(lock.LastElement(), nullptr);
    EXPECT_FALSE(lock.Contains(nullptr));
    auto* a = Make("A");
    auto* b = Make("B");
    EXPECT_FALSE(lock.Contains(a));
    a->EnterQueue(lock);
    b->EnterQueue(lock);
    EXPECT_TRUE(lock.Contains(a));
    EXPECT_EQ(a->Predecessor(lock), nullptr);
    EXPECT_EQ(b->Successor(lock), nullptr);
    EXPECT_EQ(a->Successor(lock), b);
    EXPECT_EQ(b->Predecessor(lock), a);
}

TEST_F(QueueOps, CopyAndMoveKeepOrderAndTraceEachMember) {
    auto lock = std::make_unique<ZorvaQueue>("Lock");
    Make("A")->EnterQueue(*lock);
    Make("B")->EnterQueue(*lock);
    TraceMemo().Clear();
    SetClock(3.0);
    auto copy = lock->Copy();
    EXPECT_EQ(copy->Name, "Copy_Lock");
    EXPECT_EQ(Members(*copy), (Names{"A", "B"}));
    EXPECT_EQ(Members(*lock), (Names{"A", "B"}));
    EXPECT_EQ(Memo(), (Names{"        3.00 Copy_Lock created", "        3.00 A to tail of Copy_Lock",
                             "        3.00 B to tail of Copy_Lock"}));
    TraceMemo().Clear();
    auto moved = lock->Move();
    EXPECT_EQ(moved->Name, "Copy_Lock");
    EXPECT_EQ(Members(*moved), (Names{"A", "B"}));
    EXPECT_EQ(lock->Length, 0);
    EXPECT_EQ(lock->TotalPassed, 2);
    EXPECT_EQ(Memo(), (Names{"        3.00 Copy_Lock created", "        3.00 A to tail of Copy_Lock",
                             "        3.00 B to tail of Copy_Lock", "        3.00 A out of Lock",
                             "        3.00 B out of Lock"}));
    EXPECT_EQ(QueueCount(), 3);
}

TEST_F(QueueOps, ClaimersSetsAndClearsTheClaimFlag) {
    auto* a = Make("A");
    a->EnterQueue(Claimers());
    EXPECT_TRUE(a->ClaimFlag);
    a->LeaveQueue(Claimers());
    EXPECT_FALSE(a->ClaimFlag);
}

TEST_F(QueueOps, DestroyingAQueueFreesItsMembershipsQuietly) {
    auto* a = Make("A");
    {
        ZorvaQueue lock("Lock");
        a->EnterQueue(lock);
        a->EnterQueue(lock);
        TraceMemo().Clear();
    }
    EXPECT_EQ(Memo(), (Names{"        0.00 Lock destroyed"}));
    EXPECT_EQ(a->Memberships.MemberNext->OwnerQueue, &Elements());
    EXPECT_EQ(a->Memberships.MemberNext->MemberNext, &a->Memberships);
}

TEST_F(QueueOps, TheRegistryListsUserQueuesInCreationOrder) {
    EXPECT_EQ(QueueCount(), 0);
    EXPECT_TRUE(RegisteredQueues().empty());
    auto first = std::make_unique<ZorvaQueue>("First");
    auto second = std::make_unique<ZorvaQueue>("Second");
    auto third = std::make_unique<ZorvaQueue>("Third");
    second.reset();
    EXPECT_EQ(QueueCount(), 2);
    EXPECT_EQ(RegisteredQueues(), (std::vector<ZorvaQueue*>{first.get(), third.get()}));
    EXPECT_EQ(QueueRegistry().Next->Queue, first.get());
    EXPECT_EQ(QueueRegistry().Prev->Queue, third.get());
    EXPECT_EQ(first->Link->Queue, first.get());
}

// A queue class may change what entering means; the element's forwarders
// must reach the override.
class TCountingQueue : public ZorvaQueue {
public:
    using ZorvaQueue::ZorvaQueue;
    void AddToTail(ZorvaElement& element) override {
        ++Tails;
        ZorvaQueue::AddToTail(element);
    }
    void Remove(ZorvaElement& element) override {
        ++Removals;
        ZorvaQueue::Remove(element);
    }
    int Tails = 0;
    int Removals = 0;
};

TEST_F(QueueOps, ForwardersAndClearUseTheVirtualOperations) {
    TCountingQueue lock("Lock");
    Make("A")->EnterQueue(lock);
    Make("B")->EnterQueue(lock);
    lock.Clear();
    EXPECT_EQ(lock.Tails, 2);
    EXPECT_EQ(lock.Removals, 2);
    EXPECT_EQ(lock.Length, 0);
}

}  // namespace
}  // namespace zorva::testing
