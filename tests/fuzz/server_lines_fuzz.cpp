// Feeds arbitrary bytes to the time server as the lines of several clients,
// with connects and disconnects in between. The server must never crash,
// never address a client it does not know, and never grant a model a time
// before its own clock.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "server/time_server.h"

namespace {

using zorva::server::ClientId;

class CheckingOutput : public zorva::server::ServerOutput {
public:
    std::set<ClientId> connected;
    void Deliver(ClientId client, const std::string& line) override {
        if (!connected.count(client)) __builtin_trap();
        if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos) __builtin_trap();
    }
    void Disconnect(ClientId) override {}
    void Report(const std::string&) override {}
    void Finished() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckingOutput out;
    zorva::server::TimeServerConfig config;
    if (size > 0 && (data[0] & 1)) config.Until = 50.0;
    zorva::server::TimeServer server(config, out);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // Each line: first byte picks the client (and sometimes connects or
    // disconnects it); the rest up to '\n' is what the client says.
    while (!input.empty()) {
        const auto end = input.find('\n');
        std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        if (line.empty()) continue;
        const auto selector = static_cast<unsigned char>(line[0]);
        const ClientId client = selector % 4;
        line.remove_prefix(1);
        if (selector >= 0xF0) {
            if (out.connected.erase(client)) server.Disconnected(client, "fuzz");
            continue;
        }
        if (!out.connected.count(client)) {
            out.connected.insert(client);
            server.Connected(client, "127.0.0.1:1");
        }
        server.Received(client, line);
    }
    for (ClientId client : std::set<ClientId>(out.connected)) {
        out.connected.erase(client);
        server.Disconnected(client, "end");
    }
    return 0;
}
