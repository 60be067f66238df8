#include "queue_model.h"

#include <zorva/kernel/kernel.h>

#include <string>

using namespace zorva;

namespace {

ZorvaQueue* Waiting = nullptr;
// One seed per stream: the same seeds give the same run.
TExponentialDistribution Arrivals(4711, 1.0);
TExponentialDistribution Services(815, 0.8);

// A customer's life: it sends the next customer on its way, queues, waits
// until it is first, is served and leaves. The one at the head of the queue
// is the one being served.
class TCustomer : public ZorvaElement {
public:
    explicit TCustomer(const std::string& name) : ZorvaElement(this, name) {}
    void Process() override {
        (new TCustomer("Customer"))->Start(SimTime() + Arrivals.Sample());
        EnterQueue(*Waiting);
        while (Waiting->FirstElement() != this) Passivate();
        Hold(Services.Sample());
        LeaveQueue(*Waiting);
        CountFigure("customers served");
        if (ZorvaElement* next = Waiting->FirstElement()) next->Resume(SimTime());
        FinishAndDestroy();
    }
};

}  // namespace

void InitQueueModel() {
    Waiting = new ZorvaQueue("Waiting");
    DeclareFigure("customers served");
    (new TCustomer("Customer"))->Start(0.0);
}
