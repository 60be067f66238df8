// The west lock as the animation draws it, frame by frame at chosen times of
// a run, looked at pixel by pixel from the overview camera: the gates, the
// water in the chamber during a changeover, the ships waiting.
//
// Up to time 160 (see west_model_test.cpp): an empty changeover towards the
// west from 127.83 to 137.83 while ShipL3, ShipL4 and ShipL5 arrive; they
// sail in at 137.83, 139.83 and 141.83; the changeover with them, lifting
// them to the east reach, runs from 143.83 to 153.83.

#include <array>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "animation/view_defaults.h"
#include "lock/lock_layout.h"
#include "lock/lock_scene.h"
#include "lock_model_test_support.h"
#include "ui/model_window.h"
#include "west/brim_west.h"

namespace zorva::testing {
namespace {

namespace layout = lock_layout;

const TCameraPose kOverview{{0.0f, 12.0f, -5.0f}, {-50.0f, 0.0f, 0.0f}};

struct Rgb {
    int R, G, B;
};

class LockSceneTest : public LockModelTest {
protected:
    void SetUp() override {
        LockModelTest::SetUp();
        AnimationScene().Clear();
        renderer_ = std::make_unique<TGMPRenderer>();
        renderer_->Resize(kDesignViewWidth, kDesignViewHeight);
        SetUpView(*renderer_);
        AimCamera(*renderer_, kOverview);
    }
    void TearDown() override {
        AnimationScene().Clear();
        LockModelTest::TearDown();
    }

    // One run of the west lock with a frame at each of the times, taken as
    // batch snapshots are: at the first display call whose clock has reached
    // the time. Each frame is then the one Shows and Blobs look at.
    void RunWithFramesAt(std::vector<double> times) {
        SetDisplayCallback([this, times, next = std::size_t{0}]() mutable {
            while (next < times.size() && SimTime() >= times[next]) {
                AnimationScene().DrawFrame(*renderer_, times[next], true);
                const TDIB16bit& surface = renderer_->Surface();
                std::vector<std::uint16_t> pixels;
                for (int y = 0; y < surface.Height(); ++y)
                    for (int x = 0; x < surface.Width(); ++x) pixels.push_back(surface.GetPixel(x, y));
                frames_.push_back({std::move(pixels), InstalledLockModel().Lock().LeftArrivals.Length});
                ++next;
            }
        });
        Run(InitBrimWest, times.back() + 1.0);
        ASSERT_EQ(frames_.size(), times.size());
    }
    void Look(std::size_t frame) { shown_ = &frames_.at(frame); }

    TScreenPoint Screen(TVector3 lockPoint) const {
        const TVector3 world = layout::World(lockPoint);
        return renderer_->Project(renderer_->CameraRotation().ToCamera(Subtract(world, renderer_->CameraPosition)));
    }

    Rgb Pixel(int x, int y) const {
        const std::uint16_t p = shown_->Pixels[static_cast<std::size_t>(y * kDesignViewWidth + x)];
        return {(p >> 10 & 31) * 255 / 31, (p >> 5 & 31) * 255 / 31, (p & 31) * 255 / 31};
    }

    // A face of `base` colour, shaded: somewhere between it and white.
    bool Shows(int x, int y, TColor base) const {
        const Rgb p = Pixel(x, y);
        const std::array<int, 3> b{static_cast<int>(base & 0xFF), static_cast<int>(base >> 8 & 0xFF),
                                   static_cast<int>(base >> 16 & 0xFF)};
        const std::array<int, 3> c{p.R, p.G, p.B};
        // The lightening that fits best, then every channel near it.
        double sum = 0.0;
        double weight = 0.0;
        for (int i = 0; i < 3; ++i) {
            sum += (c[i] - b[i]) * (255.0 - b[i]);
            weight += (255.0 - b[i]) * (255.0 - b[i]);
        }
        const double k = std::clamp(sum / weight, 0.0, 1.0);
        for (int i = 0; i < 3; ++i) {
            if (std::abs(c[i] - (b[i] + k * (255 - b[i]))) > 12) return false;
        }
        return true;
    }

