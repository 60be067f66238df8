// The message handler on its own: what it makes of each incoming text.

#include "lock_model_test_support.h"
#include "test_clock.h"
#include "west/brim_west.h"

namespace zorva::testing {
namespace {

class ReceiveShipTest : public LockModelTest {
protected:
    void SetUp() override {
        LockModelTest::SetUp();
        InitBrimWest();
    }
    // Every element the kernel knows, the generator and the keeper included.
    static int ElementCount() { return Elements().Length; }
};

TEST_F(ReceiveShipTest, StartsAShipOnTheEastSideAtTheTimeItCarries) {
    zorva::testing::SetClock(12.5);
    InstalledLockModel().ReceiveShip("$$from:brimeast!!ShipR3!!17.52!!  104.37 \r");
    auto* ship = dynamic_cast<TShip*>(Elements().LastElement());
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->Name, "ShipR3");
    EXPECT_EQ(ship->Attribute, 17.52);
    EXPECT_EQ(ship->Side, EastSide);
    EXPECT_EQ(ship->EventTime, 104.37);
}

TEST_F(ReceiveShipTest, ShipsThatArriveLateStillStartAtOnce) {
    zorva::testing::SetClock(50.0);
    InstalledLockModel().ReceiveShip("$$from:brimeast!!ShipR!!20.00!!44.00");
    auto* ship = dynamic_cast<TShip*>(Elements().LastElement());
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->Status, esScheduledOnState);
}

TEST_F(ReceiveShipTest, IgnoresTextsThatCarryNoShip) {
    const int before = ElementCount();
    const std::size_t lines = TraceMemo().Lines().size();
    // A refusal without a hand-over before it concerns no ship either.
    for (const char* text : {"$$simtime:7", "$$clients:brimeast!!brimwest", "ShipR!!20.00!!44.00", "$$unknown:x"})
        InstalledLockModel().ReceiveShip(text);
    EXPECT_EQ(ElementCount(), before);
    EXPECT_EQ(TraceMemo().Lines().size(), lines);
}

TEST_F(ReceiveShipTest, RefusesMalformedShipsWithOneTraceLineEach) {
    const int before = ElementCount();
    for (const std::string text : {"$$from:brimeast", "$$from:brimeast!!ShipR", "$$from:brimeast!!ShipR!!20.00",
                                   "$$from:brimeast!!ShipR!!twenty!!44.00", "$$from:brimeast!!ShipR!!20.00!!44,00",
                                   "$$from:brimeast!!  !!20.00!!44.00", "$$from:brimeast!!ShipR!!20.00!!1E308"}) {
        const std::size_t lines = TraceMemo().Lines().size();
        InstalledLockModel().ReceiveShip(text);
        ASSERT_EQ(TraceMemo().Lines().size(), lines + 1) << text;
        EXPECT_NE(TraceMemo().Lines().back().find("rejects \"" + text + "\""), std::string::npos)
            << TraceMemo().Lines().back();
    }
    EXPECT_EQ(ElementCount(), before);
}

}  // namespace
}  // namespace zorva::testing
