#include "engine/block_pools.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "engine/fatal_error.h"
#include "engine/sanitizer_support.h"

namespace zorva {
namespace {

#ifdef ZORVA_ASAN
constexpr bool kPooling = false;
#else
constexpr bool kPooling = true;
#endif

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
        if (sizeClass < kClasses && heads_[sizeClass]) {
            FreeBlock* block = heads_[sizeClass];
            heads_[sizeClass] = block->Next;
            cachedBytes_ -= sizeClass * kStep;
            return block;
        }
        return std::malloc(sizeClass < kClasses ? sizeClass * kStep : bytes);
    }

    void Release(void* block, std::size_t bytes) {
        const std::size_t sizeClass = ClassOf(bytes);
        if (sizeClass >= kClasses || cachedBytes_ + sizeClass * kStep > kMaxCachedBytes) {
            std::free(block);
            return;
        }
        auto* free = static_cast<FreeBlock*>(block);
        free->Next = heads_[sizeClass];
        heads_[sizeClass] = free;
        cachedBytes_ += sizeClass * kStep;
    }

    void Flush() {
        for (FreeBlock*& head : heads_) {
            while (head) std::free(std::exchange(head, head->Next));
        }
        cachedBytes_ = 0;
    }

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
        if (head_ && size <= blockSize_) {
            --count_;
            return std::exchange(head_, head_->Next);
        }
        blockSize_ = size;
        return std::malloc(size);
    }

    void Release(void* block) {
        if (count_ >= kMaxCached) {
            std::free(block);
            return;
        }
        auto* free = static_cast<FreeBlock*>(block);
        free->Next = head_;
        head_ = free;
        ++count_;
    }

    void Flush() {
        while (head_) std::free(std::exchange(head_, head_->Next));
        count_ = 0;
    }

private:
    FreeBlock* head_ = nullptr;
    std::size_t blockSize_ = 0;
    std::size_t count_ = 0;
};

// Plain globals with constant initialisation: no guard on the hot path, and
// usable from any static initialiser. They never free anything on their own.
SegmentPool segmentPool;
NoticePool noticePool;

SegmentPool& Segments() {
    return segmentPool;
}
NoticePool& Notices() {
    return noticePool;
}

std::uint32_t LengthOf(const void* block) {
    std::uint32_t n = 0;
    std::memcpy(&n, block, sizeof n);
    return n;
}

[[noreturn]] void OutOfMemory(const char* what) {
    FatalError(std::string("Error(Suspend): out of memory for ") + what);
}

}  // namespace

void* AllocateSegmentBlock(std::size_t length) {
    if (length > std::numeric_limits<std::uint32_t>::max())
        FatalError("Error(Suspend): a process stack of more than 4 GiB cannot be saved");
    const std::size_t bytes = sizeof(std::uint32_t) + length;
    void* block = kPooling ? Segments().Allocate(bytes) : std::malloc(bytes);
    if (!block) OutOfMemory("a saved process stack");
    const auto n = static_cast<std::uint32_t>(length);
    std::memcpy(block, &n, sizeof n);
    return block;
}

void ReleaseSegmentBlock(void* block) {
    if (!block) return;
    if (kPooling)
        Segments().Release(block, sizeof(std::uint32_t) + LengthOf(block));
    else
        std::free(block);
}

void* AllocateNoticeBlock(std::size_t size) {
    void* block = kPooling ? Notices().Allocate(size) : std::malloc(size);
    if (!block) OutOfMemory("an event notice");
    return block;
}

void ReleaseNoticeBlock(void* block) {
    if (!block) return;
    if (kPooling)
        Notices().Release(block);
    else
        std::free(block);
}

void FlushBlockPools() {
    Segments().Flush();
    Notices().Flush();
}

}  // namespace zorva
