#pragma once

// The program's one animation window together with the scene it shows and
// the state the main window reads. The main window owns one of these and
//  - calls ApplyAnimationSetting when the Animation setting is accepted
//    (after writing "Animation: On" or "Animation: Off" into its header);
//  - calls RedrawWhenDue from its display callback while the run is Running,
//    with the clock and the clock's TimeString;
//  - calls TakeDueSnapshots from every display callback;
// model code adds its meshes through Scene() at any time.

#include <QTimer>
#include <memory>
#include <optional>
#include <string_view>

#include "animation/animation_host.h"
#include "animation/animation_scene.h"
#include "animation/animation_state.h"
#include "animation/camera_keys.h"
#include "animation/frame_pacing.h"
#include "animation/snapshots.h"
#include "animation/zorva_animation_form.h"

namespace zorva {

class TAnimationWindows {
public:
    explicit TAnimationWindows(AnimationHost host);
    ~TAnimationWindows();
    TAnimationWindows(const TAnimationWindows&) = delete;
    TAnimationWindows& operator=(const TAnimationWindows&) = delete;

    // On: creates the window the first time (placing it beside the main
    // window), then shows it and brings it to the front, which redraws it.
    // Off: hides it, if it exists.
    void ApplyAnimationSetting(bool animation_on);

    // Redraws the visible window when the clock has moved on by more than the
    // speed bar's interval since the last redraw; returns whether it did.
    // A redraw the pacer holds back is owed: it comes as soon as the pacer
    // allows, from the window system's event processing, showing the model
    // as it is then.
    bool RedrawWhenDue(double sim_time, std::string_view time_string);

    // The camera for the window, now or once it is made, and for snapshots.
    void SetCamera(const TCameraPose& pose);
    TSnapshots& Snapshots() { return snapshots_; }
    // Takes the snapshots whose time the clock has reached.
    void TakeDueSnapshots(double clock);

    TAnimationScene& Scene() { return scene_; }
    TFramePacer& Pacer() { return pacer_; }
    TAnimationState& State() { return state_; }
    AnimationHost& Host() { return host_; }
    // Null until the Animation setting is first switched on.
    TZorvaAnimationForm* Form() { return form_.get(); }

private:
    void Place();
    void Redraw(double sim_time, std::string_view time_string);
    void DrawOwedFrame();

    AnimationHost host_;
    TAnimationScene scene_;
    TAnimationState state_;
    TFramePacer pacer_;
    QTimer owedFrame_;
    std::optional<TCameraPose> camera_;
    TSnapshots snapshots_;
    std::unique_ptr<TZorvaAnimationForm> form_;
};

}  // namespace zorva
