#pragma once
/// \file
/// Recycling of the two heap blocks every suspension costs: the saved stack
/// segment and the event notice. A run suspends and resumes at the same few
/// stack depths over and over, so a freed block is nearly always the right
/// size for the next request; keeping it saves a malloc/free pair per switch.
///
/// Under AddressSanitizer every block goes straight to malloc and free, so
/// that use after free is still caught.

#include <cstddef>

namespace zorva {

/// Segment blocks: a 32-bit length n followed by n bytes; capacity rounded up
/// to 64-byte size classes.
void* AllocateSegmentBlock(std::size_t length);
void ReleaseSegmentBlock(void* block);

/// Fixed-size blocks for event notices.
void* AllocateNoticeBlock(std::size_t size);
void ReleaseNoticeBlock(void* block);

/// Returns every cached block to the heap (program end, tests).
void FlushBlockPools();

}  // namespace zorva
