#include "model_account.h"

#include <algorithm>
#include <utility>

namespace zorva::server {

ModelAccount::ModelAccount(double greetingTime) : clock_(greetingTime), reached_(greetingTime) {}

Reading ModelAccount::HowItReads() const {
    if (phase_ != Phase::Running || Ahead()) return Reading::Reported;
    return questionsInStep_ > 0 ? Reading::Covered : Reading::Held;
}

void ModelAccount::Ask(double time) {
    earliestCovered_ = std::numeric_limits<double>::infinity();
    // Only a process that is no longer inside a question asks for time.
    questionsInStep_ = 0;
    phase_ = Phase::Waiting;
    request_ = time;
}

void ModelAccount::DeclareLookahead(double lookahead) {
    lookahead_ = lookahead;
}

void ModelAccount::AskAhead(double time, std::uint64_t handled) {
    while (!unaccounted_.empty() && unaccounted_.front().Number <= handled) unaccounted_.pop_front();
    questionsInStep_ = 0;
    phase_ = Phase::Waiting;
    request_ = time;
}

void ModelAccount::GrantHorizon() {
    phase_ = Phase::Running;
    clock_ = std::max(clock_, request_);
    reached_ = request_;
}

double ModelAccount::OwnBound() const {
    double bound = std::numeric_limits<double>::infinity();
    for (const Counted& line : unaccounted_) bound = std::min(bound, line.Pin);
    return bound;
}

bool ModelAccount::ReportEvent(double time) {
    if (!unaccounted_.empty()) unaccounted_.pop_front();
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
    reached_ = std::max(reached_, time);
}

void ModelAccount::Stopped() {
    phase_ = Phase::Choosing;
}

void ModelAccount::Sent(const Outgoing& line) {
    // The client never sets its clock back, and neither does this record.
    if (line.Kind == Outgoing::Kind::Text) clock_ = std::max(clock_, line.Stamp);
    if (!line.HandedOver()) return;
    const double pin = line.Stamp + line.Delay;
    ++handedOver_;
    if (HowItReads() == Reading::Covered) {
        earliestCovered_ = std::min(earliestCovered_, pin);
    } else {
        unaccounted_.push_back({handedOver_, pin});
    }
}

void ModelAccount::Hold(Outgoing line) {
    held_.push_back(std::move(line));
}

std::vector<Outgoing> ModelAccount::TakeHeld() {
    return std::exchange(held_, {});
}

double ModelAccount::EffectiveTime() const {
    // A lookahead model running ahead acts no earlier than the request the
    // horizon answered; one that waits, at its request; its handlers, at
    // what its uncounted lines create.
    if (Ahead()) return std::min(phase_ == Phase::Choosing ? reached_ : request_, OwnBound());
    const bool byRequest = phase_ == Phase::Waiting && questionsBetweenSteps_ == 0;
    double time = std::min(byRequest ? request_ : reached_, earliestCovered_);
    for (const Counted& line : unaccounted_) time = std::min(time, line.Pin);
    for (const Outgoing& line : held_)
        if (line.HandedOver()) time = std::min(time, line.Stamp);
    return time;
}

bool ModelAccount::Settled() const {
    return phase_ == Phase::Waiting && questionsBetweenSteps_ == 0 && questionsInStep_ == 0 && unaccounted_.empty() &&
           held_.empty();
}

}  // namespace zorva::server
