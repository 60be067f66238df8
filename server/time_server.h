#pragma once

#include "grant_index.h"
#include "model_account.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorva::server {

// Where the time server's decisions go: lines to clients (without CR LF),
// requests to cut a client off, one-line reports for the operator.
class ServerOutput {
public:
    virtual ~ServerOutput() = default;
    virtual void Deliver(ClientId client, const std::string& line) = 0;
    virtual void Disconnect(ClientId client) = 0;
    virtual void Report(const std::string& text) = 0;
    // The run is over and every model has left.
    virtual void Finished() = 0;
};

struct TimeServerConfig {
    int Models = 2;
    std::optional<double> Until;
};

// Registration, routing and conservative time grants for all connected
// models. It knows nothing of sockets: connections are ids, lines are whole
// lines. It never calls back into itself through its output, and every
// output call may cut a client off, so a disconnect arrives later as an
// event of its own.
class TimeServer {
public:
    TimeServer(TimeServerConfig config, ServerOutput& output);

    void Connected(ClientId client, std::string_view peer);
    void Received(ClientId client, std::string_view line);
    void LineDropped(ClientId client, std::size_t limit);
    void Disconnected(ClientId client, std::string_view reason);

    double Time() const { return time_; }
    bool Ended() const { return ended_; }
    bool HasRegistered(ClientId client) const;
    // A model disconnected before the run had ended.
    bool ModelLeftEarly() const { return leftEarly_; }

private:
    struct Client {
        std::string Peer;
        double GreetingTime = 0;
        std::string Name;  // empty until registered
        std::optional<ModelAccount> Account;
        bool StopTold = false;
        bool Leaving = false;
    };
    struct Question {
        ClientId Asker;
        std::string Number;
        ClientId Answerer;
        bool AskedInStep;
    };
    struct Target {
        std::optional<ClientId> Id;
        std::string Problem;
    };

    void OnName(ClientId id, Client& client, std::string_view name);
    void OnContinue(ClientId id, Client& client, std::string_view argument);
    void OnNewEvent(ClientId id, Client& client, std::string_view argument);
    void OnToClient(ClientId id, Client& client, std::string_view argument);
    void OnQuestion(ClientId id, Client& client, std::string_view argument);
    void OnAnswer(ClientId id, Client& client, std::string_view argument);
    void OnCommand(ClientId id, std::string_view command);
    // The answer to "lookahead L": the same text when the model may run ahead.
    std::string AgreeLookahead(Client& client, std::string_view question);
    void OnAhead(ClientId id, Client& client, std::string_view argument);
    void OnSend(ClientId id, Client& client, std::string_view argument);
    void Relay(ClientId id, Client& client, std::string_view targetName, std::string_view text, double stamp);

    // A line to or from the model may have changed its account: its place in
    // the grant index is brought up to date before the next decision.
    void Touch(ClientId id) {
        if (changed_.empty() || changed_.back() != id) changed_.push_back(id);
    }
    void Reindex();
    void Reindex(ClientId id);
    void CheckIndex() const;

    void StopIfBeyondEnd(ClientId id, Client& client);
    void AnswerAfterEnd(ClientId id, Client& client);
    void Advance();
    void GrantHorizons(double output);
    std::optional<ClientId> NextToRun(double aheadOutput) const;
    void FinishAt(double end);
    void StopAll();
    void WhenEmpty();

    Target FindTarget(std::string_view name) const;
    std::string ServerAnswer(std::string_view question) const;
    std::string ModelNames() const;
    int RegisteredCount() const;
    Client* Registered(ClientId id);
    void Answer(ClientId asker, const std::string& number, bool askedInStep, const std::string& answerer,
                std::string_view text);
    void Refuse(ClientId id, Client& client, const std::string& reason);
    bool FitsLine(const std::string& line, ClientId sender, Client& client);

    void Send(ClientId id, const std::string& line) { output_.Deliver(id, line); }
    // Sends a line to a registered model now, or keeps it while the model is
    // inside a step (see ModelAccount), and records how it will be read.
    void Deliver(ClientId id, Client& client, Outgoing line);
    void ReleaseHeld(ClientId id, Client& client);

    TimeServerConfig config_;
    ServerOutput& output_;
    std::map<ClientId, Client> clients_;
    std::map<std::string, ClientId, std::less<>> byName_;
    GrantIndex index_;
    std::vector<ClientId> changed_;
    std::vector<Question> questions_;
    double time_ = 0;
    bool started_ = false;
    bool ended_ = false;
    bool leftEarly_ = false;
    // Lines after which a model waits for the server's answer ("$$continue:",
    // "$$ahead:", "$$?"), each a round trip; reported when the run is over.
    std::uint64_t requests_ = 0;
};

}  // namespace zorva::server
