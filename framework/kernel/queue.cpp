#include "kernel/queue.h"

#include <string>

#include "engine/element_status.h"
#include "engine/engine.h"
#include "engine/fatal_error.h"
#include "kernel/element.h"
#include "kernel/kernel_setup.h"
#include "kernel/queue_registry.h"
#include "kernel/trace.h"

namespace zorva {

ZorvaQueue::ZorvaQueue(std::string name) : ZorvaQueue(std::move(name), KernelQueueTag()) {
    Link = RegisterQueue(this);
    ShowQueueCount();
    RecordLength();
}

ZorvaQueue::ZorvaQueue(std::string name, KernelQueueTag) : Name(std::move(name)) {
    Head.MakeQueueHead();
    TraceLine(TimeString(), Name, "created");
    LastChange = SimTime();
    ResetStatistics();
}

ZorvaQueue::~ZorvaQueue() {
    while (Head.QueueNext != &Head) delete Head.QueueNext;
    Head.QueueNext = Head.QueuePrev = nullptr;
    TraceLine(TimeString(), Name, "destroyed");
    if (Link) {
        UnregisterQueue(Link);
        ShowQueueCount();
    }
}

void ZorvaQueue::ShowQueueCount() const {
    ShowStatusBarText(2, "Queues: " + std::to_string(QueueCount()));
}

bool ZorvaQueue::IsClaimers() const {
    return zorva::IsClaimers(this);
}

void ZorvaQueue::UpdateLengthStatistics() {
    const double clock = SimTime();
    if (clock != StatisticsStart)
        AvgLength =
            ((clock - LastChange) * Length + (LastChange - StatisticsStart) * AvgLength) / (clock - StatisticsStart);
    LastChange = clock;
}

void ZorvaQueue::RecordLength() {
    if (Link && QueueLengthsRecorded()) LengthTrace.Record(SimTime(), Length);
}

void ZorvaQueue::Add(ZorvaElement& element, TNode* position, const char* operation, const std::string& event) {
    if (Length == MaxMembers)
        FatalError(TimeString() + " Error(" + operation + "): " + element.Name + " cannot enter " + Name +
                   ", which already holds 65535 members");
    UpdateLengthStatistics();
    auto* node = new TNode;
    node->OwnerQueue = this;
    node->QueueElement = &element;
    node->EntryTime = SimTime();
    if (IsClaimers()) element.ClaimFlag = true;
    ++Length;
    node->LinkQueueBefore(position);
    node->LinkMemberBefore(&element.Memberships);
    RecordLength();
    TraceLine(TimeString(), element.Name, event);
    if (Length > MaxLength) MaxLength = Length;
}

void ZorvaQueue::AddToTail(ZorvaElement& element) {
    Add(element, &Head, "AddToTail", "to tail of " + Name);
}

void ZorvaQueue::AddToHead(ZorvaElement& element) {
    Add(element, Head.QueueNext, "AddToHead", "to head of " + Name);
}

void ZorvaQueue::AddSorted(ZorvaElement& element, const SortPredicate& predicate) {
    TNode* position = Head.QueueNext;
    while (position != &Head && !predicate(&element, position->QueueElement)) position = position->QueueNext;
    Add(element, position, "AddSorted", "to sort of " + Name);
}

TNode* ZorvaQueue::FindNode(const ZorvaElement& element) const {
    const TNode* head = &element.Memberships;
    for (TNode* node = head->MemberNext; node != head; node = node->MemberNext)
        if (node->OwnerQueue == this) return node;
    return nullptr;
}

TNode* ZorvaQueue::NodeOfMember(const ZorvaElement& comp, const char* operation, const char* role) const {
    TNode* node = FindNode(comp);
    if (!node) FatalError(TimeString() + " Error(" + operation + "): " + role + " " + comp.Name + " not in " + Name);
    return node;
}

void ZorvaQueue::AddBefore(ZorvaElement& element, ZorvaElement& comp) {
    TNode* position = NodeOfMember(comp, "AddBefore", "BeforeComp");
    Add(element, position, "AddBefore", " put before " + comp.Name + " in " + Name);
}

void ZorvaQueue::AddAfter(ZorvaElement& element, ZorvaElement& comp) {
    TNode* position = NodeOfMember(comp, "AddAfter", "AfterComp")->QueueNext;
    Add(element, position, "AddAfter", " put after " + comp.Name + " in " + Name);
}

void ZorvaQueue::Remove(ZorvaElement& element) {
    TNode* node = FindNode(element);
    if (!node) FatalError(TimeString() + " Error(Remove): " + element.Name + " cannot be removed " + " from " + Name);
    if (IsClaimers()) element.ClaimFlag = false;
    UpdateLengthStatistics();
    const double clock = SimTime();
    const double waited = clock - node->EntryTime;
    AvgWaitingTime = TotalPassed * AvgWaitingTime + waited;
    if (waited < MinWaitingTime) MinWaitingTime = waited;
    if (waited > MaxWaitingTime) MaxWaitingTime = waited;
    ++TotalPassed;
    AvgWaitingTime /= TotalPassed;
    if (clock == node->EntryTime) ++Direct;
    delete node;
    --Length;
    RecordLength();
    TraceLine(TimeString(), element.Name, "out of " + Name);
    if (Length < MinLength) MinLength = Length;
}

ZorvaElement* ZorvaQueue::FirstElement() const {
    return Head.QueueNext->QueueElement;
}

ZorvaElement* ZorvaQueue::LastElement() const {
    return Head.QueuePrev->QueueElement;
}

ZorvaElement* ZorvaQueue::Successor(const ZorvaElement& element) const {
    const TNode* node = FindNode(element);
    if (!node) FatalError(TimeString() + " Error(Successor): " + element.Name + " is not in " + Name);
    return node->QueueNext->QueueElement;
}

ZorvaElement* ZorvaQueue::Predecessor(const ZorvaElement& element) const {
    const TNode* node = FindNode(element);
    if (!node) FatalError(TimeString() + " Error(Predecessor): " + element.Name + " is not in " + Name);
    return node->QueuePrev->QueueElement;
}

bool ZorvaQueue::Contains(const ZorvaElement* element) const {
    return element && FindNode(*element);
}

void ZorvaQueue::ResetStatistics() {
    AvgLength = Length;
    MinLength = Length;
    MaxLength = Length;
    AvgWaitingTime = 0.0;
    MinWaitingTime = NeverTime;
    MaxWaitingTime = 0.0;
    Direct = 0;
    TotalPassed = 0;
    StatisticsStart = SimTime();
}

std::unique_ptr<ZorvaQueue> ZorvaQueue::Copy() const {
    auto copy = std::make_unique<ZorvaQueue>("Copy_" + Name);
    for (const TNode* node = Head.QueueNext; node != &Head; node = node->QueueNext)
        node->QueueElement->EnterQueue(*copy);
    return copy;
}

void ZorvaQueue::Clear() {
    while (ZorvaElement* first = FirstElement()) {
        const std::uint16_t before = Length;
        Remove(*first);
        // A derived Remove that keeps the member would make this loop for ever.
        if (Length >= before)
            FatalError(TimeString() + " Error(Clear): " + first->Name + " was not removed from " + Name);
    }
}

std::unique_ptr<ZorvaQueue> ZorvaQueue::Move() {
    auto copy = Copy();
    Clear();
    return copy;
}

}  // namespace zorva
