#include "animation/zorva_animation_form.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <cmath>

#include "animation/animation_windows.h"
#include "animation/camera_form.h"
#include "animation/mesh_builder.h"

namespace zorva {
namespace {

class AnimationFormTest : public ::testing::Test {
protected:
    AnimationFormTest() : windows_(AnimationHost{}) {
        windows_.Host().ProcessPendingEvents = [this] { OnePass(); };
        windows_.Host().InterruptSimulation = [this] { ++interrupts_; };
        windows_.Host().ResumeSimulation = [this] { ++resumes_; };
        windows_.Host().ShowMessage = [this](const QString& message) { messages_ << message; };
        // Every due frame is drawn: these tests look at the simulated clock's
        // rule; the pacer has a test of its own.
        windows_.Pacer().Unlimited();
        windows_.ApplyAnimationSetting(true);
        form_ = windows_.Form();
    }

    // Stands for the toolkit's dispatch inside the camera loop: the key is
    // released during pass release_after.
    void OnePass() {
        ++passes_;
        barEnabledDuringMove_ = barEnabledDuringMove_ || form_->TrackBar1->isEnabled();
        if (duringPass_) duringPass_(passes_);
        if (passes_ >= releaseAfter_) QTest::keyRelease(form_, heldKey_);
    }

    void HoldKey(Qt::Key key, Qt::KeyboardModifiers modifiers, int steps) {
        heldKey_ = key;
        releaseAfter_ = steps;
        passes_ = 0;
        QTest::keyPress(form_, key, modifiers);
    }

