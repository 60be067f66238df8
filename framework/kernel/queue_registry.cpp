#include "kernel/queue_registry.h"

#include "kernel/queue.h"

namespace zorva {
namespace {

struct Registry {
    TQueueLink sentinel;
    std::int32_t count = 0;
};

Registry& TheRegistry() {
    static auto* registry = new Registry;
    return *registry;
}

}  // namespace

const TQueueLink& QueueRegistry() {
    return TheRegistry().sentinel;
}

std::vector<ZorvaQueue*> RegisteredQueues() {
    std::vector<ZorvaQueue*> queues;
    const TQueueLink* sentinel = &TheRegistry().sentinel;
    for (const TQueueLink* link = sentinel->Next; link != sentinel; link = link->Next) queues.push_back(link->Queue);
    return queues;
}

std::int32_t QueueCount() {
    return TheRegistry().count;
}

TQueueLink* RegisterQueue(ZorvaQueue* queue) {
    Registry& r = TheRegistry();
    auto* link = new TQueueLink;
    link->Queue = queue;
    link->Next = &r.sentinel;
    link->Prev = r.sentinel.Prev;
    link->Prev->Next = link;
    r.sentinel.Prev = link;
    ++r.count;
    return link;
}

void UnregisterQueue(TQueueLink* link) {
    link->Prev->Next = link->Next;
    link->Next->Prev = link->Prev;
    delete link;
    --TheRegistry().count;
}

void ResetQueueRegistry() {
    Registry& r = TheRegistry();
    while (r.sentinel.Next != &r.sentinel) {
        TQueueLink* link = r.sentinel.Next;
        link->Queue->Link = nullptr;
        UnregisterQueue(link);
    }
    r.count = 0;
}

}  // namespace zorva
