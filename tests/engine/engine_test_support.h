#pragma once
// Shared fixture for engine tests: elements whose life is a lambda, a log of
// (name, time) steps, and a scriptable "window" that the run loop calls when
// it processes pending events.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "engine/process_element.h"

namespace zorva::testing {

struct Step {
    std::string Name;
    double Time;
    bool operator==(const Step&) const = default;
};

inline void PrintTo(const Step& s, std::ostream* os) {
    *os << "(" << s.Name << ", " << s.Time << ")";
}

// An element whose process is the given body; when the body returns, the
// process finishes the way a model's process would.
class LambdaElement : public ZorvaProcessElement {
public:
    using Body = std::function<void(LambdaElement&)>;
    LambdaElement(std::string name, Body body)
        : ZorvaProcessElement(std::move(name), SimTime()), body_(std::move(body)) {}
    void Process() override {
        body_(*this);
        FinishProcess();
    }

private:
    Body body_;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngine();
        SetEventProcessor([this] {
            ++eventCalls_;
            if (onEvents_) onEvents_();
        });
        SetDisplayCallback([this] {
            if (onDisplay_) onDisplay_();
        });
    }
    void TearDown() override {
        elements_.clear();
        ResetEngine();
        SetEventProcessor(nullptr);
        SetDisplayCallback(nullptr);
    }

    LambdaElement* Make(const std::string& name, LambdaElement::Body body) {
        elements_.push_back(std::make_unique<LambdaElement>(name, std::move(body)));
        return elements_.back().get();
    }
    LambdaElement* Start(const std::string& name, double at, LambdaElement::Body body) {
        LambdaElement* element = Make(name, std::move(body));
        element->ScheduleProcess(at);
        return element;
    }
    void Note(const std::string& name) { steps_.push_back({name, SimTime()}); }

    std::vector<std::unique_ptr<LambdaElement>> elements_;
    std::vector<Step> steps_;
    std::function<void()> onEvents_;
    std::function<void()> onDisplay_;
    int eventCalls_ = 0;
};

}  // namespace zorva::testing
