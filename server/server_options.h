#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wire/protocol.h"

namespace zorva::server {

struct ServerOptions {
    std::uint16_t Port = kDefaultPort;
    std::string Bind = "127.0.0.1";
    int Models = 2;
    std::optional<double> Until;
    // A connection that has not registered by then is closed.
    int RegistrationTimeoutSeconds = 10;
    bool Verbose = false;
    bool Help = false;
    bool Version = false;
};

struct ParsedOptions {
    std::optional<ServerOptions> Options;
    std::string Error;  // one line, set when options is empty
};

// The arguments after the program name; accepts "--port N" and "--port=N".
ParsedOptions ParseServerOptions(const std::vector<std::string>& arguments);

std::string ServerUsage();

}  // namespace zorva::server
