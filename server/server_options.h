#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorva::server {

struct ServerOptions {
    std::uint16_t port = 52623;
    std::string bind = "127.0.0.1";
    int models = 2;
    std::optional<double> until;
    // A connection that has not registered by then is closed.
    int registrationTimeoutSeconds = 10;
    bool verbose = false;
    bool help = false;
};

struct ParsedOptions {
    std::optional<ServerOptions> options;
    std::string error;  // one line, set when options is empty
};

// The arguments after the program name; accepts "--port N" and "--port=N".
ParsedOptions parseServerOptions(const std::vector<std::string>& arguments);

std::string serverUsage();

}  // namespace zorva::server
