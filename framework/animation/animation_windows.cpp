#include "animation/animation_windows.h"
#include "wire/protocol.h"

#include <QGuiApplication>
#include <QScreen>
#include <string>

namespace zorva {

namespace {

constexpr int kMainWindowWidth = 120;

}  // namespace

TAnimationWindows::TAnimationWindows(AnimationHost host) : host_(std::move(host)) {}

TAnimationWindows::~TAnimationWindows() = default;

void TAnimationWindows::ApplyAnimationSetting(bool animation_on) {
    if (!animation_on) {
        if (form_) form_->hide();
        return;
    }
    if (!form_) {
        form_ = std::make_unique<TZorvaAnimationForm>(scene_, state_, host_);
        Place();
    }
    form_->show();
    form_->raise();
    form_->activateWindow();
}

void TAnimationWindows::Place() {
    QWidget* main_window = host_.MainWindow ? host_.MainWindow() : nullptr;
    if (main_window == nullptr) return;
    const QScreen* screen = main_window->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    main_window->move(area.topLeft());
    main_window->resize(kMainWindowWidth, main_window->height());
    const int left = main_window->frameGeometry().width();
    form_->move(area.left() + left, area.top());
    form_->resize(area.width() - left, area.height());
}

bool TAnimationWindows::RedrawWhenDue(double sim_time, std::string_view time_string) {
    if (!form_ || !form_->isVisible()) return false;
    if (!(sim_time - state_.LastAnimationTime > state_.AnimationInterval)) return false;
    form_->activateWindow();
    form_->setFocus();
    state_.AnimationCaption = std::string(Trim(time_string)) + " ";
    form_->Refresh();
    state_.LastAnimationTime = sim_time;
    return true;
}

}  // namespace zorva
