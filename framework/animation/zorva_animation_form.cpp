#include "animation/zorva_animation_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QResizeEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "animation/camera_file.h"
#include "animation/camera_form.h"
#include "animation/view_defaults.h"
#include "engine/engine.h"

namespace zorva {

namespace {

// The view starts below the speed controls and fills the rest of the window.
constexpr int kViewLeft = 0;
constexpr int kViewTop = 49;

std::optional<TCameraKey> CameraKeyOf(int key) {
    switch (key) {
        case Qt::Key_Left:
            return TCameraKey::Left;
        case Qt::Key_Up:
            return TCameraKey::Up;
        case Qt::Key_Right:
            return TCameraKey::Right;
        case Qt::Key_Down:
            return TCameraKey::Down;
        default:
            return std::nullopt;
    }
}

QLabel* BoldLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QFrame* Bevel(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return frame;
}

}  // namespace

TZorvaAnimationForm::TZorvaAnimationForm(TAnimationScene& scene, TAnimationState& state, AnimationHost& host,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      scene_(scene),
      state_(state),
      host_(host) {
    setWindowTitle(QStringLiteral("Zorva Animation"));
    resize(812, 574);
    // The window takes every keystroke itself; its controls never hold the focus.
    setFocusPolicy(Qt::StrongFocus);
    BuildLayout();

    SetUpView(GMPArea->Renderer());
    state_.AnimationCaption.clear();
}

void TZorvaAnimationForm::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    layout->addWidget(panel);

    Bevel(panel)->setGeometry(9, 4, 213, 43);
    BoldLabel(QStringLiteral("Speed"), panel)->move(18, 14);
    TrackBar1 = new QSlider(Qt::Horizontal, panel);
    TrackBar1->setGeometry(58, 9, 150, 25);
    TrackBar1->setRange(0, 100);
    TrackBar1->setValue(20);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(10);
    TrackBar1->setFocusPolicy(Qt::NoFocus);
    TrackBar1->setToolTip(
        QStringLiteral("Redraw interval: towards Min the animation is redrawn after every event, "
                       "towards Max only after ever longer stretches of simulated time"));
    // Connected after the initial value: the interval stays 0 until the user
    // moves the bar.
    connect(TrackBar1, &QSlider::valueChanged, this, &TZorvaAnimationForm::CheckPosition);
    BoldLabel(QStringLiteral("Min                           Max"), panel)->move(60, 31);

    Bevel(panel)->setGeometry(230, 4, 50, 42);
    CameraSpeedButton = new QToolButton(panel);
    CameraSpeedButton->setGeometry(244, 13, 23, 22);
    CameraSpeedButton->setToolTip(QStringLiteral("CameraPosition"));
    CameraSpeedButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    CameraSpeedButton->setFocusPolicy(Qt::NoFocus);
    connect(CameraSpeedButton, &QToolButton::clicked, this, [this] { OpenCameraForm(); });

    GMPArea = new TGMP(panel);
    GMPArea->setGeometry(kViewLeft, kViewTop, kDesignViewWidth, kDesignViewHeight);
    GMPArea->setFocusPolicy(Qt::NoFocus);
    GMPArea->SetLightStrength(kViewLightStrength);
    GMPArea->SetBackColor(0);
    GMPArea->SetEnableBackgroundBitmap(true);
    GMPArea->SetRenderMode(TRenderMode::rmWireframe);
    GMPArea->BeforeFlip = [this](QPainter& canvas) { GoShowData(canvas); };
}

void TZorvaAnimationForm::CheckPosition(int position) {
    state_.SetAnimationInterval(SpeedInterval(position));
}

std::vector<TDrawEntry> TZorvaAnimationForm::BuildDrawList() {
    return scene_.BuildDrawList(GMPArea->Renderer(), redrawAll_);
}

void TZorvaAnimationForm::Refresh() {
    scene_.DrawFrame(GMPArea->Renderer(), SimTime(), redrawAll_);
    redrawAll_ = false;
}

void TZorvaAnimationForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The view keeps its focal length and centres the camera in whatever
    // size it gets, so the picture keeps its proportions and shows more or
    // less around the same middle. Its surfaces are made anew at the size.
    GMPArea->setGeometry(kViewLeft, kViewTop, width() - kViewLeft, std::max(height() - kViewTop, 1));
    redrawAll_ = true;
    if (isVisible()) Refresh();
}

void TZorvaAnimationForm::GoShowData(QPainter& canvas) {
    DrawAnimationCaption(canvas, state_.AnimationCaption);
}

void DrawAnimationCaption(QPainter& canvas, const std::string& caption) {
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    font.setItalic(true);
    canvas.setFont(font);
    canvas.setPen(Qt::white);
    canvas.setBackgroundMode(Qt::TransparentMode);
    const QRect area(10, 10, canvas.device()->width(), canvas.device()->height());
    canvas.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(caption));
}

