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
    void deliver(ClientId client, const std::string& line) override { lines[client].push_back(line); }
    void disconnect(ClientId client) override { cutOff.insert(client); }
    void report(const std::string& text) override { reports.push_back(text); }
    void finished() override { done = true; }

    // Takes everything sent to the client so far.
    std::vector<std::string> take(ClientId client) {
        auto& queue = lines[client];
        std::vector<std::string> result(queue.begin(), queue.end());
        queue.clear();
        return result;
    }

    std::map<ClientId, std::deque<std::string>> lines;
    std::set<ClientId> cutOff;
    std::vector<std::string> reports;
    bool done = false;
};

// A time server with scripted clients: connect() registers under a name
// and swallows the greeting.
struct Room {
    explicit Room(TimeServerConfig config = {}) : server(config, out) {}

    // Registers the names as clients 1, 2, 3 ...
    void join(std::initializer_list<std::string> names) {
        ClientId id = 0;
        for (const std::string& name : names) join(++id, name);
    }
    void join(ClientId id, const std::string& name) {
        server.connected(id, "127.0.0.1:1000" + std::to_string(id));
        out.take(id);
        server.received(id, "$$name:" + name);
    }
    void say(ClientId id, const std::string& line) { server.received(id, line); }
    std::vector<std::string> take(ClientId id) { return out.take(id); }

    FakeOutput out;
    TimeServer server;
};

using Lines = std::vector<std::string>;

}  // namespace zorva::server::testing
