#pragma once
/// \file
/// A queue's length over simulated time, for a live chart: one point per
/// change, the latest change at a time standing for every change at that
/// time. Memory is fixed: when the points fill their budget, each pair of
/// neighbours becomes one point that keeps the pair's first time and its
/// greater length, so the older part of a long run is drawn coarser but its
/// peaks stay visible. Recording costs a comparison and a store per change,
/// and nothing at all while no chart asks for it.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorva {

struct TLengthPoint {
    double Time;
    std::uint16_t Length;
};

class TQueueLengthTrace {
public:
    /// The most points a trace ever holds, however long the run.
    static constexpr std::size_t kPointBudget = 1024;

    void Record(double time, std::uint16_t length);
    const std::vector<TLengthPoint>& Points() const { return points_; }
    /// Changes with every recorded point: a chart redraws only when it moved.
    std::uint64_t Version() const { return version_; }
    void Clear();

private:
    void Halve();

    std::vector<TLengthPoint> points_;
    std::uint64_t version_ = 0;
};

/// Whether the user queues record their lengths (a chart is showing them).
/// Switching it on starts every registered queue's trace at its present
/// length.
void RecordQueueLengths(bool on);
bool QueueLengthsRecorded();

}  // namespace zorva
