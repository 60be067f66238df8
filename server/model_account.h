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
    // What the model hands to its handlers may create events, so it counts
    // until the model has accounted for it.
    bool HandedOver() const { return Kind != Kind::Answer; }
};

// What the server knows of one model's time: whether it chooses its next
// event, waits with a request or runs a step, and which lines it has been
// sent and not yet accounted for. Every such line keeps the model's time
// at its stamp, since handling it may create an event there.
class ModelAccount {
public:
    explicit ModelAccount(double greetingTime);

    double Clock() const { return clock_; }
    double Request() const { return request_; }
    bool Waiting() const { return phase_ == Phase::Waiting; }
    bool Running() const { return phase_ == Phase::Running; }
    Reading HowItReads() const;

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
    // Waiting, with nothing unaccounted for and no question open.
    bool Settled() const;

private:
    enum class Phase { Choosing, Waiting, Running };

    Phase phase_ = Phase::Choosing;
    double clock_;
    double request_ = 0;
    int questionsInStep_ = 0;
    int questionsBetweenSteps_ = 0;
    std::deque<double> unreported_;
    double earliestCovered_ = std::numeric_limits<double>::infinity();
    std::vector<Outgoing> held_;
};

}  // namespace zorva::server
