// Three customers and a clerk, each written as the plain sequential story of
// its life; the engine interleaves them on one thread in simulated time.

#include <cstdio>
#include <deque>
#include <string>

#include "engine/engine.h"
#include "engine/process_element.h"
#include "wire/number_text.h"

using namespace zorva;

namespace {

void Say(const ZorvaProcessElement& who, const std::string& what) {
    std::printf("%s  %-10s %s\n", FormatFixedRight(SimTime(), 8).c_str(), who.Name.c_str(), what.c_str());
}

class Clerk;
std::deque<ZorvaProcessElement*> waitingLine;
Clerk* theClerk = nullptr;

class Clerk : public ZorvaProcessElement {
public:
    Clerk() : ZorvaProcessElement("Clerk", SimTime()) {}
    void Process() override {
        for (;;) {
            while (waitingLine.empty()) {
                Say(*this, "waits for a customer");
                Status = esPassive;
                PassivateProcess();
            }
            ZorvaProcessElement* customer = waitingLine.front();
            waitingLine.pop_front();
            Say(*this, "serves " + customer->Name);
            HoldProcess(3.0);
            Say(*this, "is done with " + customer->Name);
            customer->ScheduleProcess(SimTime());
        }
    }
};

class Customer : public ZorvaProcessElement {
public:
    Customer(std::string name, double patience)
        : ZorvaProcessElement(std::move(name), SimTime()), patience_(patience) {}
    void Process() override {
        Say(*this, "arrives and queues");
        waitingLine.push_back(this);
        if (theClerk->Status == esPassive) theClerk->ScheduleProcess(SimTime());
        Status = esPassive;
        PassivateProcess();
        Say(*this, "walks home for " + FormatFixed(patience_) + " time units");
        HoldProcess(patience_);
        Say(*this, "is home");
        FinishProcess();
    }

private:
    double patience_;
};

}  // namespace

int main() {
    Clerk clerk;
    theClerk = &clerk;
    Customer ann("Ann", 4.0), bob("Bob", 1.5), cyd("Cyd", 2.0);
    clerk.ScheduleProcess(0.0);
    ann.ScheduleProcess(1.0);
    bob.ScheduleProcess(1.0);
    cyd.ScheduleProcess(2.5);
    RunSimulation();
    std::printf("run ended; %zu customers still in line\n", waitingLine.size());
    ResetEngine();
    return 0;
}
