#pragma once

#include <cstdint>
#include <deque>
#include <limits>
#include <string>
#include <vector>

namespace zorva::server {

// How a model will read a line sent to it now. A model reads its socket
// only while it waits: for a grant or, at the start of a scheduler pass,
// before its request (it reports every line it hands to its handlers with
// one "$$newevent:"), or inside a question it asked during a step (no
// report: the "$$continue:" after the step covers what it read there).
enum class Reading {
    Reported,
    Covered,
    // The model is inside a step and will read the line either inside a
    // question or at its next pass: nobody can tell which, so the line waits
    // until the model's next line says where the model is.
    Held,
};

// A line for a model and the time of the event that sent it.
struct Outgoing {
    enum class Kind {
        // "$$from:": handed to the model's handlers, and its stamp becomes
        // the model's clock.
        Text,
        // A question, "$$unknown:", "$$time:", "$$clients:": handed to the
        // model's handlers at its own clock.
        HandedOver,
        // An answer to the model's own question: taken, not handled.
        Answer,
    };
    std::string Line;
    double Stamp;
    Kind Kind;
    // The sender's lookahead: what it sends at Stamp creates no event before
    // Stamp + Delay (0 for a model without lookahead).
    double Delay = 0;
    // What the model hands to its handlers may create events, so it counts
    // until the model has accounted for it.
    bool HandedOver() const { return Kind != Kind::Answer; }
};

// What the server knows of one model's time: whether it chooses its next
// event, waits with a request or runs a step, and which lines it has been
// sent and not yet accounted for. Every such line keeps the model's time
// at the earliest event it may create: its stamp, plus the sender's
// lookahead.
//
// A model that declared a lookahead L promises that nothing it sends at
// time t creates an event anywhere before t + L. It runs every event before
// the horizon it was granted without asking, reads whenever it likes, and
// accounts for the lines it was sent by their number in its requests
// instead of by reports.
class ModelAccount {
public:
    explicit ModelAccount(double greetingTime);

    double Clock() const { return clock_; }
    // The earliest time at which the model may be sending now: its clock,
    // or for one running ahead (which may have asked again for an earlier
    // event that a text created), its effective time.
    double SendingTime() const { return Ahead() ? EffectiveTime() : clock_; }
    double Request() const { return request_; }
    bool Waiting() const { return phase_ == Phase::Waiting; }
    bool Running() const { return phase_ == Phase::Running; }
    Reading HowItReads() const;

    // From now on the model counts what it handled instead of reporting it;
    // the count runs from its registration.
    void DeclareLookahead(double lookahead);
    // 0 for a model that runs one granted event at a time.
    double Lookahead() const { return lookahead_; }
    bool Ahead() const { return lookahead_ > 0; }
    // "$$ahead:T!!N": waits for a horizon beyond T, having handled the
    // first N lines handed over to it.
    void AskAhead(double time, std::uint64_t handled);
    // Every event before the horizon may run; the model counts at its request.
    void GrantHorizon();
    // The earliest event that lines not yet accounted for may create.
    double OwnBound() const;

    // Lines from the model.
    // "$$continue:": what it read inside questions is covered.
    void Ask(double time);
    // "$$newevent:" answers the oldest line still to be reported; false when
    // the model was not waiting, so its request did not change.
    bool ReportEvent(double time);
    // "$$?": true when asked inside a step.
    bool QuestionAsked();
    void QuestionAnswered(bool insideStep);

    // Decisions of the server.
    void Grant(double time);
    // The server answered the request with "$$stop:": the model chooses again.
    void Stopped();
    // A line sent now, read as reading() said.
    void Sent(const Outgoing& line);
    void Hold(Outgoing line);
    // The lines held while the model ran its step, once it no longer does.
    std::vector<Outgoing> TakeHeld();

    // The earliest time this model may still act at.
    double EffectiveTime() const;
    // The earliest time at which something this model sends may create an
    // event elsewhere.
    double OutputTime() const { return EffectiveTime() + lookahead_; }
    // Waiting, with nothing unaccounted for and no question open.
    bool Settled() const;

private:
    enum class Phase { Choosing, Waiting, Running };

    struct Counted {
        std::uint64_t Number;
        double Pin;
    };

    Phase phase_ = Phase::Choosing;
    // The record of the model's clock, which texts' stamps move too; and
    // the time it is known to have reached, from grants alone: a stamp does
    // not prove that the model has passed its own earlier events.
    double clock_;
    double reached_;
    double request_ = 0;
    double lookahead_ = 0;
    int questionsInStep_ = 0;
    int questionsBetweenSteps_ = 0;
    // Lines handed over, numbered from the model's registration; still to
    // be reported (without lookahead) or counted in a request (with).
    std::uint64_t handedOver_ = 0;
    std::deque<Counted> unaccounted_;
    double earliestCovered_ = std::numeric_limits<double>::infinity();
    std::vector<Outgoing> held_;
};

}  // namespace zorva::server
