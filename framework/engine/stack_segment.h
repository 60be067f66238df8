#pragma once
/// \file
/// A suspended process's stack segment: one heap block holding a 32-bit length
/// n and then the n bytes that lay directly below StackBase. The segment always
/// ends at StackBase, so n alone says where it goes back to.
///
/// Exactly one owner at a time (an EventNotice or an element's
/// SavedStack): the class is move-only and frees the block when its owner ends.

#include <cstdint>
#include <utility>

#include "engine/block_pools.h"

namespace zorva {

class StackSegment {
public:
    StackSegment() = default;
    StackSegment(const StackSegment&) = delete;
    StackSegment& operator=(const StackSegment&) = delete;
    StackSegment(StackSegment&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    StackSegment& operator=(StackSegment&& other) noexcept {
        if (this != &other) {
            Free();
            block_ = std::exchange(other.block_, nullptr);
        }
        return *this;
    }
    ~StackSegment() { Free(); }

    /// Takes ownership of a block made by zorva_allocate_segment.
    static StackSegment Adopt(void* block) {
        StackSegment s;
        s.block_ = block;
        return s;
    }

    /// Gives up ownership, for the switch that copies the block back and frees it.
    void* Release() { return std::exchange(block_, nullptr); }

    explicit operator bool() const { return block_ != nullptr; }
    std::uint32_t Length() const;
    const unsigned char* Bytes() const;

private:
    void Free() {
        if (block_) ReleaseSegmentBlock(std::exchange(block_, nullptr));
    }
    void* block_ = nullptr;
};

}  // namespace zorva
