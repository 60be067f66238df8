#include "model_account.h"

#include <algorithm>
#include <utility>

namespace zorva::server {

ModelAccount::ModelAccount(double greetingTime) : clock_(greetingTime) {}

Reading ModelAccount::HowItReads() const {
    if (phase_ != Phase::Running) return Reading::Reported;
    return questionsInStep_ > 0 ? Reading::Covered : Reading::Held;
}

void ModelAccount::Ask(double time) {
    earliestCovered_ = std::numeric_limits<double>::infinity();
    // Only a process that is no longer inside a question asks for time.
    questionsInStep_ = 0;
    phase_ = Phase::Waiting;
    request_ = time;
}

bool ModelAccount::ReportEvent(double time) {
    if (!unreported_.empty()) unreported_.pop_front();
    if (phase_ != Phase::Waiting) return false;
    request_ = time;
    return true;
}

bool ModelAccount::QuestionAsked() {
    const bool insideStep = phase_ == Phase::Running;
    ++(insideStep ? questionsInStep_ : questionsBetweenSteps_);
    return insideStep;
}

void ModelAccount::QuestionAnswered(bool insideStep) {
    int& open = insideStep ? questionsInStep_ : questionsBetweenSteps_;
    if (open > 0) --open;
}

void ModelAccount::Grant(double time) {
    phase_ = Phase::Running;
    clock_ = std::max(clock_, time);
}

void ModelAccount::Stopped() {
    phase_ = Phase::Choosing;
}

void ModelAccount::Sent(const Outgoing& line) {
    // The client never sets its clock back, and neither does this record.
    if (line.Kind == Outgoing::Kind::Text) clock_ = std::max(clock_, line.Stamp);
    if (!line.HandedOver()) return;
    if (HowItReads() == Reading::Covered) {
        earliestCovered_ = std::min(earliestCovered_, line.Stamp);
    } else {
        unreported_.push_back(line.Stamp);
    }
}

void ModelAccount::Hold(Outgoing line) {
    held_.push_back(std::move(line));
}

std::vector<Outgoing> ModelAccount::TakeHeld() {
    return std::exchange(held_, {});
}

double ModelAccount::EffectiveTime() const {
    const bool byRequest = phase_ == Phase::Waiting && questionsBetweenSteps_ == 0;
    double time = std::min(byRequest ? request_ : clock_, earliestCovered_);
    for (double stamp : unreported_) time = std::min(time, stamp);
    for (const Outgoing& line : held_)
        if (line.HandedOver()) time = std::min(time, line.Stamp);
    return time;
}

bool ModelAccount::Settled() const {
    return phase_ == Phase::Waiting && questionsBetweenSteps_ == 0 && questionsInStep_ == 0 && unreported_.empty() &&
           held_.empty();
}

}  // namespace zorva::server