    // Separate patches of at least 20 pixels of the colour within the
    // screen rectangle around the given points of the lock.
    int Blobs(TColor base, std::initializer_list<TVector3> corners) const {
        int x0 = kDesignViewWidth, x1 = 0, y0 = kDesignViewHeight, y1 = 0;
        for (const TVector3& corner : corners) {
            const TScreenPoint s = Screen(corner);
            x0 = std::max(0, std::min(x0, s.X));
            x1 = std::min(kDesignViewWidth - 1, std::max(x1, s.X));
            y0 = std::max(0, std::min(y0, s.Y));
            y1 = std::min(kDesignViewHeight - 1, std::max(y1, s.Y));
        }
        const int w = x1 - x0 + 1;
        std::vector<int> seen(static_cast<std::size_t>(w * (y1 - y0 + 1)), 0);
        int blobs = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                if (seen[(y - y0) * w + x - x0] || !Shows(x, y, base)) continue;
                int size = 0;
                std::vector<std::pair<int, int>> todo{{x, y}};
                seen[(y - y0) * w + x - x0] = 1;
                while (!todo.empty()) {
                    const auto [px, py] = todo.back();
                    todo.pop_back();
                    ++size;
                    for (const auto& [nx, ny] : {std::pair{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}}) {
                        if (nx < x0 || nx > x1 || ny < y0 || ny > y1 || seen[(ny - y0) * w + nx - x0]) continue;
                        if (!Shows(nx, ny, base)) continue;
                        seen[(ny - y0) * w + nx - x0] = 1;
                        todo.push_back({nx, ny});
                    }
                }
                if (size >= 20) ++blobs;
            }
        }
        return blobs;
    }

    // The west waiting area, ships and all.
    int ShipsWaitingWest() const {
        const float inner = -(layout::GateX + layout::GateThickness / 2);
        return Blobs(layout::EastboundColor, {{inner, layout::LowLevel, 0.0f},
                                              {-layout::ReachEnd, layout::LowLevel, 0.0f},
                                              {inner, layout::LowLevel + 0.6f, -layout::CanalHalfWidth},
                                              {-layout::ReachEnd, layout::LowLevel + 0.6f, -layout::CanalHalfWidth}});
    }

    struct TFrame {
        std::vector<std::uint16_t> Pixels;  // row by row from the bottom
        int WaitingWest;                    // ships in LeftArrivals then
    };
    std::unique_ptr<TGMPRenderer> renderer_;
    std::vector<TFrame> frames_;
    const TFrame* shown_ = nullptr;
};

TEST_F(LockSceneTest, BothGatesShowShutWhileTheWaterMovesAndTheWestOneOpenAfterwards) {
    const auto gateShut = [this](std::uint8_t side) {
        const TScreenPoint s = Screen({layout::SideSign(side) * layout::GateX, layout::GateTop - 0.05f, 0.0f});
        return Shows(s.X, s.Y, layout::GateColor);
    };
    RunWithFramesAt({133.0, 139.0});
    Look(0);
    EXPECT_TRUE(gateShut(WestSide));
    EXPECT_TRUE(gateShut(EastSide));
    Look(1);
    EXPECT_FALSE(gateShut(WestSide));
    EXPECT_TRUE(gateShut(EastSide));
}

TEST_F(LockSceneTest, TheChambersWaterRisesDuringTheChangeoverThatLiftsTheShips) {
    // The water's far edge against the wall, seen up the middle column.
    const auto waterEdge = [this] {
        const int x = Screen({0.0f, 0.0f, 0.0f}).X;
        int edge = -1;
        for (int y = 0; y < kDesignViewHeight; ++y) {
            if (Shows(x, y, layout::WaterColor)) edge = y;
        }
        return edge;
    };
    // Levels at 20 % and 70 % of the changeover, the water moving over its
    // middle 60 %.
    const auto level = [](double time) {
        const double p = (time - 143.83) / 10.0;
        return static_cast<float>(layout::LowLevel +
                                  (layout::HighLevel - layout::LowLevel) * std::clamp((p - 0.2) / 0.6, 0.0, 1.0));
    };
    RunWithFramesAt({146.0, 151.0});
    Look(0);
    const int low = waterEdge();
    EXPECT_NEAR(low, Screen({0.0f, level(146.0), -layout::CanalHalfWidth}).Y, 2);
    Look(1);
    const int high = waterEdge();
    EXPECT_NEAR(high, Screen({0.0f, level(151.0), -layout::CanalHalfWidth}).Y, 2);
    EXPECT_GT(high, low + 10);  // rows count upwards
}

TEST_F(LockSceneTest, AShipBlobForEveryShipWaitingAndEachKeepsItsPlace) {
    RunWithFramesAt({134.0, 138.8});
    Look(0);
    EXPECT_EQ(shown_->WaitingWest, 3);
    EXPECT_EQ(ShipsWaitingWest(), 3);
    // ShipL3 sails in; ShipL4 and ShipL5 wait where they waited before.
    Look(1);
    EXPECT_EQ(shown_->WaitingWest, 2);
    EXPECT_EQ(ShipsWaitingWest(), 2);
    for (const double place : {0.0, 1.0, 2.0}) {
        const TVector3 ship = layout::BerthPlace(WestSide, place, layout::LowLevel);
        const TScreenPoint s =
            renderer_->Project(renderer_->CameraRotation().ToCamera(Subtract(ship, renderer_->CameraPosition)));
        EXPECT_EQ(Shows(s.X, s.Y, layout::EastboundColor) || Shows(s.X, s.Y, layout::CabinColor), place > 0.0)
            << "place " << place;
    }
}

}  // namespace
}  // namespace zorva::testing
