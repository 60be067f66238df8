#pragma once
/// \file
/// The user queues in creation order, for the queue window, and their count for
/// the status bar. The kernel's own queues are neither listed nor counted.

#include <cstdint>
#include <vector>

namespace zorva {

class ZorvaQueue;

struct TQueueLink {
    ZorvaQueue* Queue = nullptr;  // nil in the sentinel
    TQueueLink* Next = this;
    TQueueLink* Prev = this;
};

/// The sentinel: walking forwards from it visits the queues oldest first.
const TQueueLink& QueueRegistry();
std::vector<ZorvaQueue*> RegisteredQueues();
std::int32_t QueueCount();

/// Inserts a link for queue before the sentinel and counts it.
TQueueLink* RegisterQueue(ZorvaQueue* queue);
/// Unlinks and frees link, and counts the queue out.
void UnregisterQueue(TQueueLink* link);
/// Forgets every queue still registered (the queues themselves live on,
/// unregistered) and sets the count to 0.
void ResetQueueRegistry();

}  // namespace zorva
