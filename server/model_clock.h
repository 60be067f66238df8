#pragma once

#include <cstdint>
#include <deque>

namespace zorva::server {

// What the server knows of one model's time. A model either runs (it was
// granted time, or has just registered, and has not asked again) and counts
// with its clock, or waits with a request. A text relayed to it counts at
// its stamp until the model has reported what the text did to its schedule.
class ModelClock {
 public:
  explicit ModelClock(double greetingTime);

  double clock() const { return clock_; }
  bool waiting() const { return phase_ == Phase::Waiting; }
  double request() const { return request_; }

  // "$$continue:" from the model.
  void ask(double time);
  // "$$newevent:" from the model; false when the model was not waiting,
  // so its request did not change.
  bool reportEvent(double time);
  void grant(double time);
  // The server answered the request with "$$stop:": the model chooses again.
  void stopped();
  void textArrived(double stamp);
  void questionOpened();
  void questionClosed();

  // The earliest time this model may still act at.
  double effectiveTime() const;
  // Waiting for exactly this time, with nothing unreported or unanswered.
  bool readyFor(double time) const;
  bool settled() const;

 private:
  enum class Phase { Running, Waiting };

  // How the model will tell that it has handled a text: a text handled
  // between two steps is followed by "$$newevent:"; one handled inside a
  // question during a step is covered by the "$$continue:" after that step.
  struct Unreported {
    double stamp;
    std::uint64_t step;
    bool coveredByContinue;
  };

  Phase phase_ = Phase::Running;
  double clock_;
  double request_ = 0;
  int openQuestions_ = 0;
  // Counts grants and stops, so a question can tell which texts reached the
  // model during its current step.
  std::uint64_t step_ = 0;
  std::deque<Unreported> unreported_;
};

}  // namespace zorva::server