void TZorvaAnimationForm::SetCameraPosition(float x, float y, float z) {
    TGMPRenderer& renderer = GMPArea->Renderer();
    renderer.CameraPosition = {x, y, z};
    renderer.EyePosition = {x, y, z};
    redrawAll_ = true;
}

TVector3 TZorvaAnimationForm::GetCameraPosition() const {
    return GMPArea->Renderer().CameraPosition;
}

void TZorvaAnimationForm::SetCameraAngles(float a, float b, float c) {
    TGMPRenderer& renderer = GMPArea->Renderer();
    anglesDegrees_ = {a, b, c};
    renderer.CameraAngles = {a / kDegreesPerRadian, b / kDegreesPerRadian, c / kDegreesPerRadian};
    renderer.UpdateCameraAngles();
    redrawAll_ = true;
}

std::array<float, 3> TZorvaAnimationForm::GetCameraAngles() const {
    return anglesDegrees_;
}

void TZorvaAnimationForm::SetCameraPose(const TCameraPose& pose) {
    SetCameraPosition(pose.Position.X, pose.Position.Y, pose.Position.Z);
    SetCameraAngles(pose.AnglesDegrees[0], pose.AnglesDegrees[1], pose.AnglesDegrees[2]);
}

void TZorvaAnimationForm::ProcessPendingEvents() {
    if (host_.ProcessPendingEvents) {
        host_.ProcessPendingEvents();
    } else {
        QCoreApplication::processEvents();
    }
}

void TZorvaAnimationForm::MoveCamera(TCameraKey key, TCameraModifiers modifiers, float step) {
    key_ = key;
    modifiers_ = modifiers;
    moving_ = true;
    const QPointer<TZorvaAnimationForm> alive(this);
    while (keyHeld_) {
        // key_ and modifiers_ are read afresh: a press during the dispatch
        // below changes them instead of starting a loop of its own.
        TCameraPose pose{GetCameraPosition(), GetCameraAngles()};
        switch (StepCamera(pose, key_, modifiers_, step)) {
            case TCameraChange::Position:
                SetCameraPosition(pose.Position.X, pose.Position.Y, pose.Position.Z);
                break;
            case TCameraChange::Angles:
                SetCameraAngles(pose.AnglesDegrees[0], pose.AnglesDegrees[1], pose.AnglesDegrees[2]);
                break;
            case TCameraChange::None:
                break;
        }
        Refresh();
        ProcessPendingEvents();
        if (!alive) return;
    }
    moving_ = false;
}

void TZorvaAnimationForm::CheckCameraMovement(int key, Qt::KeyboardModifiers modifiers) {
    keyHeld_ = true;
    const std::optional<TCameraKey> camera_key = CameraKeyOf(key);
    if (!camera_key) return;
    key_ = *camera_key;
    modifiers_ = {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
                  modifiers.testFlag(Qt::AltModifier)};
    TrackBar1->setEnabled(false);
    if (moving_) return;
    MoveCamera(key_, modifiers_, kCameraStep);
}

void TZorvaAnimationForm::CheckCameraMovementEnd() {
    if (!keyHeld_) return;
    keyHeld_ = false;
    TrackBar1->setEnabled(true);
}

void TZorvaAnimationForm::keyPressEvent(QKeyEvent* event) {
    // Held keys repeat; the loop already steps once per pass, so a repeat adds
    // nothing.
    if (!event->isAutoRepeat()) CheckCameraMovement(event->key(), event->modifiers());
    event->accept();
}

void TZorvaAnimationForm::keyReleaseEvent(QKeyEvent* event) {
    // Repeats come as press and release pairs while the key is still down.
    if (!event->isAutoRepeat()) CheckCameraMovementEnd();
    event->accept();
}

void TZorvaAnimationForm::focusOutEvent(QFocusEvent* event) {
    // The release will go to another window; without this the camera would
    // never stop.
    CheckCameraMovementEnd();
    QWidget::focusOutEvent(event);
}

void TZorvaAnimationForm::hideEvent(QHideEvent* event) {
    CheckCameraMovementEnd();
    QWidget::hideEvent(event);
}

void TZorvaAnimationForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

void TZorvaAnimationForm::closeEvent(QCloseEvent* event) {
    // Only the Animation setting hides this window; the user cannot close it.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

TCameraForm* TZorvaAnimationForm::OpenCameraForm() {
    if (host_.InterruptSimulation) host_.InterruptSimulation();
    const QString file_name =
        QString::fromStdString(CameraFileToUse(QCoreApplication::applicationFilePath().toStdString()));
    auto* form = new TCameraForm(host_, file_name,
                                 {[this] { return CameraPose(); },
                                  [this](const TCameraPose& pose) {
                                      SetCameraPose(pose);
                                      Refresh();
                                  }});
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    form->raise();
    form->activateWindow();
    form->ReportLoadProblems();
    return form;
}

}  // namespace zorva
