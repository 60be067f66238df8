// Every few time units a clerk asks the receiver whether it may send a
// parcel and sends it when the answer is "yes".
#include <zorva/connection/messaging.h>
#include <zorva/kernel/kernel.h>
#include <zorva/ui/program_startup.h>
#include <zorva/wire/number_text.h>
#include <zorva/wire/protocol.h>

#include <string>

using namespace zorva;

namespace {

// A parcel reaches the receiver this long after the text that sends it.
constexpr double TransitTime = 1.0;
TUniformDistribution Intervals(1234, 4.0, 6.0);

class TClerk : public ZorvaElement {
public:
    explicit TClerk(const std::string& name) : ZorvaElement(this, name) {}
    void Process() override {
        for (int parcel = 1;; ++parcel) {
            Hold(Intervals.Sample());
            // [guide:ask]
            // The clerk waits for the answer; the clock does not move meanwhile.
            std::string answer = "May I send a parcel?";
            AskModel("receiver", answer);
            if (answer != "yes") {
                ReportProblem("parcels refused", Name, answer.empty() ? "no answer" : answer);
                continue;
            }
            // [end]
            // [guide:send]
            // The text says when the parcel arrives: its name and the time.
            SendToModel("receiver",
                        JoinFields({"Parcel" + std::to_string(parcel), FormatFixed(SimTime() + TransitTime)}));
            CountFigure("parcels sent");
            // [end]
        }
    }
};

// [guide:lookahead]
void InitSender() {
    SetServerAddress("LocalHost");
    // What the sender says at time t makes nothing happen at the receiver
    // before t + TransitTime, so the server lets it run that far ahead.
    SetLookahead(TransitTime);
    DeclareFigure("parcels sent");
    (new TClerk("Clerk"))->Start(0.0);
}
// [end]

}  // namespace

int main(int argc, char** argv) {
    return RunZorvaProgram(argc, argv, InitSender);
}
