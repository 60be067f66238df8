#pragma once
// Shared fixture for kernel tests: elements whose life is a lambda, a fresh
// kernel and engine for every test, the trace going to the memo, and a helper
// that turns a fatal message into the exact pattern a death test expects.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kernel/kernel.h"
#include "test_clock.h"
#include "wire/number_text.h"

namespace zorva::testing {

// An element whose process is the given body; when the body returns, the
// element finishes as a model's process would.
class TestElement : public ZorvaElement {
public:
    using Body = std::function<void(TestElement&)>;
    explicit TestElement(std::string_view name, Body body = {}) : ZorvaElement(this, name), body_(std::move(body)) {}
    void Process() override {
        if (body_) body_(*this);
        Finish();
    }

private:
    Body body_;
};

class KernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ResetKernel();
        InitKernel();
        SetTraceOn(true);
    }
    void TearDown() override {
        ResetKernel();
        SetEventProcessor(nullptr);
        SetWarningHandler(nullptr);
    }

    // Owned by the kernel, like every element.
    static TestElement* Make(std::string_view name, TestElement::Body body = {}) {
        return new TestElement(name, std::move(body));
    }
    static void SetClock(double t) { zorva::testing::SetClock(t); }
    static std::vector<std::string> Memo() {
        const auto& lines = TraceMemo().Lines();
        return {lines.begin(), lines.end()};
    }
    void Note(const std::string& what) { steps_.push_back(what + "@" + FormatFixed(SimTime())); }

    std::vector<std::string> steps_;
};

// The whole of stderr must be this one message.
inline std::string Exactly(std::string_view text) {
    std::string pattern = "^";
    for (char c : text) {
        if (std::string_view("\\.^$|()[]*+?{}").find(c) != std::string_view::npos) pattern += '\\';
        pattern += c;
    }
    return pattern + "\n$";
}

}  // namespace zorva::testing