    TAnimationWindows windows_;
    TZorvaAnimationForm* form_ = nullptr;
    int passes_ = 0;
    int releaseAfter_ = 1;
    Qt::Key heldKey_ = Qt::Key_Left;
    bool barEnabledDuringMove_ = false;
    std::function<void(int)> duringPass_;
    int interrupts_ = 0;
    int resumes_ = 0;
    QStringList messages_;
};

TEST_F(AnimationFormTest, CreatedWithTheCameraBehindTheOriginAndAnEmptyCaption) {
    windows_.State().AnimationCaption = "old";
    TZorvaAnimationForm second(windows_.Scene(), windows_.State(), windows_.Host());
    EXPECT_EQ(windows_.State().AnimationCaption, "");
    const TGMPRenderer& renderer = second.GMPArea->Renderer();
    EXPECT_FLOAT_EQ(renderer.CameraPosition.Z, 10.0f);
    EXPECT_FLOAT_EQ(renderer.CameraPosition.Y, 1.0f);
    EXPECT_FLOAT_EQ(renderer.EyePosition.Z, 0.0f);
    EXPECT_TRUE(second.GMPArea->EnableBackgroundBitmap());
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Zorva Animation"));
    EXPECT_TRUE(second.RedrawAll());
    second.Refresh();
    EXPECT_FALSE(second.RedrawAll());
}

TEST_F(AnimationFormTest, SpeedBarIntervalIsZeroUntilFirstMoved) {
    EXPECT_EQ(form_->TrackBar1->value(), 20);
    EXPECT_EQ(windows_.State().AnimationInterval, 0.0);
    const std::pair<int, double> telling[] = {{70, 11.0}, {71, 43.0}, {100, 1000.0}, {30, 1.0},
                                              {20, 0.5},  {10, 0.1},  {0, 0.0}};
    for (const auto& [position, interval] : telling) {
        form_->TrackBar1->setValue(position);
        EXPECT_DOUBLE_EQ(windows_.State().AnimationInterval, interval) << position;
    }
}

TEST_F(AnimationFormTest, ArrowKeyMovesOneStepPerPassUntilReleased) {
    HoldKey(Qt::Key_Right, Qt::NoModifier, 3);
    EXPECT_EQ(passes_, 3);
    EXPECT_NEAR(form_->GetCameraPosition().X, 0.6f, 1e-5f);
    EXPECT_FALSE(form_->KeyHeld());
    EXPECT_FALSE(barEnabledDuringMove_);
    EXPECT_TRUE(form_->TrackBar1->isEnabled());

    HoldKey(Qt::Key_Up, Qt::NoModifier, 2);
    EXPECT_NEAR(form_->GetCameraPosition().Z, 9.6f, 1e-5f);
    // The eye follows the camera.
    EXPECT_NEAR(form_->GMPArea->Renderer().EyePosition.Z, 9.6f, 1e-5f);
}

TEST_F(AnimationFormTest, ShiftMovesTenTimesAsFar) {
    HoldKey(Qt::Key_Left, Qt::ShiftModifier, 2);
    EXPECT_NEAR(form_->GetCameraPosition().X, -4.0f, 1e-5f);
}

TEST_F(AnimationFormTest, CtrlLiftsTheCameraAndIgnoresLeftAndRightButStillRedraws) {
    HoldKey(Qt::Key_Up, Qt::ControlModifier | Qt::AltModifier, 1);
    EXPECT_NEAR(form_->GetCameraPosition().Y, 1.2f, 1e-5f);
    EXPECT_FLOAT_EQ(form_->GetCameraAngles()[0], 0.0f);
    int frames = 0;
    form_->GMPArea->BeforeFlip = [&frames](QPainter&) { ++frames; };
    HoldKey(Qt::Key_Left, Qt::ControlModifier, 4);
    EXPECT_EQ(frames, 4);
    EXPECT_FLOAT_EQ(form_->GetCameraPosition().X, 0.0f);
    EXPECT_NEAR(form_->GetCameraPosition().Y, 1.2f, 1e-5f);
}

TEST_F(AnimationFormTest, AltTurnsTheCameraInDegrees) {
    HoldKey(Qt::Key_Left, Qt::AltModifier, 5);
    EXPECT_NEAR(form_->GetCameraAngles()[1], 1.0f, 1e-4f);
    const float radians = form_->GMPArea->Renderer().CameraAngles[1];
    EXPECT_NEAR(radians, 1.0f * 3.14159265f / 180.0f, 1e-6f);
    // The rotation in use follows the angles.
    EXPECT_NEAR(form_->GMPArea->Renderer().CameraRotation().SinAngles[1], std::sin(-radians), 1e-6f);
    HoldKey(Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier, 1);
    EXPECT_NEAR(form_->GetCameraAngles()[0], 2.0f, 1e-4f);
    EXPECT_FLOAT_EQ(form_->GetCameraAngles()[2], 0.0f);
    EXPECT_FLOAT_EQ(form_->GetCameraPosition().X, 0.0f);
}

TEST_F(AnimationFormTest, PressesDuringTheLoopNeverStartANestedLoop) {
    int depth = 0;
    int deepest = 0;
    duringPass_ = [&](int pass) {
        ++depth;
        deepest = std::max(deepest, depth);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(form_, &repeat);
        // A second arrow pressed while the first is held takes over.
        if (pass == 1) QTest::keyPress(form_, Qt::Key_Down);
        --depth;
    };
    HoldKey(Qt::Key_Right, Qt::NoModifier, 3);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(passes_, 3);
    EXPECT_NEAR(form_->GetCameraPosition().X, 0.2f, 1e-5f);
    EXPECT_NEAR(form_->GetCameraPosition().Z, 10.4f, 1e-5f);
}

TEST_F(AnimationFormTest, OtherKeysOnlyMarkTheKeyHeld) {
    QTest::keyPress(form_, Qt::Key_A);
    EXPECT_TRUE(form_->KeyHeld());
    EXPECT_TRUE(form_->TrackBar1->isEnabled());
    EXPECT_EQ(passes_, 0);
    QTest::keyRelease(form_, Qt::Key_A);
    EXPECT_FALSE(form_->KeyHeld());
    EXPECT_TRUE(form_->TrackBar1->isEnabled());
}

// The red pixels of the frame's middle row and column.
QSize RedExtent(const QImage& frame) {
    QSize extent;
    for (int x = 0; x < frame.width(); ++x) extent.rwidth() += frame.pixelColor(x, frame.height() / 2).red() > 200;
    for (int y = 0; y < frame.height(); ++y) extent.rheight() += frame.pixelColor(frame.width() / 2, y).red() > 200;
    return extent;
}

TEST_F(AnimationFormTest, RefreshShowsGroupMeshesAndTheCaption) {
    TMesh box;
    AddBox(box, {0.0f, 0.0f, 0.0f}, {2.0f, 2.0f, 2.0f});
    windows_.Scene().AddGroup({0.0f, 1.0f, 0.0f}).AddShape(box, RGBColor(255, 0, 0), TRenderMode::rmSolid);
    windows_.State().AnimationCaption = "12.50 ";
    form_->Refresh();
    const QImage& frame = form_->GMPArea->ShownFrame();
    ASSERT_EQ(frame.size(), form_->size() - QSize(0, 49));
    EXPECT_EQ(frame.pixelColor(frame.width() / 2, frame.height() / 2), QColor(255, 0, 0));
    EXPECT_EQ(frame.pixelColor(frame.width() - 50, frame.height() - 50), QColor(0, 0, 0));
    int white = 0;
    for (int y = 10; y < 30; ++y) {
        for (int x = 10; x < 80; ++x) white += frame.pixelColor(x, y) == QColor(Qt::white) ? 1 : 0;
    }
    EXPECT_GT(white, 20);
}

TEST_F(AnimationFormTest, RedrawWhenDueFollowsTheIntervalAndWritesTheTrimmedClock) {
    EXPECT_TRUE(windows_.RedrawWhenDue(0.0, "        0.00"));
    EXPECT_EQ(windows_.State().AnimationCaption, "0.00 ");
    EXPECT_EQ(windows_.State().LastAnimationTime, 0.0);
    EXPECT_FALSE(windows_.RedrawWhenDue(0.0, "        0.00"));
    form_->TrackBar1->setValue(70);
    EXPECT_FALSE(windows_.RedrawWhenDue(11.0, "       11.00"));
    EXPECT_TRUE(windows_.RedrawWhenDue(11.5, "       11.50"));
    EXPECT_EQ(windows_.State().AnimationCaption, "11.50 ");
    windows_.ApplyAnimationSetting(false);
    EXPECT_FALSE(form_->isVisible());
    EXPECT_FALSE(windows_.RedrawWhenDue(100.0, "      100.00"));
}

TEST_F(AnimationFormTest, TheViewFillsTheWindowAtAnySizeWithTheSameProportions) {
    TMesh box;
    AddBox(box, {0.0f, 0.0f, 0.0f}, {2.0f, 2.0f, 2.0f});
    windows_.Scene().AddGroup({0.0f, 1.0f, 0.0f}).AddShape(box, RGBColor(255, 0, 0), TRenderMode::rmSolid);
    form_->Refresh();
    const QSize designed = RedExtent(form_->GMPArea->ShownFrame());
    EXPECT_EQ(designed.width(), designed.height());
    form_->resize(600, 400);
    EXPECT_EQ(form_->GMPArea->geometry(), QRect(0, 49, 600, 351));
    EXPECT_EQ(form_->GMPArea->Renderer().ViewWidth(), 600);
    EXPECT_EQ(form_->GMPArea->Renderer().ViewHeight(), 351);
    // Drawn again at once, the box in the middle at the same size.
    EXPECT_EQ(form_->GMPArea->ShownFrame().size(), QSize(600, 351));
    EXPECT_EQ(RedExtent(form_->GMPArea->ShownFrame()), designed);
}

TEST_F(AnimationFormTest, PacedRedrawsWaitForTheScreenAndForHalfTheTimeAndComeLater) {
    double now = 100.0;
    TFramePacer& pacer = windows_.Pacer();
    pacer = TFramePacer{};
    pacer.Clock = [&now] { return now; };
    int frames = 0;
    form_->GMPArea->BeforeFlip = [&](QPainter&) {
        ++frames;
        now += 0.1;  // each frame takes a tenth of a second
    };
    EXPECT_TRUE(windows_.RedrawWhenDue(1.0, "1.00"));
    // Another tenth of a second of run: as long as the frame took, not twice.
    now += 0.09;
    EXPECT_FALSE(windows_.RedrawWhenDue(2.0, "2.00"));
    now += 0.01;
    EXPECT_TRUE(windows_.RedrawWhenDue(3.0, "3.00"));
    EXPECT_EQ(frames, 2);
    // Cheap frames still come no more often than a screen shows them.
    form_->GMPArea->BeforeFlip = [&](QPainter&) { ++frames; };
    now += 1.0;
    EXPECT_TRUE(windows_.RedrawWhenDue(4.0, "4.00"));
    now += 0.01;
    EXPECT_FALSE(windows_.RedrawWhenDue(5.0, "5.00"));
    EXPECT_EQ(windows_.State().LastAnimationTime, 4.0);
    // The frame held back comes by itself once its time has come.
    now += 0.01;
    EXPECT_TRUE(QTest::qWaitFor([&] { return frames == 4; }, 5000));
}

TEST(AnimationWindows, FirstShowingPlacesBothWindowsAndLaterOnesReuseTheWindow) {
    QWidget main_window;
    main_window.resize(696, 413);
    main_window.move(328, 183);
    main_window.show();
    AnimationHost host;
    host.MainWindow = [&main_window] { return &main_window; };
    TAnimationWindows windows(host);
    EXPECT_EQ(windows.Form(), nullptr);
    windows.ApplyAnimationSetting(false);
    EXPECT_EQ(windows.Form(), nullptr);
    windows.ApplyAnimationSetting(true);
    TZorvaAnimationForm* form = windows.Form();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(main_window.width(), 120);
    EXPECT_EQ(main_window.frameGeometry().topLeft(), main_window.screen()->geometry().topLeft());
    EXPECT_EQ(form->frameGeometry().left(), main_window.frameGeometry().width());
    // Frame and all on the screen's free part.
    EXPECT_TRUE(form->screen()->availableGeometry().contains(form->frameGeometry()));
    windows.ApplyAnimationSetting(false);
    EXPECT_FALSE(form->isVisible());
    windows.ApplyAnimationSetting(true);
    EXPECT_EQ(windows.Form(), form);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(AnimationFormTest, CameraWindowInterruptsOnOpenAndResumesOnClose) {
    const QPointer<TCameraForm> camera = form_->OpenCameraForm();
    ASSERT_FALSE(camera.isNull());
    EXPECT_EQ(interrupts_, 1);
    EXPECT_EQ(resumes_, 0);
    EXPECT_TRUE(camera->isVisible());
    EXPECT_EQ(camera->windowTitle(), QStringLiteral("Camera Positioning"));
    camera->CloseButton->click();
    EXPECT_EQ(resumes_, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(camera.isNull());
    // Every click makes a new window.
    const QPointer<TCameraForm> again = form_->OpenCameraForm();
    EXPECT_EQ(interrupts_, 2);
    again->GoCloseCameraForm();
    EXPECT_EQ(resumes_, 2);
}

}  // namespace
}  // namespace zorva
