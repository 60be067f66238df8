#include "kernel/queue_registry.h"

#include "kernel/queue.h"

namespace zorva {
namespace {

struct Registry {
    TQueueLink Sentinel;
    std::int32_t Count = 0;
};

Registry& TheRegistry() {
    static auto* registry = new Registry;
    return *registry;
}

}  // namespace

const TQueueLink& QueueRegistry() {
    return TheRegistry().Sentinel;
}

std::vector<ZorvaQueue*> RegisteredQueues() {
    std::vector<ZorvaQueue*> queues;
    const TQueueLink* sentinel = &TheRegistry().Sentinel;
    for (const TQueueLink* link = sentinel->Next; link != sentinel; link = link->Next) queues.push_back(link->Queue);
    return queues;
}

std::int32_t QueueCount() {
    return TheRegistry().Count;
}

TQueueLink* RegisterQueue(ZorvaQueue* queue) {
    Registry& r = TheRegistry();
    auto* link = new TQueueLink;
    link->Queue = queue;
    link->Next = &r.Sentinel;
    link->Prev = r.Sentinel.Prev;
    link->Prev->Next = link;
    r.Sentinel.Prev = link;
    ++r.Count;
    return link;
}

void UnregisterQueue(TQueueLink* link) {
    link->Prev->Next = link->Next;
    link->Next->Prev = link->Prev;
    delete link;
    --TheRegistry().Count;
}

void ResetQueueRegistry() {
    Registry& r = TheRegistry();
    while (r.Sentinel.Next != &r.Sentinel) {
        TQueueLink* link = r.Sentinel.Next;
        link->Queue->Link = nullptr;
        UnregisterQueue(link);
    }
    r.Count = 0;
}

}  // namespace zorva
