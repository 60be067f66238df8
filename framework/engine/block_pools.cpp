#include "engine/block_pools.h"

#include <cstdlib>
#include <string>

#include "engine/fatal_error.h"

namespace zorva {
namespace block_pools {

SegmentPool segmentPool;
NoticePool noticePool;

void SegmentPool::Flush() {
    for (FreeBlock*& head : heads_) {
        while (head) std::free(std::exchange(head, head->Next));
    }
    cachedBytes_ = 0;
}

void NoticePool::Flush() {
    while (head_) std::free(std::exchange(head_, head_->Next));
    count_ = 0;
}

void* AllocateFromHeap(std::size_t bytes, const char* what) {
    void* block = std::malloc(bytes);
    if (!block) FatalError(std::string("Error(Suspend): out of memory for ") + what);
    return block;
}

void ReturnToHeap(void* block) {
    std::free(block);
}

void SegmentTooLong() {
    FatalError("Error(Suspend): a process stack of more than 4 GiB cannot be saved");
}

}  // namespace block_pools

void FlushBlockPools() {
    block_pools::segmentPool.Flush();
    block_pools::noticePool.Flush();
}

}  // namespace zorva
