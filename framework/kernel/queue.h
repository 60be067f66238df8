#pragma once
/// \file
/// A queue of elements that measures itself: its length over time and the
/// waiting times of the elements that leave it. The queue owns its membership
/// nodes, never its elements; an element may be in many queues, or in one
/// queue more than once.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "kernel/queue_length_trace.h"
#include "kernel/queue_node.h"

namespace zorva {

struct TQueueLink;

/// Whether inserted goes before member when a queue is kept sorted.
using SortPredicate = std::function<bool(ZorvaElement* inserted, ZorvaElement* member)>;

/// Marks the kernel's own queues, which are kept out of the registry and count.
struct KernelQueueTag {
    explicit KernelQueueTag() = default;
};

class ZorvaQueue {
public:
    /// Length is a 16-bit count; one more member is a fatal error, never a wrap.
    static constexpr std::uint16_t MaxMembers = 65535;

    explicit ZorvaQueue(std::string name);
    ZorvaQueue(std::string name, KernelQueueTag);
    ZorvaQueue(const ZorvaQueue&) = delete;
    ZorvaQueue& operator=(const ZorvaQueue&) = delete;
    /// Frees the memberships quietly: no statistics, no trace lines.
    virtual ~ZorvaQueue();

    /// Entering and leaving are virtual so that a derived queue can give them
    /// another meaning; the element's forwarders call these.
    virtual void AddToTail(ZorvaElement& element);
    virtual void AddToHead(ZorvaElement& element);
    /// Before the first member for which predicate(element, member) holds, so
    /// equal members stay in order of arrival.
    virtual void AddSorted(ZorvaElement& element, const SortPredicate& predicate);
    /// Takes out the element's oldest membership of this queue.
    virtual void Remove(ZorvaElement& element);

    void AddBefore(ZorvaElement& element, ZorvaElement& comp);
    void AddAfter(ZorvaElement& element, ZorvaElement& comp);

    ZorvaElement* FirstElement() const;
    ZorvaElement* LastElement() const;
    ZorvaElement* Successor(const ZorvaElement& element) const;
    ZorvaElement* Predecessor(const ZorvaElement& element) const;
    bool Contains(const ZorvaElement* element) const;

    void ResetStatistics();
    /// A new registered queue "Copy_" + Name holding the same members in the
    /// same order; the members stay here too.
    std::unique_ptr<ZorvaQueue> Copy() const;
    void Clear();
    std::unique_ptr<ZorvaQueue> Move();

    TNode Head;
    TQueueLink* Link = nullptr;
    /// The statistics below are kept as elements enter and leave, since
    /// StatisticsStart (ResetStatistics starts them anew); the queue table
    /// and the run's report show them.
    const std::string Name;
    std::uint16_t Length = 0;
    double StatisticsStart = 0.0;
    double LastChange = 0.0;
    double AvgLength = 0.0;
    std::int32_t MinLength = 0;
    std::int32_t MaxLength = 0;
    double AvgWaitingTime = 0.0;
    double MinWaitingTime = 0.0;
    double MaxWaitingTime = 0.0;
    std::int64_t Direct = 0;
    std::int64_t TotalPassed = 0;
    /// Filled only while QueueLengthsRecorded(), and only for user queues.
    TQueueLengthTrace LengthTrace;

protected:
    void UpdateLengthStatistics();

private:
    void Add(ZorvaElement& element, TNode* position, const char* operation, const std::string& event);
    /// The element's oldest membership of this queue, found through the
    /// element's own memberships so the cost does not grow with the queue.
    TNode* FindNode(const ZorvaElement& element) const;
    TNode* NodeOfMember(const ZorvaElement& comp, const char* operation, const char* role) const;
    bool IsClaimers() const;
    void ShowQueueCount() const;
    void RecordLength();
};

}  // namespace zorva
