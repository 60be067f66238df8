#pragma once

// The animation window: a speed bar, the camera-positions button and the
// three-dimensional view of the scene, with the simulation clock in its top
// left corner. The arrow keys move the camera (Ctrl: up and down, Alt: turn,
// Shift: ten times as far) for as long as they are held.

#include <QSlider>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <string>

#include "animation/animation_host.h"
#include "animation/animation_scene.h"
#include "animation/animation_state.h"
#include "animation/camera_keys.h"
#include "animation/gmp_widget.h"

namespace zorva {

class TCameraForm;

// The clock in the top left corner of a frame, white on whatever lies there.
void DrawAnimationCaption(QPainter& canvas, const std::string& caption);

class TZorvaAnimationForm : public QWidget {
    Q_OBJECT

public:
    static constexpr float kCameraStep = 0.2f;

    // The scene, the state and the host outlive the window.
    TZorvaAnimationForm(TAnimationScene& scene, TAnimationState& state, AnimationHost& host, QWidget* parent = nullptr);

    // Draws a whole frame of the scene at the clock's time: the model's
    // updater, what changed prepared again, the caption, every mesh.
    void Refresh();
    std::vector<TDrawEntry> BuildDrawList();

    // Position in model units, angles in degrees about x, y and z.
    void SetCameraPosition(float x, float y, float z);
    TVector3 GetCameraPosition() const;
    void SetCameraAngles(float a, float b, float c);
    std::array<float, 3> GetCameraAngles() const;
    TCameraPose CameraPose() const { return {GetCameraPosition(), GetCameraAngles()}; }
    void SetCameraPose(const TCameraPose& pose);

    // Steps the camera until the key is released (see AnimationHost).
    void MoveCamera(TCameraKey key, TCameraModifiers modifiers, float step);
    void CheckCameraMovement(int key, Qt::KeyboardModifiers modifiers);
    void CheckCameraMovementEnd();
    bool KeyHeld() const { return keyHeld_; }
    bool RedrawAll() const { return redrawAll_; }

    // Interrupts the run and opens a new camera-positions window.
    TCameraForm* OpenCameraForm();

    QSlider* TrackBar1 = nullptr;
    QToolButton* CameraSpeedButton = nullptr;
    TGMP* GMPArea = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void CheckPosition(int position);
    void GoShowData(QPainter& canvas);
    void ProcessPendingEvents();

    TAnimationScene& scene_;
    TAnimationState& state_;
    AnimationHost& host_;
    // As set, so that reading them back gives exactly what was stored.
    std::array<float, 3> anglesDegrees_{0.0f, 0.0f, 0.0f};
    bool redrawAll_ = true;
    bool keyHeld_ = false;
    bool moving_ = false;
    TCameraKey key_ = TCameraKey::Left;
    TCameraModifiers modifiers_;
};

}  // namespace zorva
