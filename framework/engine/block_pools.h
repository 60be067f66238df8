#pragma once
/// \file
/// Recycling of the two heap blocks every suspension costs: the saved stack
/// segment and the event notice. A run suspends and resumes at the same few
/// stack depths over and over, so a freed block is nearly always the right
/// size for the next request; keeping it saves a malloc/free pair per switch.
/// Taking a kept block and keeping a freed one are inline: they are four calls
/// of every hold, and each is a few instructions.
///
/// Under AddressSanitizer every block goes straight to malloc and free, so
/// that use after free is still caught.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#include "engine/sanitizer_support.h"

namespace zorva {

/// Segment blocks: a 32-bit length n followed by n bytes; capacity rounded up
/// to 64-byte size classes.
inline void* AllocateSegmentBlock(std::size_t length);
inline void ReleaseSegmentBlock(void* block);

/// Fixed-size blocks for event notices.
inline void* AllocateNoticeBlock(std::size_t size);
inline void ReleaseNoticeBlock(void* block);

/// Returns every cached block to the heap (program end, tests).
void FlushBlockPools();

namespace block_pools {

#ifdef ZORVA_ASAN
inline constexpr bool kPooling = false;
#else
inline constexpr bool kPooling = true;
#endif

// malloc and free, out of line; a failed allocation is a fatal error that
// names what the block was for.
void* AllocateFromHeap(std::size_t bytes, const char* what);
void ReturnToHeap(void* block);
[[noreturn]] void SegmentTooLong();

// A free block holds the link to the next free block in its first bytes.
struct FreeBlock {
    FreeBlock* Next;
};

class SegmentPool {
public:
    static constexpr std::size_t kStep = 64;
    static constexpr std::size_t kClasses = 8192 / kStep;     // blocks up to 8 KiB are recycled
    static constexpr std::size_t kMaxCachedBytes = 8u << 20;  // never hoard more than this

    void* Allocate(std::size_t bytes) {
        const std::size_t sizeClass = ClassOf(bytes);
        if (sizeClass < kClasses && heads_[sizeClass]) [[likely]] {
            FreeBlock* block = heads_[sizeClass];
            heads_[sizeClass] = block->Next;
            cachedBytes_ -= sizeClass * kStep;
            return block;
        }
        return AllocateFromHeap(sizeClass < kClasses ? sizeClass * kStep : bytes, "a saved process stack");
    }

    void Release(void* block, std::size_t bytes) {
        const std::size_t sizeClass = ClassOf(bytes);
        if (sizeClass >= kClasses || cachedBytes_ + sizeClass * kStep > kMaxCachedBytes) [[unlikely]] {
            ReturnToHeap(block);
            return;
        }
        auto* free = static_cast<FreeBlock*>(block);
        free->Next = heads_[sizeClass];
        heads_[sizeClass] = free;
        cachedBytes_ += sizeClass * kStep;
    }

    void Flush();

private:
    static std::size_t ClassOf(std::size_t bytes) { return (bytes + kStep - 1) / kStep; }

    std::array<FreeBlock*, kClasses> heads_{};
    std::size_t cachedBytes_ = 0;

public:
    constexpr SegmentPool() = default;
};

class NoticePool {
public:
    static constexpr std::size_t kMaxCached = 1 << 16;

    void* Allocate(std::size_t size) {
        if (head_ && size <= blockSize_) [[likely]] {
            --count_;
            return std::exchange(head_, head_->Next);
        }
        blockSize_ = size;
        return AllocateFromHeap(size, "an event notice");
    }

    void Release(void* block) {
        if (count_ >= kMaxCached) [[unlikely]] {
            ReturnToHeap(block);
            return;
        }
        auto* free = static_cast<FreeBlock*>(block);
        free->Next = head_;
        head_ = free;
        ++count_;
    }

    void Flush();

private:
    FreeBlock* head_ = nullptr;
    std::size_t blockSize_ = 0;
    std::size_t count_ = 0;
};

// Plain globals with constant initialisation: no guard on the hot path, and
// usable from any static initialiser. They never free anything on their own.
extern SegmentPool segmentPool;
extern NoticePool noticePool;

inline std::uint32_t LengthOf(const void* block) {
    std::uint32_t n = 0;
    std::memcpy(&n, block, sizeof n);
    return n;
}

}  // namespace block_pools

inline void* AllocateSegmentBlock(std::size_t length) {
    if (length > std::numeric_limits<std::uint32_t>::max()) [[unlikely]]
        block_pools::SegmentTooLong();
    const std::size_t bytes = sizeof(std::uint32_t) + length;
    void* block = block_pools::kPooling ? block_pools::segmentPool.Allocate(bytes)
                                        : block_pools::AllocateFromHeap(bytes, "a saved process stack");
    const auto n = static_cast<std::uint32_t>(length);
    std::memcpy(block, &n, sizeof n);
    return block;
}

inline void ReleaseSegmentBlock(void* block) {
    if (!block) return;
    if (block_pools::kPooling)
        block_pools::segmentPool.Release(block, sizeof(std::uint32_t) + block_pools::LengthOf(block));
    else
        block_pools::ReturnToHeap(block);
}

inline void* AllocateNoticeBlock(std::size_t size) {
    return block_pools::kPooling ? block_pools::noticePool.Allocate(size)
                                 : block_pools::AllocateFromHeap(size, "an event notice");
}

inline void ReleaseNoticeBlock(void* block) {
    if (!block) return;
    if (block_pools::kPooling)
        block_pools::noticePool.Release(block);
    else
        block_pools::ReturnToHeap(block);
}

}  // namespace zorva
