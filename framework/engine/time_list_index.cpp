#include "engine/time_list_index.h"

#include <cstring>

#include "engine/event_notice.h"
#include "engine/fatal_error.h"

namespace zorva {
namespace {

// How many of the n leading values, ascending, lie before t: those < t, or
// with kWithEqual those <= t (std::lower_bound and std::upper_bound). In a
// hold model every comparison goes either way at random, so the search
// selects instead of branching: a mispredicted branch per step cost more than
// the rest of the search.
template <bool kWithEqual, class Value, class TimeOf>
std::size_t CountBefore(const Value* first, std::size_t n, double t, TimeOf timeOf) {
    if (n == 0) return 0;
    const Value* base = first;
    while (n > 1) {
        const std::size_t half = n / 2;
        const double v = timeOf(base[half]);
        base = (kWithEqual ? v <= t : v < t) ? base + half : base;
        n -= half;
    }
    const double v = timeOf(*base);
    return static_cast<std::size_t>(base - first) + static_cast<std::size_t>(kWithEqual ? v <= t : v < t);
}

constexpr auto kTimeOfEntry = [](const auto& entry) { return entry.Time; };
constexpr auto kTimeOfValue = [](double time) { return time; };

}  // namespace

TimeListIndex::TimeListIndex() = default;
TimeListIndex::~TimeListIndex() {
    Clear();
}

EventNotice* TimeListIndex::EntryAfter(std::size_t block, std::size_t slot) const {
    const Block& b = *blocks_[block];
    if (slot + 1 < b.Count) return b.First()[slot + 1].Notice;
    return block + 1 < blocks_.size() ? blocks_[block + 1]->First()->Notice : nullptr;
}

EventNotice* TimeListIndex::Insert(EventNotice* notice) {
    const double t = notice->Time;
    // The first block whose last time is > t.
    std::size_t block = CountBefore<true>(lastTimes_.data(), lastTimes_.size(), t, kTimeOfValue);
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
        slot = CountBefore<true>(b.First(), b.Count, t, kTimeOfEntry);
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
    // A block that is not full has room on at least one side.
    if (b.Begin > 0 && (slot < b.Count / 2 || b.Begin + b.Count == kBlock)) {
        std::memmove(b.First() - 1, b.First(), slot * sizeof(Entry));
        --b.Begin;
    } else {
        Entry* at = b.First() + slot;
        std::memmove(at + 1, at, (b.Count - slot) * sizeof(Entry));
    }
    b.First()[slot] = Entry{notice->Time, notice};
    ++b.Count;
    lastTimes_[block] = b.LastTime();
    ++size_;
}

void TimeListIndex::SplitBlock(std::size_t block) {
    Block& full = *blocks_[block];
    auto* upper = new Block;
    constexpr std::size_t half = kBlock / 2;
    upper->Count = kBlock - half;
    std::memcpy(upper->Entries, full.First() + half, upper->Count * sizeof(Entry));
    full.Count = half;
    lastTimes_[block] = full.LastTime();
    lastTimes_.insert(lastTimes_.begin() + static_cast<std::ptrdiff_t>(block) + 1, upper->LastTime());
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, upper);
}

void TimeListIndex::Erase(const EventNotice* notice) {
    // The earliest notice is the one a resumption takes out: no search.
    if (!blocks_.empty() && blocks_[0]->First()->Notice == notice) {
        RemoveAt(0, 0);
        return;
    }
    // Equal times may run over several blocks: search from the first block
    // that can hold the time until the notice itself turns up.
    const double t = notice->Time;
    for (std::size_t block = CountBefore<false>(lastTimes_.data(), lastTimes_.size(), t, kTimeOfValue);
         block < blocks_.size(); ++block) {
        const Block& b = *blocks_[block];
        for (std::size_t slot = CountBefore<false>(b.First(), b.Count, t, kTimeOfEntry); slot < b.Count; ++slot) {
            if (b.First()[slot].Notice == notice) {
                RemoveAt(block, slot);
                return;
            }
        }
    }
    FatalError("Error(TimeList): a notice is missing from the time list's index");
}

void TimeListIndex::RemoveAt(std::size_t block, std::size_t slot) {
    Block& b = *blocks_[block];
    if (slot < b.Count / 2) {
        std::memmove(b.First() + 1, b.First(), slot * sizeof(Entry));
        ++b.Begin;
    } else {
        Entry* at = b.First() + slot;
        std::memmove(at, at + 1, (b.Count - slot - 1) * sizeof(Entry));
    }
    --b.Count;
    --size_;
    if (b.Count > 0) {
        lastTimes_[block] = b.LastTime();
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
