// The time list's ordered index must find exactly the place the plain walk
// finds, through growth past the index threshold, shrinking below it, and
// removals from anywhere.

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/process_element.h"
#include "engine/sequencing_set.h"

namespace zorva {
namespace {

class Plain : public ZorvaProcessElement {
public:
    Plain() : ZorvaProcessElement("Plain", 0.0) {}
};

std::vector<const ZorvaProcessElement*> Order(SequencingSet& set) {
    std::vector<const ZorvaProcessElement*> order;
    for (EventNotice* n = set.TimeList.Next; n != &set.TimeList; n = n->Next) order.push_back(n->Element);
    return order;
}

TEST(SequencingSetTest, IndexedAndWalkedTimeListsAgreeNoticeForNotice) {
    constexpr int kElements = 1500;  // enough for many index blocks and long runs of equal times
    std::vector<Plain> walkedElements(kElements), indexedElements(kElements);
    SequencingSet walked(false), indexed(true);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> tick(0, 30);  // coarse times: many ties
    std::uniform_int_distribution<int> pick(0, kElements - 1);
    double clock = 0.0;
    bool sawIndex = false, sawWalkAgain = false;

    auto order = [&](SequencingSet& set, std::vector<Plain>& elements) {
        std::vector<int> ids;
        for (const ZorvaProcessElement* e : Order(set))
            ids.push_back(static_cast<int>(static_cast<const Plain*>(e) - elements.data()));
        return ids;
    };
    auto removeFirst = [](SequencingSet& set) {
        EventNotice* n = set.FirstTimed();
        set.Unlink(n);
        delete n;
    };

    for (int round = 0; round < 9000; ++round) {
        const int who = pick(random);
        const int action = round < 4500 ? tick(random) % 3 : tick(random) % 2 + 1;  // grow, then drain
        if (action == 0 || (action == 1 && !walkedElements[who].Scheduled())) {
            if (walkedElements[who].Scheduled()) continue;
            // Few distinct times: runs of equal times longer than an index block.
            const double t = clock + (tick(random) % 8) * 0.5;
            walked.InsertTimed(&walkedElements[who], t, clock, StackSegment());
            indexed.InsertTimed(&indexedElements[who], t, clock, StackSegment());
        } else if (action == 1) {
            // Removal from the middle, as Cancel or Interrupt would do.
            for (auto* set : {&walked, &indexed}) {
                auto& elements = set == &walked ? walkedElements : indexedElements;
                for (EventNotice* n = set->TimeList.Next; n != &set->TimeList; n = n->Next) {
                    if (n->Element == &elements[who]) {
                        set->Unlink(n);
                        delete n;
                        break;
                    }
                }
            }
        } else if (walked.FirstTimed() != &walked.TimeList) {
            // Resumption of the earliest notice advances the clock.
            clock = walked.FirstTimed()->Time;
            removeFirst(walked);
            removeFirst(indexed);
        }
        sawIndex = sawIndex || indexed.Indexed();
        sawWalkAgain = sawWalkAgain || (sawIndex && !indexed.Indexed());
        if (round % 5 == 0) {
            ASSERT_EQ(order(walked, walkedElements), order(indexed, indexedElements)) << "round " << round;
        }
    }
    EXPECT_EQ(order(walked, walkedElements), order(indexed, indexedElements));
    EXPECT_TRUE(sawIndex);
    EXPECT_TRUE(sawWalkAgain);
    EXPECT_FALSE(walked.Indexed());
}

}  // namespace
}  // namespace zorva
