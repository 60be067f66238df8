#include "model_clock.h"

#include <algorithm>

namespace zorva::server {

ModelClock::ModelClock(double greetingTime) : clock_(greetingTime) {}

void ModelClock::ask(double time) {
  std::erase_if(unreported_, [](const Unreported& u) { return u.coveredByContinue; });
  phase_ = Phase::Waiting;
  request_ = time;
}

bool ModelClock::reportEvent(double time) {
  const auto byEvent = std::find_if(unreported_.begin(), unreported_.end(),
                                    [](const Unreported& u) { return !u.coveredByContinue; });
  if (byEvent != unreported_.end()) unreported_.erase(byEvent);
  if (phase_ != Phase::Waiting) return false;
  request_ = time;
  return true;
}

void ModelClock::grant(double time) {
  phase_ = Phase::Running;
  clock_ = time;
  ++step_;
}

void ModelClock::stopped() {
  phase_ = Phase::Running;
  ++step_;
}

void ModelClock::textArrived(double stamp) {
  clock_ = stamp;
  const bool insideQuestion = phase_ == Phase::Running && openQuestions_ > 0;
  unreported_.push_back({stamp, step_, insideQuestion});
}

void ModelClock::questionOpened() {
  ++openQuestions_;
  if (phase_ != Phase::Running) return;
  // The model is inside a step and waits for the answer there: texts that
  // reached it in this step are handled inside that wait.
  for (auto& u : unreported_)
    if (u.step == step_) u.coveredByContinue = true;
}

void ModelClock::questionClosed() {
  if (openQuestions_ > 0) --openQuestions_;
}

double ModelClock::effectiveTime() const {
  double time = (phase_ == Phase::Waiting && openQuestions_ == 0) ? request_ : clock_;
  for (const auto& u : unreported_) time = std::min(time, u.stamp);
  return time;
}

bool ModelClock::settled() const {
  return phase_ == Phase::Waiting && openQuestions_ == 0 && unreported_.empty();
}

bool ModelClock::readyFor(double time) const { return settled() && request_ == time; }

}  // namespace zorva::server
