// Naming through the element-class registry, and what creating and
// destroying an element leaves in the queues, the trace and the status bar.

#include "kernel_test_support.h"

namespace zorva::testing {
namespace {

class TShipA : public ZorvaElement {
public:
    explicit TShipA(std::string_view name) : ZorvaElement(this, name) {}
    void Process() override { Finish(); }

protected:
    template <class Self>
    TShipA(Self* self, std::string_view name) : ZorvaElement(self, name) {}
};

class TShipB : public ZorvaElement {
public:
    explicit TShipB(std::string_view name) : ZorvaElement(this, name) {}
    void Process() override { Finish(); }
};

// Forwards itself but inherits TShipA's Process, so it counts with TShipA.
class TBigShipA : public TShipA {
public:
    explicit TBigShipA(std::string_view name) : TShipA(this, name) {}
};

// Declares its own Process, so it counts on its own.
class TTugA : public TShipA {
public:
    explicit TTugA(std::string_view name) : TShipA(this, name) {}
    void Process() override { Finish(); }
};

using ElementNaming = KernelTest;

TEST_F(ElementNaming, TrimmedNamesAreCountedPerClassAndCaseSensitively) {
    EXPECT_EQ((new TShipA("Ship"))->Name, "Ship");
    EXPECT_EQ((new TShipA(" Ship"))->Name, "Ship2");
    EXPECT_EQ((new TShipA("Ship \t"))->Name, "Ship3");
    EXPECT_EQ((new TShipB("Ship"))->Name, "Ship");
    EXPECT_EQ((new TShipA("ship"))->Name, "ship");
    EXPECT_EQ((new TShipB("Ship"))->Name, "Ship2");
    EXPECT_EQ((new TShipA("Ship"))->Name, "Ship4");
}

TEST_F(ElementNaming, AClassWithoutItsOwnProcessSharesItsAncestorsCount) {
    EXPECT_EQ((new TShipA("Ship"))->Name, "Ship");
    EXPECT_EQ((new TBigShipA("Ship"))->Name, "Ship2");
    EXPECT_EQ(ElementClasses().size(), 1u);
}

TEST_F(ElementNaming, AClassThatForwardsItselfGetsItsOwnCount) {
    EXPECT_EQ((new TShipA("Tug"))->Name, "Tug");
    EXPECT_EQ((new TTugA("Tug"))->Name, "Tug");
}

TEST_F(ElementNaming, CreationWritesOneLineAndEntersElementsUntraced) {
    SetClock(7.5);
    auto* first = Make("Ship");
    auto* second = Make("Ship");
    EXPECT_EQ(Memo(), (std::vector<std::string>{"        7.50 Ship created", "        7.50 Ship2 created"}));
    EXPECT_EQ(Elements().FirstElement(), first);
    EXPECT_EQ(Elements().LastElement(), second);
    EXPECT_EQ(first->ArrivalTime, 7.5);
    EXPECT_EQ(first->Status, esData);
    EXPECT_EQ(first->EventTime, NeverTime);
    EXPECT_EQ(first->RemainingTime, -1.0);
    EXPECT_FALSE(first->ClaimFlag);
    EXPECT_TRUE(TraceAllowed());
}

TEST_F(ElementNaming, DestructionLeavesEveryQueueInOrderOfEntry) {
    ZorvaQueue lock("Lock");
    ZorvaQueue dock("Dock");
    auto* ship = Make("Ship");
    ship->EnterQueue(dock);
    ship->EnterQueue(lock);
    ship->EnterQueue(dock);
    TraceMemo().Clear();
    delete ship;
    EXPECT_EQ(Memo(), (std::vector<std::string>{"        0.00 Ship out of Elements", "        0.00 Ship out of Dock",
                                                "        0.00 Ship out of Lock", "        0.00 Ship out of Dock"}));
    EXPECT_EQ(lock.Length, 0);
    EXPECT_EQ(dock.Length, 0);
    EXPECT_EQ(dock.TotalPassed, 2);
    EXPECT_EQ(Elements().Length, 0);
}

TEST_F(ElementNaming, StatusBarShowsElementAndQueueCounts) {
    std::vector<std::string> texts;
    SetStatusBarHook([&](int panel, const std::string& text) { texts.push_back(std::to_string(panel) + ":" + text); });
    auto* ship = Make("Ship");
    Make("Ship");
    auto* lock = new ZorvaQueue("Lock");
    delete ship;
    delete lock;
    EXPECT_EQ(texts, (std::vector<std::string>{"1:Elements: 1", "1:Elements: 2", "2:Queues: 1", "1:Elements: 1",
                                               "2:Queues: 0"}));
}

TEST_F(ElementNaming, StatusTextsFollowTheCodes) {
    const char* expected[] = {"Data",   "Claiming", "Passive", "Interrupted", "Scheduled on Time", "Scheduled on State",
                              "Current"};
    auto* ship = Make("Ship");
    for (std::uint8_t code = esData; code <= esCurrent; ++code) {
        ship->Status = code;
        EXPECT_EQ(ship->StatusToString(), expected[code]);
    }
    ship->Status = esData;
}

}  // namespace
}  // namespace zorva::testing
