#include "demo_queue_model.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>

#include "kernel/kernel.h"

namespace zorva::uitest {
namespace {

struct Queues {
    ZorvaQueue Waiting{"Waiting"};
    ZorvaQueue Counter{"Counter"};
};

std::unique_ptr<Queues>& TheQueues() {
    static std::unique_ptr<Queues> queues;
    return queues;
}

class TCustomer : public ZorvaElement {
public:
    TCustomer() : ZorvaElement(this, "Customer") {}
    void Process() override {
        Queues& q = *TheQueues();
        EnterQueue(q.Waiting);
        EnterQueue(q.Counter);
        Hold(2.5);
        LeaveQueue(q.Counter);
        Hold(1.5);
        LeaveQueue(q.Waiting);
        FinishAndDestroy();
    }
};

class TGenerator : public ZorvaElement {
public:
    TGenerator() : ZorvaElement(this, "Generator") {}
    void Process() override {
        for (;;) {
            (new TCustomer)->Start(SimTime());
            Hold(1.25);
        }
    }
};

class TStandStill : public ZorvaElement {
public:
    TStandStill(double t, std::function<void()> action)
        : ZorvaElement(this, "Snapshot"), time_(t), action_(std::move(action)) {}
    void Process() override {
        Hold(time_ - SimTime());
        QTimer::singleShot(1, qApp, action_);
        Passivate();
    }

private:
    double time_;
    std::function<void()> action_;
};

}  // namespace

void BuildDemoQueueModel() {
    TheQueues() = std::make_unique<Queues>();
    (new TGenerator)->Start(0.0);
}

void FreeDemoQueueModel() {
    TheQueues().reset();
}

void AtSimTimeStandStill(double t, std::function<void()> action) {
    (new TStandStill(t, std::move(action)))->Start(0.0);
}

}  // namespace zorva::uitest
