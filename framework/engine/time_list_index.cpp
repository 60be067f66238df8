#include "engine/time_list_index.h"

#include <algorithm>
#include <cstring>

#include "engine/event_notice.h"
#include "engine/fatal_error.h"

namespace zorva {

TimeListIndex::TimeListIndex() = default;
TimeListIndex::~TimeListIndex() {
    Clear();
}

std::size_t TimeListIndex::BlockFor(double t, bool upperBound) const {
    const auto found = upperBound ? std::upper_bound(lastTimes_.begin(), lastTimes_.end(), t)
                                  : std::lower_bound(lastTimes_.begin(), lastTimes_.end(), t);
    return static_cast<std::size_t>(found - lastTimes_.begin());
}

EventNotice* TimeListIndex::EntryAfter(std::size_t block, std::size_t slot) const {
    if (slot + 1 < blocks_[block]->Count) return blocks_[block]->Notices[slot + 1];
    return block + 1 < blocks_.size() ? blocks_[block + 1]->Notices[0] : nullptr;
}

EventNotice* TimeListIndex::Insert(EventNotice* notice) {
    const double t = notice->Time;
    std::size_t block = BlockFor(t, true);
    std::size_t slot;
    if (block == blocks_.size()) {
        // Behind everything: at the end of the last block.
        if (blocks_.empty()) {
            blocks_.push_back(new Block);
            lastTimes_.push_back(t);
        }
        block = blocks_.size() - 1;
        slot = blocks_[block]->Count;
    } else {
        const Block& b = *blocks_[block];
        slot = static_cast<std::size_t>(std::upper_bound(b.Times, b.Times + b.Count, t) - b.Times);
    }
    if (blocks_[block]->Count == kBlock) {
        SplitBlock(block);
        if (slot > kBlock / 2) {
            slot -= kBlock / 2;
            ++block;
        }
    }
    InsertAt(block, slot, notice);
    return EntryAfter(block, slot);
}

void TimeListIndex::InsertAt(std::size_t block, std::size_t slot, EventNotice* notice) {
    Block& b = *blocks_[block];
    const std::size_t tail = b.Count - slot;
    std::memmove(b.Times + slot + 1, b.Times + slot, tail * sizeof(double));
    std::memmove(b.Notices + slot + 1, b.Notices + slot, tail * sizeof(EventNotice*));
    b.Times[slot] = notice->Time;
    b.Notices[slot] = notice;
    ++b.Count;
    lastTimes_[block] = b.Times[b.Count - 1];
    ++size_;
}

void TimeListIndex::SplitBlock(std::size_t block) {
    Block& full = *blocks_[block];
    auto* upper = new Block;
    constexpr std::size_t half = kBlock / 2;
    upper->Count = kBlock - half;
    std::memcpy(upper->Times, full.Times + half, upper->Count * sizeof(double));
    std::memcpy(upper->Notices, full.Notices + half, upper->Count * sizeof(EventNotice*));
    full.Count = half;
    lastTimes_[block] = full.Times[half - 1];
    lastTimes_.insert(lastTimes_.begin() + static_cast<std::ptrdiff_t>(block) + 1, upper->Times[upper->Count - 1]);
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, upper);
}

void TimeListIndex::Erase(const EventNotice* notice) {
    // Equal times may run over several blocks: search from the first block
    // that can hold the time until the notice itself turns up.
    for (std::size_t block = BlockFor(notice->Time, false); block < blocks_.size(); ++block) {
        const Block& b = *blocks_[block];
        const auto first = std::lower_bound(b.Times, b.Times + b.Count, notice->Time) - b.Times;
        for (auto slot = static_cast<std::size_t>(first); slot < b.Count; ++slot) {
            if (b.Notices[slot] == notice) {
                RemoveAt(block, slot);
                return;
            }
        }
    }
    FatalError("Error(TimeList): a notice is missing from the time list's index");
}

void TimeListIndex::RemoveAt(std::size_t block, std::size_t slot) {
    Block& b = *blocks_[block];
    const std::size_t tail = b.Count - slot - 1;
    std::memmove(b.Times + slot, b.Times + slot + 1, tail * sizeof(double));
    std::memmove(b.Notices + slot, b.Notices + slot + 1, tail * sizeof(EventNotice*));
    --b.Count;
    --size_;
    if (b.Count > 0) {
        lastTimes_[block] = b.Times[b.Count - 1];
        return;
    }
    delete blocks_[block];
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(block));
    lastTimes_.erase(lastTimes_.begin() + static_cast<std::ptrdiff_t>(block));
}

void TimeListIndex::Build(EventNotice* first, const EventNotice* end) {
    Clear();
    for (EventNotice* n = first; n != end; n = n->Next) {
        if (blocks_.empty() || blocks_.back()->Count == kBlock / 2 * 3 / 2) {
            blocks_.push_back(new Block);
            lastTimes_.push_back(n->Time);
        }
        InsertAt(blocks_.size() - 1, blocks_.back()->Count, n);
    }
}

void TimeListIndex::Clear() {
    for (Block* block : blocks_) delete block;
    blocks_.clear();
    lastTimes_.clear();
    size_ = 0;
}

}  // namespace zorva
