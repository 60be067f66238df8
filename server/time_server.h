#pragma once

#include "model_account.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorva::server {

using ClientId = std::uint64_t;

// Where the time server's decisions go: lines to clients (without CR LF),
// requests to cut a client off, one-line reports for the operator.
class ServerOutput {
public:
    virtual ~ServerOutput() = default;
    virtual void deliver(ClientId client, const std::string& line) = 0;
    virtual void disconnect(ClientId client) = 0;
    virtual void report(const std::string& text) = 0;
    // The run is over and every model has left.
    virtual void finished() = 0;
};

struct TimeServerConfig {
    int models = 2;
    std::optional<double> until;
};

// Registration, routing and conservative time grants for all connected
// models. It knows nothing of sockets: connections are ids, lines are whole
// lines. It never calls back into itself through its output, and every
// output call may cut a client off, so a disconnect arrives later as an
// event of its own.
class TimeServer {
public:
    TimeServer(TimeServerConfig config, ServerOutput& output);

    void connected(ClientId client, std::string_view peer);
    void received(ClientId client, std::string_view line);
    void lineDropped(ClientId client, std::size_t limit);
    void disconnected(ClientId client, std::string_view reason);

    double time() const { return time_; }
    bool ended() const { return ended_; }
    bool hasRegistered(ClientId client) const;
    // A model disconnected before the run had ended.
    bool modelLeftEarly() const { return leftEarly_; }

private:
    struct Client {
        std::string peer;
        double greetingTime = 0;
        std::string name;  // empty until registered
        std::optional<ModelAccount> account;
        bool stopTold = false;
        bool leaving = false;
    };
    struct Question {
        ClientId asker;
        std::string number;
        ClientId answerer;
        bool askedInStep;
    };
    struct Target {
        std::optional<ClientId> id;
        std::string problem;
    };

    void onName(ClientId id, Client& client, std::string_view name);
    void onContinue(ClientId id, Client& client, std::string_view argument);
    void onNewEvent(ClientId id, Client& client, std::string_view argument);
    void onToClient(ClientId id, Client& client, std::string_view argument);
    void onQuestion(ClientId id, Client& client, std::string_view argument);
    void onAnswer(ClientId id, Client& client, std::string_view argument);
    void onCommand(ClientId id, std::string_view command);

    void stopIfBeyondEnd(ClientId id, Client& client);
    void answerAfterEnd(ClientId id, Client& client);
    void advance();
    std::optional<ClientId> nextToRun(double earliest) const;
    void finishAt(double end);
    void stopAll();
    void whenEmpty();

    Target findTarget(std::string_view name) const;
    std::string serverAnswer(std::string_view question) const;
    std::string modelNames() const;
    int registeredCount() const;
    Client* registered(ClientId id);
    void answer(ClientId asker, const std::string& number, bool askedInStep, const std::string& answerer,
                std::string_view text);
    void refuse(ClientId id, Client& client, const std::string& reason);
    bool fitsLine(const std::string& line, ClientId sender, Client& client);

    void send(ClientId id, const std::string& line) { output_.deliver(id, line); }
    // Sends a line to a registered model now, or keeps it while the model is
    // inside a step (see ModelAccount), and records how it will be read.
    void deliver(ClientId id, Client& client, Outgoing line);
    void releaseHeld(ClientId id, Client& client);

    TimeServerConfig config_;
    ServerOutput& output_;
    std::map<ClientId, Client> clients_;
    std::vector<Question> questions_;
    double time_ = 0;
    bool started_ = false;
    bool ended_ = false;
    bool leftEarly_ = false;
};

}  // namespace zorva::server
