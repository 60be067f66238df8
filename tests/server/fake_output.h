#pragma once

#include "server/time_server.h"

#include <deque>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zorva::server::testing {

// Records what the time server sends, per client, in order.
class FakeOutput : public ServerOutput {
public:
    void Deliver(ClientId client, const std::string& line) override { Lines[client].push_back(line); }
    void Disconnect(ClientId client) override { CutOff.insert(client); }
    void Report(const std::string& text) override { Reports.push_back(text); }
    void Finished() override { Done = true; }

    // Takes everything sent to the client so far.
    std::vector<std::string> Take(ClientId client) {
        auto& queue = Lines[client];
        std::vector<std::string> result(queue.begin(), queue.end());
        queue.clear();
        return result;
    }

    std::map<ClientId, std::deque<std::string>> Lines;
    std::set<ClientId> CutOff;
    std::vector<std::string> Reports;
    bool Done = false;
};

// A time server with scripted clients: connect() registers under a name
// and swallows the greeting.
struct Room {
    explicit Room(TimeServerConfig config = {}) : Server(config, Out) {}

    // Registers the names as clients 1, 2, 3 ...
    void Join(std::initializer_list<std::string> names) {
        ClientId id = 0;
        for (const std::string& name : names) Join(++id, name);
    }
    void Join(ClientId id, const std::string& name) {
        Server.Connected(id, "127.0.0.1:1000" + std::to_string(id));
        Out.Take(id);
        Server.Received(id, "$$name:" + name);
    }
    void Say(ClientId id, const std::string& line) { Server.Received(id, line); }
    std::vector<std::string> Take(ClientId id) { return Out.Take(id); }

    FakeOutput Out;
    TimeServer Server;
};

using Lines = std::vector<std::string>;

}  // namespace zorva::server::testing
