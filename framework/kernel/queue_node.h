#pragma once
/// \file
/// One membership of an element in a queue. A node sits in two rings at once:
/// its queue's ring and its element's ring of memberships, so an element can
/// find its own memberships without walking any queue.

namespace zorva {

class ZorvaElement;
class ZorvaQueue;

struct TNode {
    TNode() = default;
    TNode(const TNode&) = delete;
    TNode& operator=(const TNode&) = delete;
    /// Leaves every ring it is linked into, so freeing a membership removes it
    /// from its queue and from its element in one step.
    ~TNode() {
        if (QueuePrev) {
            QueuePrev->QueueNext = QueueNext;
            QueueNext->QueuePrev = QueuePrev;
        }
        if (MemberPrev) {
            MemberPrev->MemberNext = MemberNext;
            MemberNext->MemberPrev = MemberPrev;
        }
    }

    /// A ring of this node alone: a queue's head.
    void MakeQueueHead() { QueueNext = QueuePrev = this; }
    /// A ring of this node alone: an element's head of memberships.
    void MakeMemberHead() { MemberNext = MemberPrev = this; }

    void LinkQueueBefore(TNode* position) {
        QueueNext = position;
        QueuePrev = position->QueuePrev;
        QueuePrev->QueueNext = this;
        position->QueuePrev = this;
    }
    void LinkMemberBefore(TNode* position) {
        MemberNext = position;
        MemberPrev = position->MemberPrev;
        MemberPrev->MemberNext = this;
        position->MemberPrev = this;
    }

    ZorvaElement* QueueElement = nullptr;  // nil in a queue's head
    ZorvaQueue* OwnerQueue = nullptr;      // nil in an element's head
    double EntryTime = -1.0;
    TNode* QueueNext = nullptr;
    TNode* QueuePrev = nullptr;
    TNode* MemberNext = nullptr;
    TNode* MemberPrev = nullptr;
};

}  // namespace zorva
