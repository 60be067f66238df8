// The animation window as the main window drives it: the Animation setting
// places, shows and hides it, the run redraws it as the clock advances, and
// its camera-positions window interrupts and resumes the run.
#include <QCheckBox>
#include <QFile>
#include <QPointer>
#include <QScreen>

#include "animation/camera_form.h"
#include "animation/mesh_builder.h"
#include "ui/model_window.h"
#include "ui_test_support.h"

namespace zorva::uitest {
namespace {

struct MenuState {
    bool Start, Interrupt, Resume;
    bool operator==(const MenuState&) const = default;
};

void PrintTo(const MenuState& m, std::ostream* os) {
    *os << "{start " << m.Start << ", interrupt " << m.Interrupt << ", resume " << m.Resume << "}";
}

// Events of the test model up to the stop time 10 come at every whole time
// unit from 0 to 9, at some times more than one.
class AnimationWindowTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        // The redraw rule of the simulated clock alone: every due frame.
        form_->AnimationWindows().Pacer().Unlimited();
        InitTestModel();
        SetServerAddress("");
        SetStopTime(10.0);
    }
    void TearDown() override {
        QFile::remove("ui_tests.cam");
        UiTest::TearDown();
    }

    // As the user does it: the settings panel, the check box, OK.
    void SwitchAnimation(bool on) {
        form_->GoEditTheSettings();
        form_->Settings()->AnimationCheckBox()->setChecked(on);
        form_->Settings()->OKButton()->click();
    }
    TZorvaAnimationForm* Animation() const { return form_->AnimationWindows().Form(); }
    TAnimationState& State() const { return form_->AnimationWindows().State(); }

    // From now on every frame drawn adds the caption it was drawn with.
    void RecordFrames() {
        TGMP* view = Animation()->GMPArea;
        view->BeforeFlip = [this, drawCaption = view->BeforeFlip](QPainter& canvas) {
            drawCaption(canvas);
            frames_.push_back(State().AnimationCaption);
        };
    }

    MenuState Menu() const {
        return {form_->StartItem()->isEnabled(), form_->InterruptItem()->isEnabled(), form_->ResumeItem()->isEnabled()};
    }

    // The one camera-positions window that is open, or null.
    static TCameraForm* OpenCameraForm() {
        TCameraForm* found = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* camera = qobject_cast<TCameraForm*>(window);
            if (camera != nullptr && camera->isVisible()) {
                EXPECT_EQ(found, nullptr) << "more than one camera-positions window";
                found = camera;
            }
        }
        return found;
    }

    std::vector<std::string> frames_;
};

std::vector<std::string> Captions(std::initializer_list<const char*> times) {
    std::vector<std::string> captions;
    for (const char* time : times) captions.push_back(std::string(time) + " ");
    return captions;
}

