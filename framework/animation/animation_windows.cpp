#include "animation/animation_windows.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <string>

#include "animation/view_defaults.h"
#include "engine/engine.h"
#include "wire/number_text.h"
#include "wire/protocol.h"

namespace zorva {

namespace {

constexpr int kMainWindowWidth = 120;

// Fits the window, with its frame, into the area, so that it covers nothing
// beyond it.
void KeepInside(QWidget& window, const QRect& area) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins decoration(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                              frame.bottom() - inner.bottom());
    const QRect room = area.marginsRemoved(decoration);
    // Where it starts stays, unless that lies outside; what sticks out is cut.
    const int left = std::clamp(inner.left(), room.left(), room.right());
    const int top = std::clamp(inner.top(), room.top(), room.bottom());
    const int width = std::min(inner.width(), room.right() + 1 - left);
    const int height = std::min(inner.height(), room.bottom() + 1 - top);
    window.setGeometry(left, top, width, height);
}

}  // namespace

TAnimationWindows::TAnimationWindows(AnimationHost host) : host_(std::move(host)) {
    owedFrame_.setSingleShot(true);
    QObject::connect(&owedFrame_, &QTimer::timeout, [this] { DrawOwedFrame(); });
}

TAnimationWindows::~TAnimationWindows() = default;

void TAnimationWindows::ApplyAnimationSetting(bool animation_on) {
    if (!animation_on) {
        if (form_) form_->hide();
        return;
    }
    const bool first = !form_;
    if (first) {
        form_ = std::make_unique<TZorvaAnimationForm>(scene_, state_, host_);
        if (camera_) form_->SetCameraPose(*camera_);
        Place();
    }
    form_->show();
    form_->raise();
    form_->activateWindow();
    // Only a shown window knows the size of its frame, which the placing
    // beside the main window leaves out.
    if (first && host_.MainWindow && form_->screen() != nullptr)
        KeepInside(*form_, form_->screen()->availableGeometry());
}

void TAnimationWindows::Place() {
    QWidget* main_window = host_.MainWindow ? host_.MainWindow() : nullptr;
    if (main_window == nullptr) return;
    const QScreen* screen = main_window->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    // Beside the main window over the rest of the screen, but within the
    // part of it that panels and task bars leave free.
    const QRect area = screen->availableGeometry();
    main_window->move(area.topLeft());
    main_window->resize(kMainWindowWidth, main_window->height());
    const int left = main_window->frameGeometry().width();
    form_->move(area.left() + left, area.top());
    form_->resize(area.width() - left, area.height());
}

bool TAnimationWindows::RedrawWhenDue(double sim_time, std::string_view time_string) {
    if (!form_ || !form_->isVisible()) return false;
    if (!(sim_time - state_.LastAnimationTime > state_.AnimationInterval)) return false;
    if (!pacer_.MayDraw()) {
        if (!owedFrame_.isActive()) owedFrame_.start(static_cast<int>(std::ceil(pacer_.SecondsToWait() * 1000.0)));
        return false;
    }
    owedFrame_.stop();
    Redraw(sim_time, time_string);
    return true;
}

void TAnimationWindows::Redraw(double sim_time, std::string_view time_string) {
    // Asked of the window system only when needed: on every frame it costs.
    if (!form_->isActiveWindow()) form_->activateWindow();
    if (!form_->hasFocus()) form_->setFocus();
    state_.AnimationCaption = std::string(Trim(time_string)) + " ";
    pacer_.FrameStarted();
    form_->Refresh();
    pacer_.FrameEnded();
    state_.LastAnimationTime = sim_time;
}

void TAnimationWindows::DrawOwedFrame() {
    if (!form_ || !form_->isVisible()) return;
    if (!pacer_.MayDraw()) {
        owedFrame_.start(static_cast<int>(std::ceil(pacer_.SecondsToWait() * 1000.0)));
        return;
    }
    Redraw(SimTime(), FormatFixed(SimTime()));
}

void TAnimationWindows::SetCamera(const TCameraPose& pose) {
    camera_ = pose;
    if (form_) form_->SetCameraPose(pose);
}

void TAnimationWindows::TakeDueSnapshots(double clock) {
    if (!snapshots_.Pending()) return;
    snapshots_.TakeDue(clock, scene_, [this](TGMPRenderer& renderer) {
        if (form_) {
            // What the window shows, eye included.
            const TGMPRenderer& view = form_->GMPArea->Renderer();
            renderer.CameraPosition = view.CameraPosition;
            renderer.EyePosition = view.EyePosition;
            renderer.CameraAngles = view.CameraAngles;
        } else {
            SetUpView(renderer);
            if (camera_) AimCamera(renderer, *camera_);
        }
        renderer.UpdateCameraAngles();
    });
}

}  // namespace zorva
