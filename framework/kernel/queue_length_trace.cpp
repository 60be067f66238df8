#include "kernel/queue_length_trace.h"

#include <algorithm>

#include "engine/engine.h"
#include "kernel/queue.h"
#include "kernel/queue_registry.h"

namespace zorva {
namespace {

bool recording = false;

}  // namespace

void TQueueLengthTrace::Record(double time, std::uint16_t length) {
    ++version_;
    if (!points_.empty() && points_.back().Time == time) {
        points_.back().Length = length;
        return;
    }
    if (points_.size() == kPointBudget) Halve();
    if (points_.capacity() < kPointBudget) points_.reserve(kPointBudget);
    points_.push_back({time, length});
}

void TQueueLengthTrace::Halve() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i + 1 < points_.size(); i += 2)
        points_[kept++] = {points_[i].Time, std::max(points_[i].Length, points_[i + 1].Length)};
    points_.resize(kept);
}

void TQueueLengthTrace::Clear() {
    points_.clear();
    ++version_;
}

void RecordQueueLengths(bool on) {
    if (on && !recording)
        for (ZorvaQueue* queue : RegisteredQueues()) queue->LengthTrace.Record(SimTime(), queue->Length);
    recording = on;
}

bool QueueLengthsRecorded() {
    return recording;
}

}  // namespace zorva
