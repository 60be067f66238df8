#pragma once
// Ordered index beside a long time list: where does a notice at time t go?
//
// The notices are kept in list order, cut into blocks of at most kBlock
// entries, each entry with its time stored inline. A search looks at the
// blocks' last times (one contiguous array), then inside one block: both steps
// stay in cache, where a balanced tree would chase a pointer per level.
// Equal times keep their list order, so the answer is exactly the place a
// walk along the list finds.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorva {

struct EventNotice;

class TimeListIndex {
public:
    TimeListIndex();
    ~TimeListIndex();
    TimeListIndex(const TimeListIndex&) = delete;
    TimeListIndex& operator=(const TimeListIndex&) = delete;

    // Enters notice (with its Time set) behind every entry with a time <= its
    // own; returns the entry it now precedes, nullptr when it is the last.
    EventNotice* Insert(EventNotice* notice);
    // Removes an entry that Insert or Build entered.
    void Erase(const EventNotice* notice);
    // Indexes the list from first up to (not including) end, in list order.
    void Build(EventNotice* first, const EventNotice* end);
    void Clear();
    std::size_t Size() const { return size_; }

private:
    static constexpr std::size_t kBlock = 32;
    struct Entry {
        double Time;
        EventNotice* Notice;
    };
    // A block's entries lie at Entries[Begin, Begin + Count), with room on
    // either side: taking out the first entry, which every resumption of the
    // earliest notice does, moves nothing, and an insertion moves whichever
    // side of it is shorter.
    struct Block {
        std::uint32_t Begin = 0;
        std::uint32_t Count = 0;
        Entry Entries[kBlock];

        Entry* First() { return Entries + Begin; }
        const Entry* First() const { return Entries + Begin; }
        double LastTime() const { return Entries[Begin + Count - 1].Time; }
    };

    void InsertAt(std::size_t block, std::size_t slot, EventNotice* notice);
    void SplitBlock(std::size_t block);
    void RemoveAt(std::size_t block, std::size_t slot);
    EventNotice* EntryAfter(std::size_t block, std::size_t slot) const;

    // Owned raw pointers: inserting or erasing a block moves plain pointers,
    // a memmove even in an unoptimised build.
    std::vector<Block*> blocks_;
    std::vector<double> lastTimes_;  // lastTimes_[b] == the time of block b's last entry
    std::size_t size_ = 0;
};

}  // namespace zorva