TEST_F(AnimationWindowTest, SwitchingOnPlacesTheWindowBesideTheMainWindowAndOffHidesIt) {
    EXPECT_EQ(Animation(), nullptr);
    SwitchAnimation(true);
    EXPECT_EQ(HeaderText(hsAnimation), "Animation: On");
    ASSERT_NE(Animation(), nullptr);
    EXPECT_TRUE(Animation()->isVisible());
    EXPECT_EQ(Animation()->windowTitle(), "Zorva Animation — ui_tests");

    // The main window in the top left corner, 120 wide; the animation window,
    // frame and all, from its right edge over the rest of the screen's free
    // part, and no further.
    const QRect screen = form_->screen()->availableGeometry();
    const QRect main = form_->frameGeometry();
    EXPECT_EQ(main.topLeft(), screen.topLeft());
    EXPECT_EQ(form_->width(), 120);
    const QRect animation = Animation()->frameGeometry();
    EXPECT_EQ(animation.topLeft(), QPoint(screen.left() + main.width(), screen.top()));
    EXPECT_EQ(animation.bottomRight(), screen.bottomRight());

    TZorvaAnimationForm* first = Animation();
    SwitchAnimation(false);
    EXPECT_EQ(HeaderText(hsAnimation), "Animation: Off");
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(form_->AnimationOn());

    // Switched on again, the same window shows where it was; only its
    // creation places the windows.
    form_->setGeometry(300, 200, 500, 400);
    SwitchAnimation(true);
    EXPECT_EQ(Animation(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(HeaderText(hsAnimation), "Animation: On");
    EXPECT_EQ(form_->geometry(), QRect(300, 200, 500, 400));
    EXPECT_EQ(first->frameGeometry(), animation);
}

TEST_F(AnimationWindowTest, ShowingTheWindowAgainRedrawsIt) {
    SwitchAnimation(true);
    RecordFrames();
    SwitchAnimation(false);
    EXPECT_TRUE(frames_.empty());
    SwitchAnimation(true);
    // Nothing has run yet: the caption is still empty.
    EXPECT_EQ(frames_, std::vector<std::string>{""});
}

TEST_F(AnimationWindowTest, UntouchedSpeedBarRedrawsOnceForEveryNewClockValue) {
    SwitchAnimation(true);
    EXPECT_EQ(Animation()->TrackBar1->value(), 20);
    EXPECT_EQ(State().AnimationInterval, 0.0);
    RecordFrames();
    RunThroughStart();
    EXPECT_EQ(RunState(), rsEnded);
    // Several events at one time give one frame; the end, at 10, none.
    EXPECT_EQ(frames_, Captions({"0.00", "1.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00", "8.00", "9.00"}));
    EXPECT_EQ(State().LastAnimationTime, 9.0);
    EXPECT_TRUE(Animation()->hasFocus());
}

struct SpeedCase {
    int Position;
    std::vector<std::string> Frames;
};

void PrintTo(const SpeedCase& c, std::ostream* os) {
    *os << "position " << c.Position;
}

class SpeedBarTest : public AnimationWindowTest, public ::testing::WithParamInterface<SpeedCase> {};

// The first redraw needs the clock more than the interval past -1; each
// further one more than the interval past the last.
TEST_P(SpeedBarTest, RedrawsOnlyWhenTheClockHasMovedOnByMoreThanTheInterval) {
    SwitchAnimation(true);
    Animation()->TrackBar1->setValue(GetParam().Position);
    RecordFrames();
    RunThroughStart();
    EXPECT_EQ(frames_, GetParam().Frames);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, SpeedBarTest,
    ::testing::Values(
        // Interval 0.1: every new whole time unit.
        SpeedCase{10, Captions({"0.00", "1.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00", "8.00", "9.00"})},
        // Interval 1: 0 is exactly 1 past -1, not more.
        SpeedCase{30, Captions({"1.00", "3.00", "5.00", "7.00", "9.00"})},
        // Interval 3.5.
        SpeedCase{40, Captions({"3.00", "7.00"})},
        // Interval 43: the run of 10 is too short for a single redraw.
        SpeedCase{71, {}}),
    [](const ::testing::TestParamInfo<SpeedCase>& info) { return "At" + std::to_string(info.param.Position); });

TEST_F(AnimationWindowTest, OnlyTheRunningStateRedraws) {
    SwitchAnimation(true);
    RecordFrames();
    // The break at 4.5 calls the display while interrupted: no frame then.
    SetBreakTime(4.5);
    QTimer resumer;
    QObject::connect(&resumer, &QTimer::timeout, [&] {
        if (RunState() == rsInterrupted) form_->ResumeItem()->trigger();
    });
    resumer.start(5);
    RunThroughStart();
    EXPECT_EQ(frames_, Captions({"0.00", "1.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00", "8.00", "9.00"}));
    EXPECT_EQ(MemoLinesContaining("4.50 *** Interrupt ***"), 1);
}

TEST_F(AnimationWindowTest, StepModeRunIsNotRedrawnByTheRun) {
    SwitchAnimation(true);
    RecordFrames();
    form_->SetStepMode(true);
    QTimer stepper;
    QObject::connect(&stepper, &QTimer::timeout, [&] { form_->ExecuteNextStep(); });
    stepper.start(1);
    RunThroughStart();
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_TRUE(frames_.empty());
}

TEST_F(AnimationWindowTest, HiddenWindowIsNotRedrawnAndShowsTheLastCaptionAgain) {
    SwitchAnimation(true);
    RecordFrames();
    // Not through the settings panel, which would interrupt the run.
    AtSimTime(4.0, [&] { form_->ApplyAnimationSetting(false); });
    AtSimTime(6.5, [&] { form_->ApplyAnimationSetting(true); });
    RunThroughStart();
    EXPECT_EQ(frames_, Captions({"0.00", "1.00", "2.00", "3.00", "4.00", "4.00", "7.00", "8.00", "9.00"}));
    EXPECT_EQ(HeaderText(hsAnimation), "Animation: On");
}

TEST_F(AnimationWindowTest, MeshesOfTheModelAreShownAndFollowTheModel) {
    // Straight ahead of the camera, which stands at (0, 1, 10).
    TMesh box;
    ASSERT_TRUE(AddBox(box, {0.0f, 0.0f, 0.0f}, {4.0f, 4.0f, 4.0f}));
    TAnimationGroup& group = AnimationScene().AddGroup({0.0f, 1.0f, 0.0f});
    group.AddShape(box, RGBColor(200, 0, 0), TRenderMode::rmSolid);
    SwitchAnimation(true);
    const auto centre = [this] {
        const QImage& frame = Animation()->GMPArea->ShownFrame();
        return frame.pixelColor(frame.width() / 2, frame.height() / 2);
    };
    EXPECT_GT(centre().red(), 190);
    EXPECT_EQ(centre().green(), 0);
    EXPECT_EQ(centre().blue(), 0);
    AtSimTime(5.0, [&] { group.SetPosition({40.0f, 1.0f, 0.0f}); });
    RunThroughStart();
    EXPECT_EQ(centre(), QColor(Qt::black));
}

TEST_F(AnimationWindowTest, CameraWindowBeforeStartLeavesTheRunIdle) {
    QFile file("ui_tests.cam");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Overview:::0 5 20\nQuay:::1 2 3\n");
    file.close();
    SwitchAnimation(true);
    RecordFrames();
    Animation()->CameraSpeedButton->click();
    QPointer<TCameraForm> camera = OpenCameraForm();
    ASSERT_NE(camera, nullptr);
    ASSERT_EQ(camera->SelectListBox->count(), 2);
    EXPECT_EQ(camera->SelectListBox->item(0)->text(), "Overview");
    EXPECT_EQ(camera->SelectListBox->item(1)->text(), "Quay");
    EXPECT_EQ(RunState(), rsIdle);
    EXPECT_EQ(Menu(), (MenuState{true, false, false}));

    camera->CloseButton->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(camera.isNull());
    EXPECT_EQ(RunState(), rsIdle);
    EXPECT_EQ(Menu(), (MenuState{true, false, false}));
    // Still Idle: the model may still set the server address.
    SetServerAddress("here");
    EXPECT_EQ(HeaderText(hsServerAddress), "ServerAddress: here");
    SetServerAddress("");

    RunThroughStart();
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(frames_.size(), 10u);
}

TEST_F(AnimationWindowTest, CameraWindowDuringTheRunInterruptsAndClosingResumes) {
    SwitchAnimation(true);
    RecordFrames();
    std::vector<MenuState> menus;
    std::vector<std::uint8_t> states;
    std::size_t framesWhileOpen = 0;
    AtSimTime(4.0, [&] {
        Animation()->CameraSpeedButton->click();
        states.push_back(RunState());
        menus.push_back(Menu());
        framesWhileOpen = frames_.size();
        // Two rounds later the run still waits at 4.
        Post([&] {
            Post([&] {
                EXPECT_EQ(SimTime(), 4.0);
                EXPECT_EQ(frames_.size(), framesWhileOpen);
                TCameraForm* camera = OpenCameraForm();
                ASSERT_NE(camera, nullptr);
                camera->CloseButton->click();
                states.push_back(RunState());
                menus.push_back(Menu());
            });
        });
    });
    RunThroughStart();
    EXPECT_EQ(states, (std::vector<std::uint8_t>{rsInterrupted, rsRunning}));
    EXPECT_EQ(menus, (std::vector<MenuState>{{false, false, true}, {false, true, false}}));
    EXPECT_EQ(framesWhileOpen, 5u);
    EXPECT_EQ(frames_, Captions({"0.00", "1.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00", "8.00", "9.00"}));
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 10.0);
}

TEST_F(AnimationWindowTest, CameraWindowAfterTheEndLeavesTheRunEnded) {
    SwitchAnimation(true);
    RunThroughStart();
    Animation()->CameraSpeedButton->click();
    TCameraForm* camera = OpenCameraForm();
    ASSERT_NE(camera, nullptr);
    camera->CloseButton->click();
    EXPECT_EQ(RunState(), rsEnded);
    // So the main window closes at the first attempt.
    form_->close();
    EXPECT_EQ(closings_, 1);
    EXPECT_FALSE(Animation()->isVisible());
}

}  // namespace
}  // namespace zorva::uitest
