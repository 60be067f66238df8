// Answers every question with "yes"; each parcel that a text announces
// waits on the shelf until the porter, every ten time units, carries the
// shelf's parcels away.
#include <zorva/connection/messaging.h>
#include <zorva/kernel/kernel.h>
#include <zorva/ui/program_startup.h>

#include <string>

using namespace zorva;

namespace {

ZorvaQueue* Shelf = nullptr;

class TParcel : public ZorvaElement {
public:
    explicit TParcel(const std::string& name) : ZorvaElement(this, name) {}
    void Process() override {
        EnterQueue(*Shelf);
        Passivate();  // the porter ends it
    }
};

class TPorter : public ZorvaElement {
public:
    explicit TPorter(const std::string& name) : ZorvaElement(this, name) {}
    void Process() override {
        for (;;) {
            Hold(10.0);
            while (ZorvaElement* parcel = Shelf->FirstElement()) {
                parcel->LeaveQueue(*Shelf);
                parcel->StopAndLeave();
                CountFigure("parcels carried");
            }
        }
    }
};

// [guide:receive]
// A text "NAME!!TIME" from the sender: the parcel arrives at TIME.
void ReceiveParcel(const std::string& message) {
    const auto text = IncomingText(message);
    if (!text) return;  // not a text, such as the server refusing a line
    TMsgString fields(text->Text);
    const std::string name = fields.GetString();
    const double arrival = fields.GetDouble();
    if (name.empty() || fields.ReadError() || arrival < SimTime()) {
        ReportProblem("texts refused", "receiver", "not a parcel: " + text->Text);
        return;
    }
    (new TParcel(name))->Start(arrival);
    CountFigure("parcels received");
}
// [end]

// [guide:answer]
void InitReceiver() {
    SetServerAddress("LocalHost");
    Shelf = new ZorvaQueue("Shelf");
    DeclareFigure("parcels received");
    DeclareFigure("parcels carried");
    (new TPorter("Porter"))->Start(0.0);
    SetQuestionHandler([](TMsgString& /*question*/, const std::string& asker) { SendAnswer(asker, "yes"); });
    SetMessageHandler(ReceiveParcel);
}
// [end]

}  // namespace

int main(int argc, char** argv) {
    return RunZorvaProgram(argc, argv, InitReceiver);
}
