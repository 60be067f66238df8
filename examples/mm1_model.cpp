// A single-server queue: customers arrive at random, wait in one queue and
// are served one at a time. Each element's life is plain sequential code.

#include <cstdio>

#include <zorva/kernel/kernel.h>
#include <zorva/wire/number_text.h>

using namespace zorva;

namespace {

ZorvaQueue* Waiting = nullptr;
ZorvaElement* Server = nullptr;
// [guide:streams]
// Each stream has its own seed: the same seeds give the same run, and a
// change to one stream leaves the other's draws alone.
TExponentialDistribution Arrivals(12345, 1.0);  // mean time between arrivals
TExponentialDistribution Services(67890, 0.8);  // mean service time
// [end]

// [guide:elements]
class TCustomer : public ZorvaElement {
public:
    explicit TCustomer(const std::string& name) : ZorvaElement(this, name) {}
    void Process() override {
        EnterQueue(*Waiting);
        if (Server->Status == esPassive) Server->Resume(SimTime());
        Passivate();  // the server ends this customer after its service
    }
};

class TServer : public ZorvaElement {
public:
    explicit TServer(const std::string& name) : ZorvaElement(this, name) {}
    void Process() override {
        for (;;) {
            while (!Waiting->FirstElement()) Passivate();
            ZorvaElement* customer = Waiting->FirstElement();
            customer->LeaveQueue(*Waiting);
            Hold(Services.Sample());
            customer->StopAndLeave();
        }
    }
};

class TGenerator : public ZorvaElement {
public:
    explicit TGenerator(const std::string& name) : ZorvaElement(this, name) {}
    void Process() override {
        for (;;) {
            (new TCustomer("Customer"))->Start(SimTime());
            Hold(Arrivals.Sample());
        }
    }
};
// [end]

void Print(const char* label, double value) {
    std::printf("%-18s %10s\n", label, FormatFixed(value).c_str());
}
void Print(const char* label, long long count) {
    std::printf("%-18s %7lld\n", label, count);
}

}  // namespace

// [guide:statistics]
int main() {
    InitKernel();
    Waiting = new ZorvaQueue("Waiting");
    Server = new TServer("Server");
    Server->Start(0.0);
    (new TGenerator("Generator"))->Start(0.0);
    SetStopTime(1000.0);
    RunSimulation();

    std::printf("Queue %s after %s time units\n", Waiting->Name.c_str(), FormatFixed(SimTime()).c_str());
    Print("Avg. length", Waiting->AvgLength);
    Print("Max. length", static_cast<long long>(Waiting->MaxLength));
    Print("Avg. waiting time", Waiting->AvgWaitingTime);
    Print("Max. waiting time", Waiting->MaxWaitingTime);
    Print("Passed", static_cast<long long>(Waiting->TotalPassed));
    Print("Direct", static_cast<long long>(Waiting->Direct));
    // [end]
    ResetKernel();
    delete Waiting;
    return 0;
}
