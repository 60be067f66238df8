#include "test_model.h"

#include <memory>

#include "connection/messaging.h"
#include "kernel/kernel.h"
#include "ui/model_window.h"

namespace zorva::uitest {
namespace {

struct TestModel {
    ZorvaQueue Line{"Line"};
    ZorvaQueue Desk{"Desk"};
    std::vector<std::string> Messages;
};

std::unique_ptr<TestModel>& Model() {
    static std::unique_ptr<TestModel> model;
    return model;
}

class TCustomer : public ZorvaElement {
public:
    TCustomer() : ZorvaElement(this, "Customer") {}
    void Process() override {
        EnterQueue(Model()->Desk);
        LeaveQueue(Model()->Desk);
        EnterQueue(Model()->Line);
        Hold(1.0);
        LeaveQueue(Model()->Line);
        FinishAndDestroy();
    }
};

class TGenerator : public ZorvaElement {
public:
    TGenerator() : ZorvaElement(this, "Generator") {}
    void Process() override {
        for (;;) {
            CountFigure("customers");
            (new TCustomer)->Start(SimTime());
            Hold(2.0);
        }
    }
};

}  // namespace

void InitTestModel() {
    Model() = std::make_unique<TestModel>();
    (new TGenerator)->Start(0.0);
    SetTrace(true);
    SetServerAddress("LocalHost");
    SetMessageHandler([](const std::string& text) { Model()->Messages.push_back(text); });
}

const std::vector<std::string>& ReceivedMessages() {
    return Model()->Messages;
}

void ResetTestModel() {
    Model().reset();
}

}  // namespace zorva::uitest
