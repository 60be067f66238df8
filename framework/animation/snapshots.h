#pragma once

// Frames of the scene written to PNG files at chosen simulated times, for
// runs without a screen. Each frame is drawn apart from the animation window,
// at the view's design size, with the camera the window has (or would have)
// and the window's clock caption showing the frame's time.
//
// The frame for time T is taken at the first display call whose clock has
// reached T: every event before T has run then, and none at or after T.
// Holds are drawn as far as they have come at T. Taking it adds no event and
// changes nothing in the run.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorva {

class TAnimationScene;
class TGMPRenderer;

struct TSnapshotRequest {
    double Time = 0.0;
    std::string File;
};

class TSnapshots {
public:
    TSnapshots();
    ~TSnapshots();
    TSnapshots(const TSnapshots&) = delete;
    TSnapshots& operator=(const TSnapshots&) = delete;

    void Add(const TSnapshotRequest& request);
    bool Pending() const { return !requests_.empty(); }

    // Takes, in time order, every frame whose time the clock has reached;
    // `aim` sets the camera of the renderer they are drawn with.
    void TakeDue(double clock, TAnimationScene& scene, const std::function<void(TGMPRenderer&)>& aim);

    // One line for each file that could not be written and each frame whose
    // time the run, which ended at end_clock, never reached.
    std::vector<std::string> Problems(double end_clock) const;

private:
    std::vector<TSnapshotRequest> requests_;  // not taken yet, in time order
    std::vector<std::string> failures_;
    std::unique_ptr<TGMPRenderer> renderer_;
};

}  // namespace zorva
