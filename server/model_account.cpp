#include "model_account.h"

#include <algorithm>
#include <utility>

namespace zorva::server {

ModelAccount::ModelAccount(double greetingTime) : clock_(greetingTime) {}

Reading ModelAccount::reading() const {
    if (phase_ != Phase::Running) return Reading::Reported;
    return questionsInStep_ > 0 ? Reading::Covered : Reading::Held;
}

void ModelAccount::ask(double time) {
    earliestCovered_ = std::numeric_limits<double>::infinity();
    // Only a process that is no longer inside a question asks for time.
    questionsInStep_ = 0;
    phase_ = Phase::Waiting;
    request_ = time;
}

bool ModelAccount::reportEvent(double time) {
    if (!unreported_.empty()) unreported_.pop_front();
    if (phase_ != Phase::Waiting) return false;
    request_ = time;
    return true;
}

bool ModelAccount::questionAsked() {
    const bool insideStep = phase_ == Phase::Running;
    ++(insideStep ? questionsInStep_ : questionsBetweenSteps_);
    return insideStep;
}

void ModelAccount::questionAnswered(bool insideStep) {
    int& open = insideStep ? questionsInStep_ : questionsBetweenSteps_;
    if (open > 0) --open;
}

void ModelAccount::grant(double time) {
    phase_ = Phase::Running;
    clock_ = std::max(clock_, time);
}

void ModelAccount::stopped() {
    phase_ = Phase::Choosing;
}

void ModelAccount::sent(const Outgoing& line) {
    // The client never sets its clock back, and neither does this record.
    if (line.kind == Outgoing::Kind::Text) clock_ = std::max(clock_, line.stamp);
    if (!line.handedOver()) return;
    if (reading() == Reading::Covered) {
        earliestCovered_ = std::min(earliestCovered_, line.stamp);
    } else {
        unreported_.push_back(line.stamp);
    }
}

void ModelAccount::hold(Outgoing line) {
    held_.push_back(std::move(line));
}

std::vector<Outgoing> ModelAccount::takeHeld() {
    return std::exchange(held_, {});
}

double ModelAccount::effectiveTime() const {
    const bool byRequest = phase_ == Phase::Waiting && questionsBetweenSteps_ == 0;
    double time = std::min(byRequest ? request_ : clock_, earliestCovered_);
    for (double stamp : unreported_) time = std::min(time, stamp);
    for (const Outgoing& line : held_)
        if (line.handedOver()) time = std::min(time, line.stamp);
    return time;
}

bool ModelAccount::settled() const {
    return phase_ == Phase::Waiting && questionsBetweenSteps_ == 0 && questionsInStep_ == 0 && unreported_.empty() &&
           held_.empty();
}

}  // namespace zorva::server
