#include "animation/camera_keys.h"

#include <gtest/gtest.h>

#include "animation/animation_state.h"

namespace zorva {
namespace {

TCameraPose Start() {
    return {{1.0f, 2.0f, 3.0f}, {10.0f, 20.0f, 30.0f}};
}

TEST(StepCamera, PlainKeysMoveInTheGroundPlane) {
    struct Case {
        TCameraKey Key;
        TVector3 Expected;
    };
    for (const Case& c : {Case{TCameraKey::Left, {0.8f, 2.0f, 3.0f}}, Case{TCameraKey::Right, {1.2f, 2.0f, 3.0f}},
                          Case{TCameraKey::Up, {1.0f, 2.0f, 2.8f}}, Case{TCameraKey::Down, {1.0f, 2.0f, 3.2f}}}) {
        TCameraPose pose = Start();
        EXPECT_EQ(StepCamera(pose, c.Key, {}, 0.2f), TCameraChange::Position);
        EXPECT_FLOAT_EQ(pose.Position.X, c.Expected.X);
        EXPECT_FLOAT_EQ(pose.Position.Y, c.Expected.Y);
        EXPECT_FLOAT_EQ(pose.Position.Z, c.Expected.Z);
        EXPECT_EQ(pose.AnglesDegrees, Start().AnglesDegrees);
    }
}

TEST(StepCamera, ShiftMovesTenTimesAsFar) {
    TCameraPose pose = Start();
    StepCamera(pose, TCameraKey::Right, {.Shift = true}, 0.2f);
    EXPECT_FLOAT_EQ(pose.Position.X, 3.0f);
}

TEST(StepCamera, CtrlLiftsAndLowersOnlyAndWinsOverAlt) {
    TCameraPose pose = Start();
    EXPECT_EQ(StepCamera(pose, TCameraKey::Up, {.Ctrl = true, .Alt = true}, 0.2f), TCameraChange::Position);
    EXPECT_FLOAT_EQ(pose.Position.Y, 2.2f);
    EXPECT_EQ(StepCamera(pose, TCameraKey::Down, {.Shift = true, .Ctrl = true}, 0.2f), TCameraChange::Position);
    EXPECT_FLOAT_EQ(pose.Position.Y, 0.2f);
    const TCameraPose before = pose;
    EXPECT_EQ(StepCamera(pose, TCameraKey::Left, {.Ctrl = true}, 0.2f), TCameraChange::None);
    EXPECT_EQ(StepCamera(pose, TCameraKey::Right, {.Ctrl = true}, 0.2f), TCameraChange::None);
    EXPECT_FLOAT_EQ(pose.Position.X, before.Position.X);
    EXPECT_FLOAT_EQ(pose.Position.Z, before.Position.Z);
}

TEST(StepCamera, AltTurnsAboutYAndXButNeverZ) {
    TCameraPose pose = Start();
    EXPECT_EQ(StepCamera(pose, TCameraKey::Left, {.Alt = true}, 0.2f), TCameraChange::Angles);
    EXPECT_FLOAT_EQ(pose.AnglesDegrees[1], 20.2f);
    StepCamera(pose, TCameraKey::Right, {.Shift = true, .Alt = true}, 0.2f);
    EXPECT_FLOAT_EQ(pose.AnglesDegrees[1], 18.2f);
    StepCamera(pose, TCameraKey::Up, {.Alt = true}, 0.2f);
    EXPECT_FLOAT_EQ(pose.AnglesDegrees[0], 9.8f);
    StepCamera(pose, TCameraKey::Down, {.Alt = true}, 0.2f);
    StepCamera(pose, TCameraKey::Down, {.Alt = true}, 0.2f);
    EXPECT_FLOAT_EQ(pose.AnglesDegrees[0], 10.2f);
    EXPECT_FLOAT_EQ(pose.AnglesDegrees[2], 30.0f);
    EXPECT_FLOAT_EQ(pose.Position.X, 1.0f);
}

TEST(SpeedInterval, PiecewiseMapWithItsJumpAt71) {
    EXPECT_DOUBLE_EQ(SpeedInterval(0), 0.0);
    EXPECT_DOUBLE_EQ(SpeedInterval(10), 0.1);
    EXPECT_DOUBLE_EQ(SpeedInterval(11), 0.14);
    EXPECT_DOUBLE_EQ(SpeedInterval(20), 0.5);
    EXPECT_DOUBLE_EQ(SpeedInterval(21), 0.55);
    EXPECT_DOUBLE_EQ(SpeedInterval(30), 1.0);
    EXPECT_DOUBLE_EQ(SpeedInterval(31), 1.25);
    EXPECT_DOUBLE_EQ(SpeedInterval(70), 11.0);
    EXPECT_DOUBLE_EQ(SpeedInterval(71), 43.0);
    EXPECT_DOUBLE_EQ(SpeedInterval(100), 1000.0);
    EXPECT_DOUBLE_EQ(SpeedInterval(-5), 0.0);
    EXPECT_DOUBLE_EQ(SpeedInterval(150), 1000.0);
}

}  // namespace
}  // namespace zorva
