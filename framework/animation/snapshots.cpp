#include "animation/snapshots.h"

#include <QImage>
#include <QImageWriter>
#include <algorithm>

#include "animation/animation_scene.h"
#include "animation/dib16_draw.h"
#include "animation/view_defaults.h"
#include "animation/zorva_animation_form.h"
#include "wire/number_text.h"

namespace zorva {

TSnapshots::TSnapshots() = default;
TSnapshots::~TSnapshots() = default;

void TSnapshots::Add(const TSnapshotRequest& request) {
    const auto later = std::upper_bound(requests_.begin(), requests_.end(), request.Time,
                                        [](double time, const TSnapshotRequest& r) { return time < r.Time; });
    requests_.insert(later, request);
}

void TSnapshots::TakeDue(double clock, TAnimationScene& scene, const std::function<void(TGMPRenderer&)>& aim) {
    while (!requests_.empty() && requests_.front().Time <= clock) {
        const TSnapshotRequest request = requests_.front();
        requests_.erase(requests_.begin());
        if (!renderer_) {
            renderer_ = std::make_unique<TGMPRenderer>();
            renderer_->Resize(kDesignViewWidth, kDesignViewHeight);
            SetUpView(*renderer_);
        }
        if (aim) aim(*renderer_);
        const std::string caption = FormatFixed(request.Time) + " ";
        renderer_->BeforeFlip = [&caption](TDIB16bit& surface) {
            TSurfaceCanvas canvas(surface);
            if (canvas.Painter().isActive()) DrawAnimationCaption(canvas.Painter(), caption);
        };
        QImage frame;
        renderer_->OnFlip = [&frame](const TDIB16bit& surface) { frame = FrameImage(surface); };
        scene.DrawFrame(*renderer_, request.Time, true);
        renderer_->BeforeFlip = nullptr;
        renderer_->OnFlip = nullptr;
        QImageWriter writer(QString::fromStdString(request.File), "png");
        if (frame.isNull() || !writer.write(frame)) {
            failures_.push_back("cannot write the frame at " + FormatFixed(request.Time) + " to " + request.File +
                                ": " + writer.errorString().toStdString());
        }
    }
}

std::vector<std::string> TSnapshots::Problems(double end_clock) const {
    std::vector<std::string> problems = failures_;
    for (const TSnapshotRequest& request : requests_) {
        problems.push_back("no frame at " + FormatFixed(request.Time) + " for " + request.File + ": the run ended at " +
                           FormatFixed(end_clock));
    }
    return problems;
}

}  // namespace zorva
